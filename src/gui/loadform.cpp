#include "loadform.h"

#include <QCoreApplication>
#include <QPainter>

#include "icons.h"

namespace quillon {

namespace {

constexpr int kPictureHeight = 220;
constexpr int kGaugeHeight = 20;
const QColor kSplashBlue(0x1c, 0x3f, 0x94);
const QColor kGaugeBack(0xc0, 0xc0, 0xc0);  // silver
const QColor kGaugeBar(0x00, 0x00, 0x80);   // navy

}  // namespace

TLoadForm::TLoadForm(const QRect& over, int maximum)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_splash(splashPixmap().scaled(kWidth, kPictureHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation)),
      m_maximum(maximum) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("Loading..."));
    setFixedSize(kWidth, kHeight);
    move(over.center() - QPoint(kWidth / 2, kHeight / 2));
    show();
    // A new window is mapped asynchronously on X11 and Wayland: let it reach the screen once, without user
    // input, so that the first repaint of the gauge is not lost.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TLoadForm::advance() {
    ++m_progress;
    // Only the gauge and the caption over it change.
    repaint(0, kPictureHeight, kWidth, kGaugeHeight);
}

void TLoadForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(0, 0, kWidth, kPictureHeight, kSplashBlue);
    // The picture keeps its proportions inside the area above the gauge, centred.
    p.drawPixmap((kWidth - m_splash.width()) / 2, (kPictureHeight - m_splash.height()) / 2, m_splash);

    p.fillRect(0, kPictureHeight, kWidth, kGaugeHeight, kGaugeBack);
    if (m_maximum > 0) {
        const int filled = int(qint64(kWidth) * std::min(m_progress, m_maximum) / m_maximum);
        p.fillRect(0, kPictureHeight, filled, kGaugeHeight, kGaugeBar);
    }
    QFont caption = font();
    caption.setBold(true);
    p.setFont(caption);
    p.setPen(Qt::white);
    p.drawText(QRect(106, 224, kWidth - 106, kHeight - 224), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("L   O   A   D   I   N   G . . ."));
}

}  // namespace quillon
