#include "mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));

    quillon::TQuillonForm window;
    // A first start ends at once: the window has queued the quit and is never shown.
    if (!window.endedAtStart()) window.show();
    return QApplication::exec();
}
