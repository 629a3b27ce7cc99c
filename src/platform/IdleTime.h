#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace lunor::platform {

// Where the time without mouse or keyboard input comes from. The desktop's own figure comes
// first: an X server that a Wayland desktop runs for older programs sees only the input that
// reaches its own windows, and would count typing elsewhere as idle.
enum class IdleSource {
    None, // nothing answers: the idle time reads 0
    MutterIdleMonitor, // GNOME: org.gnome.Mutter.IdleMonitor over D-Bus
    ScreenSaver, // KDE Plasma on X11: org.freedesktop.ScreenSaver over D-Bus
    WaylandIdleNotify, // a Wayland compositor's ext-idle-notify-v1
    X11ScreenSaver, // the X server's MIT-SCREEN-SAVER extension, in an X11 session only
};

const char *idleSourceName(IdleSource source);

// The idle time of the running desktop session. The source is chosen once, when the object
// is made: the first of the list above that answers for this session. Asking costs at most
// one round trip to the desktop, and answers within 100 ms of the last question are given
// again without asking: one pass over thousands of idle rows asks once.
class IdleTime
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit IdleTime(Clock clock = &std::chrono::steady_clock::now);
    ~IdleTime();
    IdleTime(const IdleTime &) = delete;
    IdleTime &operator=(const IdleTime &) = delete;

    IdleSource source() const;
    // Whole seconds since the last input; 0 when the source cannot tell.
    int seconds();

    // An answer this young is given again without asking.
    static constexpr std::chrono::milliseconds ReuseFor { 100 };

    // How the object asks its source; one for each kind of source.
    class Query
    {
    public:
        virtual ~Query() = default;
        // Whole seconds, or a negative number when the source did not answer this time.
        virtual int seconds(std::chrono::steady_clock::time_point now) = 0;
    };

private:
    Clock m_clock;
    IdleSource m_source = IdleSource::None;
    std::unique_ptr<Query> m_query;
    bool m_asked = false;
    int m_lastSeconds = 0;
    std::chrono::steady_clock::time_point m_lastAsked;
};

} // namespace lunor::platform
