#include "errorboxapplication.h"

#include <exception>

#include "widgetmessageboxes.h"

namespace quillon {

ErrorBoxApplication::ErrorBoxApplication(int& argc, char** argv)
    : QApplication(argc, argv),
      m_ownBoxes(std::make_unique<WidgetMessageBoxes>()),
      m_boxes(m_ownBoxes.get()) {
    // The name only: a display name set here would be appended by X11 and Wayland to every window caption
    // ("Quillon 1.5 — Quillon", "About — Quillon"), and captions are to read exactly as the windows set them.
    setApplicationName(QStringLiteral("Quillon"));
}

ErrorBoxApplication::~ErrorBoxApplication() = default;

void ErrorBoxApplication::setMessageBoxes(MessageBoxes* boxes) {
    m_boxes = boxes ? boxes : m_ownBoxes.get();
}

MessageBoxes& ErrorBoxApplication::messageBoxes() const {
    return *m_boxes;
}

bool ErrorBoxApplication::notify(QObject* receiver, QEvent* event) {
    // Qt cannot carry an exception through its event loop, so this is the last place one can be caught.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        m_boxes->standardError(activeWindow(), QString::fromUtf8(error.what()));
    }
    return false;
}

}  // namespace quillon
