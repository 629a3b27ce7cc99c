#pragma once

#include <QObject>
#include <QTimer>

namespace lunor::gui {

// The one-second timer: fires just after every boundary of a wall-clock second, so that each
// second gets exactly one tick and an at-time task sees its target second. It re-aims itself
// at the next boundary each time it fires, before the tick is handled, so ticks also arrive
// while a handler waits in a nested event loop. It is never stopped.
class SecondTimer : public QObject
{
    Q_OBJECT
public:
    explicit SecondTimer(QObject *parent = nullptr);

    // Milliseconds from a moment (ms since the epoch) until just after the next second.
    static int delayToNextSecond(qint64 nowMs);

signals:
    void tick();

private:
    void fire();
    void aim(qint64 nowMs);

    QTimer m_timer;
    // The second (since the epoch) that had its tick; a timer that fires a little early
    // finds itself still in that second and only re-aims.
    qint64 m_lastSecond = -1;
};

} // namespace lunor::gui
