#pragma once

#include "platform/IdleTime.h"

#include <chrono>
#include <memory>

struct sd_bus;

// The sources of the idle time on a Linux desktop. Each opener asks its source once and gives
// nullptr when it does not answer for this session.
namespace lunor::platform::linux_idle {

using Query = IdleTime::Query;

// The user's session bus (DBUS_SESSION_BUS_ADDRESS, else the bus in XDG_RUNTIME_DIR).
std::shared_ptr<sd_bus> openSessionBus();
std::unique_ptr<Query> openMutterIdleMonitor(const std::shared_ptr<sd_bus> &bus);
std::unique_ptr<Query> openScreenSaver(const std::shared_ptr<sd_bus> &bus);

// The compositor of WAYLAND_DISPLAY, when it offers ext-idle-notify-v1 and a seat.
std::unique_ptr<Query> openWaylandIdleNotify(std::chrono::steady_clock::time_point now);

// The X server of DISPLAY, when it has the MIT-SCREEN-SAVER extension.
std::unique_ptr<Query> openX11ScreenSaver();

} // namespace lunor::platform::linux_idle
