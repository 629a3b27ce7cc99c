#pragma once

#include <optional>
#include <string>

namespace lunor::platform {

// The program's folder in the user's data folder ($XDG_DATA_HOME, by default
// ~/.local/share, then "LunorTime/"), created when missing; nothing when it cannot be made.
// Ends with '/'.
std::optional<std::string> userDataFolder();

} // namespace lunor::platform
