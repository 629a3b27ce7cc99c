#include "gui/SecondTimer.h"

#include <QDateTime>

namespace lunor::gui {
namespace {

// How far past the boundary the timer aims, so that a slightly early wake-up still lands in
// the new second.
constexpr int MarginMs = 5;

qint64 floorSecond(qint64 ms)
{
    return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
}

} // namespace

SecondTimer::SecondTimer(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SecondTimer::fire);
    aim(QDateTime::currentMSecsSinceEpoch());
}

int SecondTimer::delayToNextSecond(qint64 nowMs)
{
    const qint64 next = (floorSecond(nowMs) + 1) * 1000;
    return static_cast<int>(next - nowMs) + MarginMs;
}

void SecondTimer::aim(qint64 nowMs)
{
    m_timer.start(delayToNextSecond(nowMs));
}

void SecondTimer::fire()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    aim(now);
    const qint64 second = floorSecond(now);
    // Equality only: when the clock is set back, the earlier seconds get their ticks again.
    if (second == m_lastSecond)
        return;
    m_lastSecond = second;
    emit tick();
}

} // namespace lunor::gui
