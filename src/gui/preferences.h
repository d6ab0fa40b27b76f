#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QPushButton;

namespace quillon {

class Settings;

// The preferences dialog: the two options that steer the end of a cataloging run. It edits the caller's
// in-memory values; the settings file is written at shutdown, not here. A new dialog is made for every
// opening, so it always starts from the current values.
class TPreferences final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPreferences)

public:
    // The check boxes start from autoOpen and askForLast (FormCreate).
    TPreferences(bool autoOpen, bool askForLast, QWidget* parent = nullptr);

    // Shows the dialog modally over parent. On OK the check boxes' states are copied into autoOpen and
    // askForLast and true is returned; on Cancel or Escape both are left as they were.
    static bool execute(QWidget* parent, bool& autoOpen, bool& askForLast);
    // The same on the AutoOpen and AskForLast of the program's settings.
    static bool execute(QWidget* parent, Settings& settings);

    // The check boxes' current states.
    bool autoOpen() const;
    bool askForLast() const;

public slots:
    void OKButClick();
    void CancelButClick();

private:
    QFrame* m_bevel1 = nullptr;
    QCheckBox* m_autoOpen = nullptr;
    QCheckBox* m_askForLast = nullptr;
    QPushButton* m_okBut = nullptr;
    QPushButton* m_cancelBut = nullptr;
};

}  // namespace quillon
