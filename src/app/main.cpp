#include "errorboxapplication.h"
#include "freedmemory.h"
#include "mainwindow.h"

int main(int argc, char* argv[]) {
    quillon::keepFreedMemoryForReuse();
    // The application object titles the program "Quillon" and shows an escaped error in the standard box.
    quillon::ErrorBoxApplication app(argc, argv);

    quillon::FormServices services;
    services.boxes = &app.messageBoxes();
    quillon::TQuillonForm window(services);
    // A first start ends at once: the window has queued the quit and is never shown.
    if (!window.endedAtStart()) window.show();
    return quillon::ErrorBoxApplication::exec();
}
