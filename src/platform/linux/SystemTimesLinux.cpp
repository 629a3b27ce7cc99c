#include "platform/SystemTimes.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <chrono>
#include <ctime>

namespace lunor::platform {
namespace {

// One connection for the life of the process; opened on first use. Without an X server
// (or without the screen-saver extension) the idle time reads 0.
class IdleProbe
{
public:
    ~IdleProbe()
    {
        if (m_info)
            XFree(m_info);
        if (m_display)
            XCloseDisplay(m_display);
    }

    int idleSeconds()
    {
        // The pass asks once per idle task each second; a fresh query per call would be one
        // X round trip per task. Within 100 ms the answer cannot change its whole seconds
        // in a way anyone could notice.
        const auto now = std::chrono::steady_clock::now();
        if (m_valid && now - m_lastQuery < std::chrono::milliseconds(100))
            return m_lastValue;
        m_lastQuery = now;
        m_valid = true;
        m_lastValue = query();
        return m_lastValue;
    }

private:
    int query()
    {
        if (!m_triedOpen) {
            m_triedOpen = true;
            m_display = XOpenDisplay(nullptr);
            int eventBase = 0;
            int errorBase = 0;
            if (m_display && XScreenSaverQueryExtension(m_display, &eventBase, &errorBase))
                m_info = XScreenSaverAllocInfo();
        }
        if (!m_display || !m_info)
            return 0;
        if (!XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), m_info))
            return 0;
        return static_cast<int>(m_info->idle / 1000);
    }

    Display *m_display = nullptr;
    XScreenSaverInfo *m_info = nullptr;
    bool m_triedOpen = false;
    bool m_valid = false;
    int m_lastValue = 0;
    std::chrono::steady_clock::time_point m_lastQuery;
};

} // namespace

int uptimeSeconds()
{
    timespec ts {};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0)
        return 0;
    return static_cast<int>(ts.tv_sec);
}

int idleSeconds()
{
    static IdleProbe probe;
    return probe.idleSeconds();
}

} // namespace lunor::platform
