#include "errorboxapplication.h"
#include "mainwindow.h"

int main(int argc, char* argv[]) {
    // The application object titles the program "Quillon" and shows an escaped error in the standard box.
    quillon::ErrorBoxApplication app(argc, argv);
    // X11 and Wayland append a display name to every window caption ("Quillon 1.5 — Quillon"); an empty one
    // leaves the captions as the windows set them. The application keeps its name "Quillon".
    QGuiApplication::setApplicationDisplayName(QString());

    quillon::FormServices services;
    services.boxes = &app.messageBoxes();
    quillon::TQuillonForm window(services);
    // A first start ends at once: the window has queued the quit and is never shown.
    if (!window.endedAtStart()) window.show();
    return quillon::ErrorBoxApplication::exec();
}
