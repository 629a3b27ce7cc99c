#pragma once

namespace lunor::platform {

// Whole seconds the system has been running, time spent suspended included.
int uptimeSeconds();
// Whole seconds since the last mouse or keyboard input of the desktop session; 0 where the
// system cannot tell (no X server, or no screen-saver extension).
int idleSeconds();

} // namespace lunor::platform
