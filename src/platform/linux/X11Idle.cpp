#include "platform/linux/IdleSources.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <memory>

namespace lunor::platform::linux_idle {
namespace {

class X11IdleQuery final : public Query
{
public:
    X11IdleQuery() = default;
    ~X11IdleQuery() override
    {
        if (m_info)
            XFree(m_info);
        if (m_display)
            XCloseDisplay(m_display);
    }
    X11IdleQuery(const X11IdleQuery &) = delete;
    X11IdleQuery &operator=(const X11IdleQuery &) = delete;

    bool open()
    {
        m_display = XOpenDisplay(nullptr);
        int eventBase = 0;
        int errorBase = 0;
        if (!m_display || !XScreenSaverQueryExtension(m_display, &eventBase, &errorBase))
            return false;
        m_info = XScreenSaverAllocInfo();
        return m_info != nullptr;
    }

    int seconds(std::chrono::steady_clock::time_point) override
    {
        if (!XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), m_info))
            return -1;
        return static_cast<int>(m_info->idle / 1000);
    }

private:
    Display *m_display = nullptr;
    XScreenSaverInfo *m_info = nullptr;
};

} // namespace

std::unique_ptr<Query> openX11ScreenSaver()
{
    auto query = std::make_unique<X11IdleQuery>();
    if (!query->open())
        return nullptr;
    return query;
}

} // namespace lunor::platform::linux_idle
