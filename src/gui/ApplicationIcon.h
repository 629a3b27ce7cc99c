#pragma once

#include <QIcon>

namespace lunor::gui {

// The program's own icon (a clock face) at every size the desktop asks for, built into the
// program: the same picture as the launcher's icon "lunortime" in the icon theme. Every window
// and the tray icon show it.
QIcon applicationIcon();

} // namespace lunor::gui
