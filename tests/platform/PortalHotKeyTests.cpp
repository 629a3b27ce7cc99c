// The hot key through the desktop portal's GlobalShortcuts, with a fake portal on a private
// session bus that records the calls and emits Activated when the test says so.
#include "platform/HotKey.h"

#include "HotKeyPresses.h"

#include "FakeDesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lunor::test {
namespace {

using platform::ModAlt;
using platform::ModControl;
using platform::ModShift;
using platform::ModWin;

// A desktop session of the given type with a private bus and the given fake services.
class Session
{
public:
    Session(const char *type, const std::vector<std::string> &services, int bindResponse = 0)
    {
        m_environment.set("XDG_SESSION_TYPE", std::string(type));
        m_environment.set("WAYLAND_DISPLAY", std::nullopt);
        m_bus = std::make_unique<PrivateBus>();
        m_fake = std::make_unique<FakeDesktop>(services, bindResponse);
    }

    FakeDesktop &fake() { return *m_fake; }

private:
    ScopedEnvironment m_environment;
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<FakeDesktop> m_fake;
};

class PortalHotKeyTest : public ::testing::Test
{
protected:
    std::unique_ptr<platform::HotKey> createHotKey()
    {
        return platform::createHotKey([this](unsigned keyCode, unsigned modifiers) {
            presses.push_back({ keyCode, modifiers });
        });
    }

    std::vector<Press> presses;
};

TEST_F(PortalHotKeyTest, ShortcutIsBoundWithItsTriggerAndActivatedReachesTheHandler)
{
    Session session("wayland", { "portal" });
    auto hotKey = createHotKey();
    ASSERT_TRUE(hotKey->registerHotKey(ModControl, 'D'));
    ASSERT_TRUE(
        waitFor([&] { return session.fake().count("GlobalShortcuts.BindShortcuts") == 1; }));

    const std::vector<std::string> calls = session.fake().calls();
    ASSERT_EQ(calls.size(), 4U);
    EXPECT_EQ(calls[0], "Registry.Register 'io.github.lunortime.LunorTime'");
    EXPECT_EQ(calls[1], "Properties.Get org.freedesktop.portal.GlobalShortcuts version");
    EXPECT_EQ(calls[2],
        "GlobalShortcuts.CreateSession {'handle_token': 'lunortime1', "
        "'session_handle_token': 'lunortime1'}");
    // The session the portal made, one shortcut whose trigger is Ctrl+D, no parent window.
    EXPECT_TRUE(calls[3].starts_with(
        "GlobalShortcuts.BindShortcuts '/org/freedesktop/portal/desktop/session/"))
        << calls[3];
    EXPECT_NE(
        calls[3].find("/lunortime1' [['lunortime1', {'description': 'Lunor定时系统：显示窗口', "
                      "'preferred_trigger': 'CTRL+d'}]] '' {'handle_token': 'lunortime1bind'}"),
        std::string::npos)
        << calls[3];

    session.fake().activateShortcuts();
    ASSERT_TRUE(waitFor([&] { return !presses.empty(); }));
    QCoreApplication::processEvents();
    // The same shortcut name in another program's session came first and was not ours.
    EXPECT_EQ(presses, (std::vector<Press> { { 'D', ModControl } }));
}

TEST_F(PortalHotKeyTest, EachCombinationHasItsTriggerAndComesBackAsRegistered)
{
    struct Case
    {
        unsigned modifiers;
        unsigned keyCode;
        const char *trigger;
    };
    const Case cases[] = {
        { ModControl, 'Z', "CTRL+z" },
        { ModControl | ModShift, 'S', "CTRL+SHIFT+s" },
        { ModControl | ModAlt, 'K', "CTRL+ALT+k" },
        { ModWin, 'W', "LOGO+w" },
        { ModControl, '7', "CTRL+7" },
    };
    Session session("wayland", { "portal" });
    auto hotKey = createHotKey();
    for (const Case &c : cases)
        ASSERT_TRUE(hotKey->registerHotKey(c.modifiers, c.keyCode)) << c.trigger;
    ASSERT_TRUE(
        waitFor([&] { return session.fake().count("GlobalShortcuts.BindShortcuts") == 5; }));
    std::string binds;
    for (const std::string &line : session.fake().calls())
        binds += line + "\n";
    for (const Case &c : cases) {
        EXPECT_NE(
            binds.find("'preferred_trigger': '" + std::string(c.trigger) + "'"), std::string::npos)
            << c.trigger << " not in\n"
            << binds;
    }

    session.fake().activateShortcuts();
    ASSERT_TRUE(waitFor([&] { return presses.size() >= 5; }));
    QCoreApplication::processEvents();
    std::vector<Press> expected;
    for (const Case &c : cases)
        expected.push_back({ c.keyCode, c.modifiers });
    std::ranges::sort(expected, pressBefore);
    std::ranges::sort(presses, pressBefore);
    EXPECT_EQ(presses, expected);
}

TEST_F(PortalHotKeyTest, AShortcutTheUserDeclinesIsNotActivated)
{
    Session session("wayland", { "portal" }, 1); // the user cancelled the portal's dialog
    auto hotKey = createHotKey();
    EXPECT_TRUE(hotKey->registerHotKey(ModControl, 'D'));
    ASSERT_TRUE(
        waitFor([&] { return session.fake().count("GlobalShortcuts.BindShortcuts") == 1; }));
    session.fake().activateShortcuts();
    ASSERT_TRUE(waitFor(
        [&] { return !QFile::exists(QString::fromStdString(session.fake().triggerFile())); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(presses.empty());
}

TEST_F(PortalHotKeyTest, ThePortalIsUsedOnlyInAWaylandSessionThatHasIt)
{
    struct Case
    {
        const char *sessionType;
        std::vector<std::string> services;
    };
    // Offscreen there is no X server either: without the portal, registration fails.
    const Case cases[] = {
        { "x11", { "portal" } },
        { "wayland", { "mutter", "screensaver" } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sessionType);
        Session session(c.sessionType, c.services);
        auto hotKey = createHotKey();
        EXPECT_FALSE(hotKey->registerHotKey(ModControl, 'D'));
        EXPECT_EQ(session.fake().count("GlobalShortcuts."), 0);
    }
}

TEST_F(PortalHotKeyTest, KeysAndModifiersItCannotNameAreRefused)
{
    Session session("wayland", { "portal" });
    auto hotKey = createHotKey();
    EXPECT_FALSE(hotKey->registerHotKey(ModControl, 0x70));
    EXPECT_FALSE(hotKey->registerHotKey(ModControl, 'a'));
    EXPECT_FALSE(hotKey->registerHotKey(ModControl | 0x4000, 'D'));
    EXPECT_EQ(session.fake().count("GlobalShortcuts.CreateSession"), 0);
}

} // namespace
} // namespace lunor::test
