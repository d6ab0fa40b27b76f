// Times a search run from the main window, offscreen, against the search engine's own run of the same query
// over the same loaded catalogs.
//   quillon-searchwindow-bench CATALOG_DIR [--runs N]
// The window's time is Search Now from click to the sorted, counted list: the walk, the rows arriving in the
// results list in batches, the event processing between them and the one sort at the end. The engine's time
// is SearchRun collecting the hits into a vector, and separately the sort of those hits. Medians of the runs
// in milliseconds.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "benchsupport.h"
#include "freedmemory.h"
#include "listviewcompare.h"
#include "mainwindow.h"
#include "recordingmessageboxes.h"
#include "searchengine.h"
#include "searchpane.h"
#include "searchresultsmodel.h"
#include "searchrun.h"

using namespace quillon;
using quillon::bench::median;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // As quillon itself starts.
    quillon::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: quillon-searchwindow-bench CATALOG_DIR [--runs N]\n");
        return 2;
    }
    const QString catalogs = QDir(args.at(1)).absolutePath() + u'/';
    const qsizetype runsAt = args.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt > 0 && runsAt + 1 < args.size() ? args.at(runsAt + 1).toInt() : 5;

    // The window reads its catalog folder from "./quillon.ini".
    const bench::WindowHome home(catalogs);
    if (!home.ok()) return 1;

    RecordingMessageBoxes boxes;
    FormServices services;
    services.boxes = &boxes;
    services.startConverter = [] {};
    services.quitSoon = [] {};
    services.openUrl = [](const QUrl&) { return true; };
    QElapsedTimer loading;
    loading.start();
    TQuillonForm form(services);
    std::printf("loaded %zu volumes in %lld ms\n", form.catalog().volumeCount(), loading.elapsed());
    form.resize(900, 600);
    form.show();
    QApplication::processEvents();
    form.findChild<QToolButton*>(QStringLiteral("SBut"))->click();
    SearchPane& pane = *form.searchPane();
    pane.LookIn->setCurrentIndex(1);

    const char* patterns[] = {"*.mp3", "garden", "[a-c]*", "qxzqj"};
    // "ratio" sets the window against the engine's walk and the one sort that every consumer of the hits does
    // (quillon-cli search sorts them as well); "walk ratio" against the walk alone.
    std::printf("%-10s %9s %11s %11s %11s %7s %11s\n", "query", "hits", "window ms", "engine ms", "sort ms",
                "ratio", "walk ratio");
    for (const char* pattern : patterns) {
        std::vector<double> window, engineTimes, sortTimes;
        std::size_t windowHits = 0, engineHits = 0;
        for (int run = 0; run < runs; ++run) {
            pane.FileNames->setText(QString::fromUtf8(pattern));
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            form.SearchNowClick();
            window.push_back(double(timer.nsecsElapsed()) / 1e6);
            windowHits = std::size_t(form.searchModel()->rowCount());

            SearchCriteria criteria = pane.criteria();
            criteria.useMask = SearchEngine::ChooseNameMode(criteria.pattern);
            criteria.today = std::floor(currentDateTime());
            SearchEngine engine(criteria);
            std::vector<SearchRow> rows;
            SearchHooks hooks;
            hooks.hits = [&rows](const std::vector<SearchRow>& batch) {
                rows.insert(rows.end(), batch.begin(), batch.end());
            };
            SearchRun searchRun(engine, std::move(hooks));
            timer.restart();
            searchRun.run(form.catalog(), SearchScope::allVolumes());
            engineTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            sortRows(rows, form.sortState());
            sortTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
            engineHits = rows.size();
        }
        if (windowHits != engineHits) {
            std::fprintf(stderr, "%s: the window found %zu, the engine %zu\n", pattern, windowHits,
                         engineHits);
            return 1;
        }
        const double w = median(window);
        const double e = median(engineTimes);
        const double s = median(sortTimes);
        std::printf("%-10s %9zu %11.1f %11.1f %11.1f %7.2f %11.2f\n", pattern, windowHits, w, e, s,
                    w / (e + s), w / e);
    }
    return 0;
}
