#pragma once

#include <QWidget>

class QTimer;

namespace quillon {

// The small picture beside the search pane's title that moves while a search runs: a magnifier circling over
// a sheet of paper. Still when stopped, so the pane looks the same whenever no run is going on.
class FindFileAnimation final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindFileAnimation)

public:
    explicit FindFileAnimation(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isRunning() const;
    int frame() const { return m_frame; }

    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kFrames = 8;
    QTimer* m_timer;
    int m_frame = 0;
};

}  // namespace quillon
