#pragma once

#include "platform/HotKey.h"

#include <QString>

#include <memory>

// The ways a Linux desktop offers system-wide hot keys; createHotKey picks one.
namespace lunor::platform::linux_hotkey {

// A passive key grab on the root window of the X server that the application runs on; nullptr
// when the application does not run on X (offscreen, a Wayland platform).
std::unique_ptr<HotKey> createX11HotKey(HotKey::Handler handler);

// The desktop portal's GlobalShortcuts on the session bus; nullptr when no portal with
// global shortcuts answers. The application id is the name of the program's launcher.
std::unique_ptr<HotKey> createPortalHotKey(HotKey::Handler handler, const QString &applicationId);

} // namespace lunor::platform::linux_hotkey
