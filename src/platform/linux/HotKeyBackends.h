#pragma once

#include "platform/HotKey.h"

#include <memory>

// The ways a Linux desktop offers system-wide hot keys; createHotKey picks one.
namespace lunor::platform::linux_hotkey {

// A passive key grab on the root window of the X server that the application runs on; nullptr
// when the application does not run on X (offscreen, a Wayland platform).
std::unique_ptr<HotKey> createX11HotKey(HotKey::Handler handler);

} // namespace lunor::platform::linux_hotkey
