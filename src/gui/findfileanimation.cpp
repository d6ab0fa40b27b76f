#include "findfileanimation.h"

#include <QPainter>
#include <QTimer>
#include <cmath>
#include <numbers>

namespace quillon {

FindFileAnimation::FindFileAnimation(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this)) {
    setFixedSize(16, 16);
    // About twelve frames a second: visibly busy, and cheap next to a run that repaints every 15 ms anyway.
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
}

void FindFileAnimation::start() {
    m_timer->start();
}

void FindFileAnimation::stop() {
    m_timer->stop();
    m_frame = 0;
    update();
}

bool FindFileAnimation::isRunning() const {
    return m_timer->isActive();
}

void FindFileAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The sheet.
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 0.5, 10, 13));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (int y = 3; y <= 11; y += 2) p.drawLine(QPointF(3.5, y + 0.5), QPointF(9.5, y + 0.5));

    // The magnifier moves round a small circle, one step per frame.
    const double angle = 2 * std::numbers::pi * m_frame / kFrames;
    const QPointF centre(9.0 + 2.0 * std::cos(angle), 8.0 + 2.0 * std::sin(angle));
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.drawLine(centre + QPointF(2.6, 2.6), centre + QPointF(5.5, 5.5));
    p.setPen(QPen(QColor(0, 0, 128), 1.4));
    p.setBrush(QColor(190, 220, 255, 200));
    p.drawEllipse(centre, 3.2, 3.2);
}

}  // namespace quillon
