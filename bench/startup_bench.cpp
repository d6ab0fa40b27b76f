// The desktop program's start, up to the first paint of the catalog tree, for timing from outside per process:
// it starts as the program does (the settings and the catalog folder of the current directory, the loading
// window, the tree and the root's contents) and ends as soon as the tree has been painted with the catalogs
// in it. Tearing down a million records is no part of a start, so the process leaves without it.
//   quillon-startup-bench          (run in a folder whose quillon.ini names the catalog folder)
// Prints the volume count, so a run that found no catalogs is told apart.
#include <QEvent>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "errorboxapplication.h"
#include "freedmemory.h"
#include "mainwindow.h"

namespace {

class FirstPaint final : public QObject {
public:
    explicit FirstPaint(quillon::TQuillonForm& window) : m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_window.catalog().volumeCount() > 0) {
            // After the paint itself: the filter sees the event before the viewport handles it.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::printf("%zu volumes\n", m_window.catalog().volumeCount());
                    std::fflush(stdout);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    quillon::TQuillonForm& m_window;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // As quillon itself starts.
    quillon::keepFreedMemoryForReuse();
    quillon::ErrorBoxApplication app(argc, argv);

    quillon::FormServices services;
    services.boxes = &app.messageBoxes();
    quillon::TQuillonForm window(services);
    if (window.endedAtStart()) {
        std::fprintf(stderr, "no quillon.ini with FirstStart=0 in the current folder\n");
        return 1;
    }
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("Catalog"));
    if (!tree) return 1;
    FirstPaint watcher(window);
    tree->viewport()->installEventFilter(&watcher);
    window.show();
    return quillon::ErrorBoxApplication::exec();
}
