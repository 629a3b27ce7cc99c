#pragma once

namespace lunor::platform {

// Whole seconds the system has been running, time spent suspended included.
int uptimeSeconds();
// Whole seconds since the last mouse or keyboard input of the desktop session, from the
// source IdleTime chooses at the first call; 0 where the desktop cannot tell.
int idleSeconds();

} // namespace lunor::platform
