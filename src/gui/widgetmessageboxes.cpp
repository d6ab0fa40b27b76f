#include "widgetmessageboxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace quillon {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Question:
            return QMessageBox::Question;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
        case MessageKind::StandardError:
            return QMessageBox::Critical;
        case MessageKind::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

bool WidgetMessageBoxes::ask(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(iconOf(kind), messageTitle(kind), text, QMessageBox::NoButton, parent);
    // Our own captions: the standard buttons would be translated and carry no mnemonics.
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void WidgetMessageBoxes::tell(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(iconOf(kind), messageTitle(kind), text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

}  // namespace quillon
