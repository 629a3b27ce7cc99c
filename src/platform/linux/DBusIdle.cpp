#include "platform/linux/IdleSources.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

namespace lunor::platform::linux_idle {
namespace {

// The pass waits for the answer on the user-interface thread: a desktop that does not answer
// within this time counts as not answering this time.
constexpr std::uint64_t AnswerTimeoutMicroseconds = 500'000;

struct MessageUnref
{
    void operator()(sd_bus_message *message) const { sd_bus_message_unref(message); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

// One method without arguments that answers with the idle time in milliseconds, as an
// unsigned integer of the given D-Bus type ('t' or 'u').
struct IdleMethod
{
    const char *service;
    const char *path;
    const char *interface;
    const char *method;
    char type;
};

class DBusIdleQuery final : public Query
{
public:
    DBusIdleQuery(std::shared_ptr<sd_bus> bus, const IdleMethod &method)
        : m_bus(std::move(bus))
        , m_method(method)
    { }

    int seconds(std::chrono::steady_clock::time_point) override
    {
        const long long milliseconds = ask();
        if (milliseconds < 0)
            return -1;
        const long long whole = milliseconds / 1000;
        return whole > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                       : static_cast<int>(whole);
    }

    // Milliseconds, or -1 when the call failed or the answer has another form.
    long long ask()
    {
        sd_bus_message *raw = nullptr;
        if (sd_bus_message_new_method_call(m_bus.get(), &raw, m_method.service, m_method.path,
                m_method.interface, m_method.method)
            < 0)
            return -1;
        const Message call(raw);
        // Asking must not start a service that is not running.
        sd_bus_message_set_auto_start(call.get(), 0);
        sd_bus_error error = SD_BUS_ERROR_NULL;
        raw = nullptr;
        const int result
            = sd_bus_call(m_bus.get(), call.get(), AnswerTimeoutMicroseconds, &error, &raw);
        sd_bus_error_free(&error);
        if (result < 0)
            return -1;
        const Message reply(raw);
        const char type[] = { m_method.type, '\0' };
        if (m_method.type == 't') {
            std::uint64_t value = 0;
            if (sd_bus_message_read(reply.get(), type, &value) < 0)
                return -1;
            return value > std::uint64_t(std::numeric_limits<long long>::max())
                ? std::numeric_limits<long long>::max()
                : static_cast<long long>(value);
        }
        std::uint32_t value = 0;
        if (sd_bus_message_read(reply.get(), type, &value) < 0)
            return -1;
        return value;
    }

private:
    std::shared_ptr<sd_bus> m_bus;
    IdleMethod m_method;
};

std::unique_ptr<Query> openIfAnswering(const std::shared_ptr<sd_bus> &bus, const IdleMethod &method)
{
    if (!bus)
        return nullptr;
    auto query = std::make_unique<DBusIdleQuery>(bus, method);
    if (query->ask() < 0)
        return nullptr;
    return query;
}

} // namespace

std::shared_ptr<sd_bus> openSessionBus()
{
    sd_bus *bus = nullptr;
    if (sd_bus_open_user(&bus) < 0)
        return nullptr;
    return { bus, [](sd_bus *opened) { sd_bus_flush_close_unref(opened); } };
}

std::unique_ptr<Query> openMutterIdleMonitor(const std::shared_ptr<sd_bus> &bus)
{
    // GetIdletime: milliseconds since the last input, as an unsigned 64-bit number.
    return openIfAnswering(bus,
        { "org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
            "org.gnome.Mutter.IdleMonitor", "GetIdletime", 't' });
}

std::unique_ptr<Query> openScreenSaver(const std::shared_ptr<sd_bus> &bus)
{
    // KDE Plasma answers GetSessionIdleTime with its idle time in milliseconds (although the
    // interface's description calls the value seconds); under Wayland it answers with an
    // error, and the compositor's own protocol is asked instead.
    return openIfAnswering(bus,
        { "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
            "org.freedesktop.ScreenSaver", "GetSessionIdleTime", 'u' });
}

} // namespace lunor::platform::linux_idle
