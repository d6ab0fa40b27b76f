#pragma once

#include "messageboxes.h"

namespace quillon {

// Message boxes shown with QMessageBox: the platform's icons, the kind's title, modal over the parent.
class WidgetMessageBoxes final : public MessageBoxes {
public:
    bool question(QWidget* parent, const QString& text) override;
    void show(QWidget* parent, MessageKind kind, const QString& text) override;
};

}  // namespace quillon
