#include "platform/linux/IdleSources.h"

#include "ext-idle-notify-v1-client-protocol.h"

#include <poll.h>
#include <wayland-client.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace lunor::platform::linux_idle {
namespace {

using std::chrono::steady_clock;

// The compositor says when the user has been idle this long and when input comes back; the
// idle time in between is counted here. A second is as fine as the answer needs to be.
constexpr std::chrono::milliseconds NotifyAfter { 1000 };

class WaylandIdleQuery final : public Query
{
public:
    ~WaylandIdleQuery() override
    {
        if (m_notification)
            ext_idle_notification_v1_destroy(m_notification);
        if (m_notifier)
            ext_idle_notifier_v1_destroy(m_notifier);
        if (m_seat)
            wl_seat_destroy(m_seat);
        if (m_registry)
            wl_registry_destroy(m_registry);
        if (m_display)
            wl_display_disconnect(m_display);
    }

    WaylandIdleQuery() = default;
    WaylandIdleQuery(const WaylandIdleQuery &) = delete;
    WaylandIdleQuery &operator=(const WaylandIdleQuery &) = delete;

    bool open(steady_clock::time_point now)
    {
        m_display = wl_display_connect(nullptr);
        if (!m_display)
            return false;
        m_registry = wl_display_get_registry(m_display);
        static const wl_registry_listener registryListener
            = { &WaylandIdleQuery::global, &WaylandIdleQuery::globalRemoved };
        wl_registry_add_listener(m_registry, &registryListener, this);
        if (wl_display_roundtrip(m_display) < 0 || !m_notifier || !m_seat)
            return false;
        m_notification = ext_idle_notifier_v1_get_idle_notification(
            m_notifier, static_cast<std::uint32_t>(NotifyAfter.count()), m_seat);
        static const ext_idle_notification_v1_listener notificationListener
            = { &WaylandIdleQuery::idled, &WaylandIdleQuery::resumed };
        ext_idle_notification_v1_add_listener(m_notification, &notificationListener, this);
        m_now = now;
        return wl_display_roundtrip(m_display) >= 0;
    }

    int seconds(steady_clock::time_point now) override
    {
        m_now = now;
        if (!readEvents())
            return -1;
        if (!m_idle)
            return 0;
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::seconds>(now - m_idleSince).count());
    }

private:
    // Handles what the compositor has sent without waiting for more: no round trip.
    bool readEvents()
    {
        while (wl_display_prepare_read(m_display) != 0) {
            if (wl_display_dispatch_pending(m_display) < 0)
                return false;
        }
        wl_display_flush(m_display);
        pollfd socket { wl_display_get_fd(m_display), POLLIN, 0 };
        if (poll(&socket, 1, 0) > 0) {
            if (wl_display_read_events(m_display) < 0)
                return false;
        } else {
            wl_display_cancel_read(m_display);
        }
        return wl_display_dispatch_pending(m_display) >= 0;
    }

    static void global(
        void *data, wl_registry *registry, std::uint32_t name, const char *interface, std::uint32_t)
    {
        auto *self = static_cast<WaylandIdleQuery *>(data);
        if (!self->m_notifier && std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
            self->m_notifier = static_cast<ext_idle_notifier_v1 *>(
                wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
        } else if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
            self->m_seat
                = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        }
    }

    static void globalRemoved(void *, wl_registry *, std::uint32_t) { }

    // The event is read at the next question, up to a pass later than it was sent; the idle
    // time is counted from the input that was NotifyAfter before the time it is read.
    static void idled(void *data, ext_idle_notification_v1 *)
    {
        auto *self = static_cast<WaylandIdleQuery *>(data);
        if (!self->m_idle) {
            self->m_idle = true;
            self->m_idleSince = self->m_now - NotifyAfter;
        }
    }

    static void resumed(void *data, ext_idle_notification_v1 *)
    {
        static_cast<WaylandIdleQuery *>(data)->m_idle = false;
    }

    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    wl_seat *m_seat = nullptr;
    ext_idle_notifier_v1 *m_notifier = nullptr;
    ext_idle_notification_v1 *m_notification = nullptr;
    bool m_idle = false;
    steady_clock::time_point m_idleSince;
    steady_clock::time_point m_now;
};

} // namespace

std::unique_ptr<Query> openWaylandIdleNotify(steady_clock::time_point now)
{
    auto query = std::make_unique<WaylandIdleQuery>();
    if (!query->open(now))
        return nullptr;
    return query;
}

} // namespace lunor::platform::linux_idle
