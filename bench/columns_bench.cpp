// Sizing the columns of a large folder's details list to their widest texts, as the automatic resize does.
//   quillon-columns-bench CATALOG_DIR [--runs N]
// CATALOG_DIR holds one volume whose files lie in its top folder. Times, as medians in milliseconds, the
// model's advance sums of every column and the whole resize (sums, picking and measuring the widest texts),
// over the rows in the order the catalog holds them and in name order.
#include <QApplication>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

#include "benchsupport.h"
#include "catalog.h"
#include "contentsmodel.h"
#include "contentsrows.h"
#include "freedmemory.h"
#include "itemlistview.h"
#include "listviewcompare.h"
#include "textadvances.h"

using namespace quillon;
using quillon::bench::median;

namespace {

template <class Work>
double timed(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // As quillon itself starts.
    keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    Catalog catalog;
    int runs = 0;
    if (!quillon::bench::loadOneVolume(argc, argv, catalog, runs, 9)) return 2;
    const std::vector<ContentsRow> held = contentsRows(catalog, *catalog.root().children().front());
    std::vector<ContentsRow> byName = held;
    sortRows(byName, SortState{0, 1});
    std::printf("%zu rows, %d runs; medians in ms\n", held.size(), runs);

    ContentsModel model;
    ItemListView view;
    view.setModel(&model);
    const QFontMetricsF metrics(view.detailsView()->font());
    for (const auto& [order, rows] : {std::pair{"as held", &held}, std::pair{"by name", &std::as_const(byName)}}) {
        model.setRows(*rows);
        std::vector<double> sums;
        std::vector<double> resizes;
        for (int run = 0; run < runs; ++run) {
            TextAdvances advances([&](char16_t unit) { return float(metrics.horizontalAdvance(QChar(unit))); });
            std::vector<std::vector<double>> columns;
            sums.push_back(timed([&] { model.columnAdvances(advances, columns); }));
            resizes.push_back(timed([&] { view.adjustColumns(); }));
        }
        std::printf("  rows %-8s advance sums %6.2f (fastest %.2f)   whole resize %6.2f (fastest %.2f)\n", order,
                    median(sums), *std::min_element(sums.begin(), sums.end()), median(resizes),
                    *std::min_element(resizes.begin(), resizes.end()));
    }
    return 0;
}
