#pragma once

#include "TempFolder.h"

#include <QByteArray>
#include <QProcess>

#include <map>
#include <optional>
#include <string>
#include <vector>

// Desktop services for tests, all private to the test: a session bus of its own with fake
// services on it (fake_desktop.py) and a fake Wayland compositor. Nothing here reaches the
// machine's own bus, portal, screen saver or compositor.
namespace lunor::test {

// Sets environment variables (a missing value unsets one) and restores them at the end.
class ScopedEnvironment
{
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

    void set(const char *name, const std::optional<std::string> &value);

private:
    std::map<std::string, std::optional<QByteArray>> m_saved;
};

// dbus-daemon with a session bus of its own; DBUS_SESSION_BUS_ADDRESS points at it while the
// object lives.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    const std::string &address() const { return m_address; }

private:
    QProcess m_daemon;
    std::string m_address;
    ScopedEnvironment m_environment;
};

// fake_desktop.py on the bus of DBUS_SESSION_BUS_ADDRESS, offering the given services
// ("mutter", "screensaver", "screensaver-unsupported", "portal"), recording every call.
class FakeDesktop
{
public:
    explicit FakeDesktop(const std::vector<std::string> &services, int bindResponse = 0);
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop &) = delete;
    FakeDesktop &operator=(const FakeDesktop &) = delete;

    void setIdleMilliseconds(unsigned long long milliseconds) const;
    // Makes the portal emit Activated for every bound shortcut (within about 20 ms).
    void activateShortcuts() const;
    // The calls so far, one line each ("IdleMonitor.GetIdletime", ...).
    std::vector<std::string> calls() const;
    // How many calls begin with the text.
    int count(const std::string &prefix) const;
    // Ends the services, as a desktop shell that goes away.
    void stop();

    const std::string &logFile() const { return m_log; }
    const std::string &idleFile() const { return m_idle; }
    const std::string &triggerFile() const { return m_trigger; }

private:
    TempFolder m_folder;
    std::string m_log;
    std::string m_idle;
    std::string m_trigger;
    QProcess m_process;
};

// A Wayland compositor of ours on a socket in a private XDG_RUNTIME_DIR, with a seat and,
// when asked for, ext-idle-notify-v1. WAYLAND_DISPLAY and XDG_RUNTIME_DIR point at it while
// the object lives.
class FakeCompositor
{
public:
    explicit FakeCompositor(bool idleNotify = true);
    ~FakeCompositor();
    FakeCompositor(const FakeCompositor &) = delete;
    FakeCompositor &operator=(const FakeCompositor &) = delete;

    // Tells every idle notification that the user is idle, or back; waits until it is sent.
    void sendIdled();
    void sendResumed();
    // The timeouts (milliseconds) of the idle notifications clients asked for.
    std::vector<int> notificationTimeouts();

private:
    std::string command(const char *line);

    TempFolder m_runtime;
    QProcess m_process;
    ScopedEnvironment m_environment;
};

} // namespace lunor::test
