#include "platform/IdleTime.h"

#include "platform/linux/IdleSources.h"
#include "platform/linux/Session.h"

#include <algorithm>
#include <utility>

namespace lunor::platform {

const char *idleSourceName(IdleSource source)
{
    switch (source) {
    case IdleSource::None:
        return "none";
    case IdleSource::MutterIdleMonitor:
        return "org.gnome.Mutter.IdleMonitor";
    case IdleSource::ScreenSaver:
        return "org.freedesktop.ScreenSaver";
    case IdleSource::WaylandIdleNotify:
        return "ext-idle-notify-v1";
    case IdleSource::X11ScreenSaver:
        return "MIT-SCREEN-SAVER";
    }
    return "none";
}

IdleTime::IdleTime(Clock clock)
    : m_clock(std::move(clock))
{
    using namespace linux_idle;
    if (auto bus = openSessionBus()) {
        if ((m_query = openMutterIdleMonitor(bus)))
            m_source = IdleSource::MutterIdleMonitor;
        else if ((m_query = openScreenSaver(bus)))
            m_source = IdleSource::ScreenSaver;
    }
    if (m_query)
        return;
    // In a Wayland session the X server, if any, sees only the input of the programs that use
    // it: its figure would count typing in every other window as idle, so it is not asked.
    if (linux_session::isWaylandSession()) {
        if ((m_query = openWaylandIdleNotify(m_clock())))
            m_source = IdleSource::WaylandIdleNotify;
    } else if ((m_query = openX11ScreenSaver())) {
        m_source = IdleSource::X11ScreenSaver;
    }
}

IdleTime::~IdleTime() = default;

IdleSource IdleTime::source() const
{
    return m_source;
}

int IdleTime::seconds()
{
    const auto now = m_clock();
    if (m_asked && now - m_lastAsked < ReuseFor)
        return m_lastSeconds;
    m_asked = true;
    m_lastAsked = now;
    m_lastSeconds = m_query ? std::max(m_query->seconds(now), 0) : 0;
    return m_lastSeconds;
}

} // namespace lunor::platform
