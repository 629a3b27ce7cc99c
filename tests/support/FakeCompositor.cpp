// A Wayland compositor for tests: a seat and, unless --no-idle-notify, ext-idle-notify-v1.
// It shows nothing; it only answers. Commands on standard input, one a line:
//   idled / resumed   send that event to every idle notification, then answer "sent"
//   notifications     answer the timeouts of the idle notifications, space-separated
// It prints "ready" once its socket (the first argument, in XDG_RUNTIME_DIR) is open.
#include "ext-idle-notify-v1-server-protocol.h"

#include <unistd.h>
#include <wayland-server.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Compositor
{
    wl_display *display = nullptr;
    std::vector<wl_resource *> notifications;
    std::vector<unsigned> timeouts;
    std::string input;
};

void destroyResource(wl_client *, wl_resource *resource)
{
    wl_resource_destroy(resource);
}

// The tests' clients only ask the seat for its idle notifications.
const struct wl_seat_interface seatImplementation = { nullptr, nullptr, nullptr, nullptr };

void bindSeat(wl_client *client, void *, std::uint32_t version, std::uint32_t id)
{
    wl_resource *seat
        = wl_resource_create(client, &wl_seat_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(seat, &seatImplementation, nullptr, nullptr);
    wl_seat_send_capabilities(seat, WL_SEAT_CAPABILITY_POINTER | WL_SEAT_CAPABILITY_KEYBOARD);
}

const struct ext_idle_notification_v1_interface notificationImplementation = { &destroyResource };

void notificationGone(wl_resource *resource)
{
    auto *compositor = static_cast<Compositor *>(wl_resource_get_user_data(resource));
    std::erase(compositor->notifications, resource);
}

void getIdleNotification(wl_client *client, wl_resource *notifier, std::uint32_t id,
    std::uint32_t timeout, wl_resource *)
{
    auto *compositor = static_cast<Compositor *>(wl_resource_get_user_data(notifier));
    wl_resource *notification = wl_resource_create(
        client, &ext_idle_notification_v1_interface, wl_resource_get_version(notifier), id);
    wl_resource_set_implementation(
        notification, &notificationImplementation, compositor, &notificationGone);
    compositor->notifications.push_back(notification);
    compositor->timeouts.push_back(timeout);
}

const struct ext_idle_notifier_v1_interface notifierImplementation
    = { &destroyResource, &getIdleNotification };

void bindNotifier(wl_client *client, void *data, std::uint32_t version, std::uint32_t id)
{
    wl_resource *notifier = wl_resource_create(
        client, &ext_idle_notifier_v1_interface, static_cast<int>(version), id);
    wl_resource_set_implementation(notifier, &notifierImplementation, data, nullptr);
}

void answer(const std::string &line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void runCommand(Compositor &compositor, const std::string &command)
{
    if (command == "idled" || command == "resumed") {
        for (wl_resource *notification : compositor.notifications) {
            if (command == "idled")
                ext_idle_notification_v1_send_idled(notification);
            else
                ext_idle_notification_v1_send_resumed(notification);
        }
        wl_display_flush_clients(compositor.display);
        answer("sent");
    } else if (command == "notifications") {
        std::string timeouts;
        for (unsigned timeout : compositor.timeouts)
            timeouts += std::to_string(timeout) + " ";
        answer(timeouts);
    } else {
        answer("unknown command");
    }
}

int readCommands(int fd, std::uint32_t, void *data)
{
    auto *compositor = static_cast<Compositor *>(data);
    char buffer[256];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) {
        wl_display_terminate(compositor->display);
        return 0;
    }
    compositor->input.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = compositor->input.find('\n')) != std::string::npos;) {
        const std::string command = compositor->input.substr(0, end);
        compositor->input.erase(0, end + 1);
        runCommand(*compositor, command);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const bool idleNotify = !(argc > 2 && std::strcmp(argv[2], "--no-idle-notify") == 0);
    Compositor compositor;
    compositor.display = wl_display_create();
    if (!compositor.display || wl_display_add_socket(compositor.display, argv[1]) != 0) {
        answer("cannot open the socket");
        return 1;
    }
    wl_global_create(compositor.display, &wl_seat_interface, 1, &compositor, &bindSeat);
    if (idleNotify) {
        wl_global_create(
            compositor.display, &ext_idle_notifier_v1_interface, 1, &compositor, &bindNotifier);
    }
    wl_event_loop_add_fd(wl_display_get_event_loop(compositor.display), STDIN_FILENO,
        WL_EVENT_READABLE, &readCommands, &compositor);
    answer("ready");
    wl_display_run(compositor.display);
    wl_display_destroy(compositor.display);
    return 0;
}
