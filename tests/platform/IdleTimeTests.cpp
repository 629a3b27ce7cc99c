// The idle time from each desktop source, with fake desktops private to the test: a session
// bus with fake GNOME and KDE services, a fake Wayland compositor, the X server of xvfb-run.
#include "platform/IdleTime.h"

#include "FakeDesktop.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lunor::test {
namespace {

using namespace std::chrono_literals;
using platform::IdleSource;
using platform::IdleTime;

// The X server xvfb-run started for the whole test program.
const std::string &xDisplay()
{
    static const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    return display;
}

// A clock that moves only when the test moves it.
struct TestClock
{
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::time_point() + 1h;
    IdleTime::Clock function()
    {
        return [this] { return now; };
    }
};

enum class Session { X11, Wayland, WaylandWithoutIdleNotify, NoDisplay };

// The desktop a test runs in: which session, and which services on its bus (none at all:
// no bus).
class Desktop
{
public:
    Desktop(Session session, const std::optional<std::vector<std::string>> &services)
    {
        m_environment.set("XDG_SESSION_TYPE",
            session == Session::X11             ? std::optional<std::string>("x11")
                : session == Session::NoDisplay ? std::nullopt
                                                : std::optional<std::string>("wayland"));
        m_environment.set("WAYLAND_DISPLAY", std::nullopt);
        // A Wayland session keeps an X server for older programs, whose figure is wrong there.
        m_environment.set(
            "DISPLAY", session == Session::NoDisplay ? std::nullopt : std::optional(xDisplay()));
        if (session == Session::Wayland || session == Session::WaylandWithoutIdleNotify)
            m_compositor = std::make_unique<FakeCompositor>(session == Session::Wayland);
        if (services) {
            m_bus = std::make_unique<PrivateBus>();
            m_fake = std::make_unique<FakeDesktop>(*services);
        } else {
            m_environment.set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_folder.file("no-bus"));
        }
    }

    FakeDesktop &fake() { return *m_fake; }
    FakeCompositor &compositor() { return *m_compositor; }

private:
    TempFolder m_folder;
    ScopedEnvironment m_environment;
    std::unique_ptr<FakeCompositor> m_compositor;
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeDesktop> m_fake;
};

TEST(IdleTimeTest, TheFirstSourceThatAnswersForTheSessionIsChosen)
{
    struct Case
    {
        const char *name;
        Session session;
        std::optional<std::vector<std::string>> services;
        IdleSource expected;
        std::vector<std::string> questions; // what the choice asked on the bus
    };
    const Case cases[] = {
        { "GNOME under X11", Session::X11, { { "mutter", "screensaver" } },
            IdleSource::MutterIdleMonitor, { "IdleMonitor.GetIdletime" } },
        { "GNOME under Wayland", Session::Wayland, { { "mutter" } }, IdleSource::MutterIdleMonitor,
            { "IdleMonitor.GetIdletime" } },
        { "KDE Plasma under X11", Session::X11, { { "screensaver" } }, IdleSource::ScreenSaver,
            { "ScreenSaver.GetSessionIdleTime" } },
        { "KDE Plasma under Wayland", Session::Wayland, { { "screensaver-unsupported" } },
            IdleSource::WaylandIdleNotify, { "ScreenSaver.GetSessionIdleTime" } },
        { "a screen saver without idle time under X11", Session::X11,
            { { "screensaver-unsupported" } }, IdleSource::X11ScreenSaver,
            { "ScreenSaver.GetSessionIdleTime" } },
        { "a compositor with only the portal", Session::Wayland, { { "portal" } },
            IdleSource::WaylandIdleNotify, {} },
        { "a compositor without idle notifications", Session::WaylandWithoutIdleNotify, { {} },
            IdleSource::None, {} },
        { "X11 without a session bus", Session::X11, std::nullopt, IdleSource::X11ScreenSaver, {} },
        { "no display and no bus", Session::NoDisplay, std::nullopt, IdleSource::None, {} },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Desktop desktop(c.session, c.services);
        IdleTime idle;
        EXPECT_STREQ(platform::idleSourceName(idle.source()), platform::idleSourceName(c.expected));
        if (c.services) {
            EXPECT_EQ(desktop.fake().calls(), c.questions);
        }
        EXPECT_GE(idle.seconds(), 0);
        if (c.expected == IdleSource::None) {
            EXPECT_EQ(idle.seconds(), 0);
        }
    }
}

TEST(IdleTimeTest, TheDesktopsMillisecondsBecomeWholeSeconds)
{
    struct Case
    {
        const char *service;
        unsigned long long milliseconds;
        int seconds;
    };
    const Case cases[] = {
        { "mutter", 0, 0 },
        { "mutter", 999, 0 },
        { "mutter", 1000, 1 },
        { "mutter", 61999, 61 },
        { "mutter", 18446744073709551615ULL, INT_MAX },
        { "screensaver", 999, 0 },
        { "screensaver", 5500, 5 },
        { "screensaver", 4294967295ULL, 4294967 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.service) + " " + std::to_string(c.milliseconds) + " ms");
        Desktop desktop(Session::X11, { { c.service } });
        desktop.fake().setIdleMilliseconds(c.milliseconds);
        IdleTime idle;
        EXPECT_EQ(idle.seconds(), c.seconds);
    }
}

TEST(IdleTimeTest, ManyQuestionsWithinOneMomentAskTheDesktopOnce)
{
    Desktop desktop(Session::X11, { { "mutter" } });
    TestClock clock;
    IdleTime idle(clock.function());
    const int afterChoice = desktop.fake().count("IdleMonitor.GetIdletime");

    // One pass over 10,000 idle rows.
    desktop.fake().setIdleMilliseconds(7000);
    for (int row = 0; row < 10000; ++row)
        ASSERT_EQ(idle.seconds(), 7);
    EXPECT_EQ(desktop.fake().count("IdleMonitor.GetIdletime"), afterChoice + 1);

    desktop.fake().setIdleMilliseconds(0); // the user touches the mouse
    clock.now += IdleTime::ReuseFor - 1ms;
    EXPECT_EQ(idle.seconds(), 7);
    EXPECT_EQ(desktop.fake().count("IdleMonitor.GetIdletime"), afterChoice + 1);

    clock.now += 1ms;
    EXPECT_EQ(idle.seconds(), 0);
    EXPECT_EQ(desktop.fake().count("IdleMonitor.GetIdletime"), afterChoice + 2);
}

TEST(IdleTimeTest, ASourceThatGoesAwayReadsZeroAndIsNotReplaced)
{
    Desktop desktop(Session::X11, { { "mutter" } });
    desktop.fake().setIdleMilliseconds(90000);
    TestClock clock;
    IdleTime idle(clock.function());
    EXPECT_EQ(idle.seconds(), 90);
    desktop.fake().stop();
    clock.now += 1s;
    EXPECT_EQ(idle.seconds(), 0);
    EXPECT_EQ(idle.source(), IdleSource::MutterIdleMonitor);
}

TEST(IdleTimeTest, TheCompositorsIdleNotificationsAreCountedInSeconds)
{
    Desktop desktop(Session::Wayland, { {} });
    TestClock clock;
    IdleTime idle(clock.function());
    ASSERT_EQ(idle.source(), IdleSource::WaylandIdleNotify);
    EXPECT_EQ(desktop.compositor().notificationTimeouts(), std::vector<int> { 1000 });

    EXPECT_EQ(idle.seconds(), 0);
    // Idle for the notification's second: the count starts one second back.
    desktop.compositor().sendIdled();
    clock.now += 200ms;
    EXPECT_EQ(idle.seconds(), 1);
    clock.now += 5s;
    EXPECT_EQ(idle.seconds(), 6);
    clock.now += 60s;
    EXPECT_EQ(idle.seconds(), 66);

    desktop.compositor().sendResumed();
    clock.now += 200ms;
    EXPECT_EQ(idle.seconds(), 0);
    clock.now += 30s; // typing: no event until the next idle second
    EXPECT_EQ(idle.seconds(), 0);

    desktop.compositor().sendIdled();
    clock.now += 200ms;
    EXPECT_EQ(idle.seconds(), 1);
}

} // namespace
} // namespace lunor::test

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
