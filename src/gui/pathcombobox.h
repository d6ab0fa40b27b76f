#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTimer>

namespace quillon {

// The path box: a drop-down list that reports every closing of its list, whether an item was chosen or the
// list was dismissed, once the choice (if any) has been applied to the current item.
class PathComboBox final : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void hidePopup() override {
        const bool wasShown = view() && view()->isVisible();
        QComboBox::hidePopup();
        // The chosen item becomes current only after the list is hidden: report on the next turn.
        if (wasShown) QTimer::singleShot(0, this, &PathComboBox::closedUp);
    }

signals:
    void closedUp();
};

}  // namespace quillon
