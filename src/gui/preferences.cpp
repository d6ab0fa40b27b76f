#include "preferences.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings.h"

namespace quillon {

TPreferences::TPreferences(bool autoOpen, bool askForLast, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Preferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    // A fixed dialog frame with a title but no title-bar buttons, above the other windows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    // Laid out for a small 8 point font, like the other dialogs.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    m_bevel1 = new QFrame(this);
    m_bevel1->setObjectName(QStringLiteral("Bevel1"));
    m_bevel1->setFrameShape(QFrame::Box);
    m_bevel1->setFrameShadow(QFrame::Sunken);

    m_autoOpen = new QCheckBox(QStringLiteral("Open CD-drive after CD is cataloged"), m_bevel1);
    m_autoOpen->setObjectName(QStringLiteral("AutoOpen"));
    m_autoOpen->setChecked(autoOpen);
    m_askForLast = new QCheckBox(QStringLiteral("Ask for more catalogs to create"), m_bevel1);
    m_askForLast->setObjectName(QStringLiteral("AskForLast"));
    m_askForLast->setChecked(askForLast);

    auto* checks = new QVBoxLayout(m_bevel1);
    checks->addWidget(m_autoOpen);
    checks->addWidget(m_askForLast);

    m_okBut = new QPushButton(QStringLiteral("&OK"), this);
    m_okBut->setObjectName(QStringLiteral("OKBut"));
    m_okBut->setDefault(true);
    m_cancelBut = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancelBut->setObjectName(QStringLiteral("CancelBut"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBut);
    buttons->addWidget(m_cancelBut);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bevel1);
    layout->addLayout(buttons);

    // 258 by 146 unless the desktop's font needs more room: a cut-off check box text would hide what it
    // means.
    setFixedSize(QSize(258, 146).expandedTo(sizeHint()));

    connect(m_okBut, &QPushButton::clicked, this, &TPreferences::OKButClick);
    connect(m_cancelBut, &QPushButton::clicked, this, &TPreferences::CancelButClick);
}

bool TPreferences::execute(QWidget* parent, bool& autoOpen, bool& askForLast) {
    TPreferences dialog(autoOpen, askForLast, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    autoOpen = dialog.autoOpen();
    askForLast = dialog.askForLast();
    return true;
}

bool TPreferences::execute(QWidget* parent, Settings& settings) {
    return execute(parent, settings.AutoOpen, settings.AskForLast);
}

bool TPreferences::autoOpen() const {
    return m_autoOpen->isChecked();
}

bool TPreferences::askForLast() const {
    return m_askForLast->isChecked();
}

void TPreferences::OKButClick() {
    accept();
}

void TPreferences::CancelButClick() {
    reject();
}

}  // namespace quillon
