// Showing and sorting a large folder in the main window, offscreen, against the same rows in a QTreeWidget and
// against sort -f over the folder's names, all in one run so every figure sees the same machine load.
//   quillon-view-bench CATALOG_DIR [--runs N]
// CATALOG_DIR holds one volume whose files lie in its top folder. The window starts in a temporary folder on
// CATALOG_DIR with the default settings (details style, name order, auto resize on); each run then, in every
// view style, shows the volume after the root (fill, sort, the column resize, to the end of the list's first
// paint; a batched layout of the icon styles goes on after it), fills a QTreeWidget with the same texts and
// pictures (made beforehand, and made during the fill), sorts the shown volume by a header click on Size,
// Modified and Name in turn (repaint included), and runs sort -f over a file of the names. Medians of the runs
// are printed in milliseconds with their ratios to the baselines.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "catalog.h"
#include "contentsmodel.h"
#include "freedmemory.h"
#include "imagelists.h"
#include "itemlistview.h"
#include "listviewcompare.h"
#include "mainwindow.h"
#include "recordingmessageboxes.h"

using namespace quillon;
using quillon::bench::median;

namespace {

// Notes when a widget's first paint is over. A batched layout goes on in timer events after the first paint,
// and processEvents may run those before it returns; they are not part of showing the list.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock) : m_clock(clock) {}
    bool seen = false;
    double doneAt = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || seen || m_painting) return false;
        // The paint is done here, inside the paint the widget is in, so that its end can be timed.
        m_painting = true;
        QCoreApplication::sendEvent(watched, event);
        m_painting = false;
        seen = true;
        doneAt = double(m_clock.nsecsElapsed()) / 1e6;
        return true;
    }

private:
    const QElapsedTimer& m_clock;
    bool m_painting = false;
};

// Runs the event loop until the widget has been painted; returns the milliseconds on clock when the first
// paint was over, or -1 if none came.
double waitPainted(QWidget* widget, const QElapsedTimer& clock) {
    FirstPaint filter(clock);
    widget->installEventFilter(&filter);
    QElapsedTimer limit;
    limit.start();
    while (!filter.seen && limit.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    widget->removeEventFilter(&filter);
    return filter.seen ? filter.doneAt : -1;
}

// Lets queued work (batched layouts, deferred deletes) finish outside the timed parts.
void settle() {
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

double msSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Baseline {
    std::vector<std::array<QString, ContentsModel::ColumnCount>> texts;
    std::vector<int> images;
};

Baseline rowsAsShown(const ContentsModel& model) {
    Baseline rows;
    rows.texts.reserve(model.rows().size());
    for (const ContentsRow& row : model.rows()) {
        std::array<QString, ContentsModel::ColumnCount> texts;
        for (int c = 0; c < ContentsModel::ColumnCount; ++c) texts[std::size_t(c)] = model.text(row, c);
        rows.texts.push_back(std::move(texts));
        rows.images.push_back(row.image);
    }
    return rows;
}

// Fills a shown QTreeWidget with the rows; returns the fill time and, through painted, fill and first paint.
// With a model the texts are made during the fill from the records, as a list of items would have to.
double fillTreeWidget(const Baseline& rows, const ContentsModel* model, QSize size, double& painted) {
    QTreeWidget widget;
    widget.setColumnCount(ContentsModel::ColumnCount);
    widget.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Modified"),
                            QStringLiteral("Media Info")});
    widget.setRootIsDecorated(false);
    widget.setUniformRowHeights(true);
    widget.resize(size);
    widget.show();
    QElapsedTimer timer;
    timer.start();
    waitPainted(widget.viewport(), timer);
    std::array<QIcon, 6> icons;
    for (int i = 0; i < 6; ++i) icons[std::size_t(i)] = catalogImage(i);

    timer.start();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(rows.texts.size()));
    for (std::size_t r = 0; r < rows.texts.size(); ++r) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < ContentsModel::ColumnCount; ++c)
            item->setText(c, model ? model->text(model->rows()[r], c) : rows.texts[r][std::size_t(c)]);
        item->setIcon(0, icons[std::size_t(rows.images[r])]);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    widget.addTopLevelItems(items);
    const double fill = msSince(timer);
    painted = waitPainted(widget.viewport(), timer);
    widget.hide();
    return fill;
}

double sortNames(const QString& namesFile) {
    QProcess sort;
    sort.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    sort.start(QStringLiteral("sort"), {QStringLiteral("-f"), namesFile});
    sort.waitForFinished(-1);
    return msSince(timer);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // As quillon itself starts.
    quillon::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: quillon-view-bench CATALOG_DIR [--runs N]\n");
        return 2;
    }
    const QString catalogs = QDir(args.at(1)).absolutePath() + u'/';
    const qsizetype runsAt = args.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt > 0 && runsAt + 1 < args.size() ? args.at(runsAt + 1).toInt() : 5;

    const bench::WindowHome home(catalogs);
    if (!home.ok()) return 1;
    RecordingMessageBoxes boxes;
    FormServices services;
    services.boxes = &boxes;
    TQuillonForm window(services);
    window.show();
    QElapsedTimer started;
    started.start();
    waitPainted(&window, started);
    if (window.catalog().volumeCount() != 1) {
        std::fprintf(stderr, "%s should hold exactly one catalog\n", qPrintable(catalogs));
        return 1;
    }
    const CatalogNode* root = &window.catalog().root();
    const CatalogNode* volume = root->children().front().get();
    auto* list = window.findChild<ItemListView*>(QStringLiteral("ListView"));
    ContentsModel& model = *window.contentsModel();

    window.selectNode(volume);
    settle();
    const std::size_t rowCount = model.rows().size();
    const Baseline baselineRows = rowsAsShown(model);
    const QString namesFile = home.filePath(QStringLiteral("names.txt"));
    {
        QFile names(namesFile);
        if (!names.open(QIODevice::WriteOnly)) return 1;
        std::string text;
        for (const ContentsRow& row : model.rows()) {
            text += row.name();
            text += '\n';
        }
        names.write(text.data(), qint64(text.size()));
    }
    const QSize listSize = list->size();

    const char* const styleNames[] = {"large icons", "small icons", "list", "details"};
    void (TQuillonForm::*const styleClicks[])() = {&TQuillonForm::LIconsClick, &TQuillonForm::SIconsClick,
                                                   &TQuillonForm::VListClick, &TQuillonForm::VDetailsClick};
    std::map<std::string, std::vector<double>> times;
    for (int run = 0; run < runs; ++run) {
        for (int style = 0; style < 4; ++style) {
            (window.*styleClicks[style])();
            window.selectNode(root);
            settle();
            QWidget* viewport = list->currentView()->viewport();
            QElapsedTimer timer;
            timer.start();
            window.selectNode(volume);
            times[std::string("show ") + styleNames[style]].push_back(waitPainted(viewport, timer));
            settle();
        }
        double painted = 0;
        times["QTreeWidget fill"].push_back(fillTreeWidget(baselineRows, nullptr, listSize, painted));
        times["QTreeWidget fill+paint"].push_back(painted);
        settle();
        times["QTreeWidget fill, texts made"].push_back(fillTreeWidget(baselineRows, &model, listSize, painted));
        settle();

        // The details style, in name order as shown; each click sorts from the order the one before left.
        QWidget* viewport = list->currentView()->viewport();
        const std::pair<const char*, int> clicks[] = {{"sort by size", 1}, {"sort by date", 2}, {"sort by name", 0}};
        for (const auto& [name, column] : clicks) {
            // The sort alone first, from the same order and to the same order as the click.
            std::vector<ContentsRow> rows = model.rows();
            QElapsedTimer sortTimer;
            sortTimer.start();
            sortRows(rows, SortState{column, 1});
            times[std::string(name) + " (sortRows only)"].push_back(msSince(sortTimer));
            rows = {};

            QElapsedTimer timer;
            timer.start();
            window.ListViewColumnClick(list, column);
            times[name].push_back(waitPainted(viewport, timer));
            settle();
        }
        times["sort -f names"].push_back(sortNames(namesFile));
    }

    std::printf("%zu rows, %d runs; medians in ms\n", rowCount, runs);
    const double fill = median(times["QTreeWidget fill"]);
    const double sortF = median(times["sort -f names"]);
    for (const auto& [name, values] : times) std::printf("  %-34s %9.1f\n", name.c_str(), median(values));
    const double fillMade = median(times["QTreeWidget fill, texts made"]);
    // Filling a QTreeWidget with the rows makes every row's texts from its record; the list shows them without
    // making more texts than it paints. The fill of texts made beforehand leaves that work out.
    std::printf("showing the folder / filling a QTreeWidget with the same rows (goal <= 0.15): the fill making\n"
                "the rows' texts, and the fill of texts made beforehand:\n");
    for (const char* style : styleNames) {
        const double shown = median(times[std::string("show ") + style]);
        std::printf("  %-12s %.3f  %.3f\n", style, shown / fillMade, shown / fill);
    }
    std::printf("sorting / sort -f (goal <= 0.25 by size and date, <= 1.0 by name):\n");
    for (const char* name : {"sort by size", "sort by date", "sort by name"})
        std::printf("  %-12s %.3f  (sortRows only %.3f)\n", name, median(times[name]) / sortF,
                    median(times[std::string(name) + " (sortRows only)"]) / sortF);
    return 0;
}
