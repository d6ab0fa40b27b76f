// Times cataloging a folder through the new catalog dialog, offscreen, as File > New Catalog does it: the
// dialog's OK on the folder, its progress labels and event processing included.
//   quillon-newcat-bench TREE CATALOG_DIR [--runs N]
// Each run writes CATALOG_DIR/bench.qvl into an emptied catalog; the best and the median of the runs are
// printed in milliseconds.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "catalog.h"
#include "catalogtreemodel.h"
#include "recordingmessageboxes.h"
#include "seldirform.h"
#include "settings.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: quillon-newcat-bench TREE CATALOG_DIR [--runs N]\n");
        return 2;
    }
    const QString tree = QDir(args.at(1)).absolutePath();
    const QString catalogs = QDir(args.at(2)).absolutePath() + u'/';
    const qsizetype runsAt = args.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt > 0 && runsAt + 1 < args.size() ? args.at(runsAt + 1).toInt() : 5;

    std::vector<qint64> times;
    int files = 0;
    for (int run = 0; run < runs; ++run) {
        QDir(catalogs).removeRecursively();
        quillon::Catalog catalog;
        quillon::CatalogTreeModel model(catalog);
        quillon::Settings settings;
        settings.CatalogFolder = catalogs;
        settings.AskForLast = false;
        quillon::RecordingMessageBoxes boxes;
        quillon::TSelDirForm dialog(catalog, model, settings, {&boxes, nullptr, {}, {}});
        dialog.show();
        if (!dialog.selectFolder(tree)) {
            std::fprintf(stderr, "not a folder: %s\n", qPrintable(tree));
            return 1;
        }
        dialog.VolumeName->setText(QStringLiteral("bench"));
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        dialog.OKButClick();
        times.push_back(timer.elapsed());
        files = dialog.FileCount;
        if (catalog.volumeCount() != 1) {
            std::fprintf(stderr, "the run did not catalog the folder\n");
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("dialog: %d files, best %lld ms, median %lld ms over %d runs\n", files,
                static_cast<long long>(times.front()), static_cast<long long>(times[times.size() / 2]), runs);
    return 0;
}
