#pragma once

#include "messageboxes.h"

namespace quillon {

// Message boxes shown with QMessageBox: the platform's icons, the kind's title, modal over the parent.
class WidgetMessageBoxes final : public MessageBoxes {
public:
    bool ask(QWidget* parent, MessageKind kind, const QString& text) override;
    void tell(QWidget* parent, MessageKind kind, const QString& text) override;
};

}  // namespace quillon
