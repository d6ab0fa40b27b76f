// Sorting the rows of a large folder as the contents list does, by each column in both directions.
//   quillon-rowsort-bench CATALOG_DIR [--runs N]
// CATALOG_DIR holds one volume whose files lie in its top folder; medians in milliseconds.
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "benchsupport.h"
#include "catalog.h"
#include "contentsrows.h"
#include "freedmemory.h"
#include "listviewcompare.h"

using namespace quillon;
using quillon::bench::median;

int main(int argc, char** argv) {
    // As quillon itself starts.
    keepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    Catalog catalog;
    int runs = 0;
    if (!quillon::bench::loadOneVolume(argc, argv, catalog, runs, 9)) return 2;
    const std::vector<ContentsRow> shown = contentsRows(catalog, *catalog.root().children().front());
    std::printf("%zu rows, %d runs; medians in ms\n", shown.size(), runs);
    // Rows as the folder holds them, and as a header click finds them after a sort by date.
    std::vector<ContentsRow> byDate = shown;
    sortRows(byDate, SortState{2, 1});
    const char* const names[] = {"name", "size", "modified", "media info", "name"};
    for (int column = 0; column < 5; ++column) {
        for (const int direction : {1, -1}) {
            std::vector<double> times;
            for (int run = 0; run < runs; ++run) {
                std::vector<ContentsRow> rows = column < 4 ? shown : byDate;
                const auto start = std::chrono::steady_clock::now();
                sortRows(rows, SortState{column % 4, direction});
                times.push_back(
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            }
            std::printf("  by %-10s %-10s %-16s %7.2f  (fastest %.2f)\n", names[column],
                        direction > 0 ? "ascending" : "descending", column < 4 ? "" : "from date order",
                        median(times),
                        *std::min_element(times.begin(), times.end()));
        }
    }
    return 0;
}
