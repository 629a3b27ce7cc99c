#include "platform/linux/Session.h"

#include <cstdlib>
#include <cstring>

namespace lunor::platform::linux_session {

bool isWaylandSession()
{
    const char *display = std::getenv("WAYLAND_DISPLAY");
    const char *type = std::getenv("XDG_SESSION_TYPE");
    return (display && *display) || (type && std::strcmp(type, "wayland") == 0);
}

} // namespace lunor::platform::linux_session
