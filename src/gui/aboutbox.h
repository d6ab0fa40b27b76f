#pragma once

#include <QDialog>

#include "helplinks.h"

class QFrame;
class QLabel;
class QPushButton;

namespace quillon {

// The about box: version, author line, freeware notice, and two links, the homepage and the e-mail contact.
// A visited link turns purple for as long as the box is open; the mouse over a link underlines it.
class TAboutBox final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAboutBox)

public:
    // Links open through opener; tests pass their own so no browser or mail program starts.
    explicit TAboutBox(QWidget* parent = nullptr, UrlOpener opener = openWithDesktop);

    // The Help menu's "&About": shows a new box modally and destroys it when it closes.
    static void execute(QWidget* parent, UrlOpener opener = openWithDesktop);

    // The platform's link blue, and the colour of a visited link.
    static QColor linkColor();
    static QColor visitedLinkColor();

public slots:
    void maillinkClick();
    void HomepageClick();
    // Shared by both link labels.
    void HomepageMouseEnter(QLabel* sender);
    void HomepageMouseLeave(QLabel* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* makeLabel(const QString& name, const QString& text, int x, int y);
    void placeAfter(QLabel* caption, QLabel* link) const;
    static void setTextColor(QLabel* label, const QColor& color);

    UrlOpener m_opener;
    bool m_placed = false;
    QFrame* m_panel = nullptr;
    QLabel* m_homepage = nullptr;
    QLabel* m_email = nullptr;
    QPushButton* m_okButton = nullptr;
};

}  // namespace quillon
