#pragma once

#include <QApplication>
#include <memory>

#include "messageboxes.h"

namespace quillon {

// The application object of the desktop program. An exception that escapes an event handler is caught here
// and its text shown in the standard error box (MessageKind::StandardError); the interrupted handler is
// abandoned and the program goes on.
class ErrorBoxApplication final : public QApplication {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ErrorBoxApplication)

public:
    ErrorBoxApplication(int& argc, char** argv);
    ~ErrorBoxApplication() override;

    // The boxes the standard error box goes through; not owned. Null restores QMessageBox boxes.
    void setMessageBoxes(MessageBoxes* boxes);
    MessageBoxes& messageBoxes() const;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::unique_ptr<MessageBoxes> m_ownBoxes;
    MessageBoxes* m_boxes = nullptr;
};

}  // namespace quillon
