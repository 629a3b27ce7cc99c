#pragma once

namespace lunor::platform::linux_session {

// Whether the desktop session is a Wayland one (XDG_SESSION_TYPE or WAYLAND_DISPLAY say so),
// where an X server, if there is one, serves only the programs that use it.
bool isWaylandSession();

} // namespace lunor::platform::linux_session
