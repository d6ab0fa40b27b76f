#pragma once

#include <QPixmap>
#include <QWidget>

namespace quillon {

// The window shown while the catalog folder is read: a splash with the product name, a gauge advanced once
// per catalog file, and the loading caption drawn over the gauge. It exists only during a reload.
class TLoadForm final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TLoadForm)

public:
    static constexpr int kWidth = 340;
    static constexpr int kHeight = 240;

    // Centered on the rectangle the main window takes (or will take: at start-up the form is the splash).
    explicit TLoadForm(const QRect& over, int maximum);

    int maximum() const { return m_maximum; }
    int progress() const { return m_progress; }
    // One more file read; the gauge is drawn at once because no events are processed while catalogs load.
    void advance();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Drawn and scaled once: the form is repainted for every catalog file, and drawing the splash each time
    // cost more than reading a file.
    QPixmap m_splash;
    int m_maximum = 0;
    int m_progress = 0;
};

}  // namespace quillon
