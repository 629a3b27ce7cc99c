#include "platform/UserFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace lunor::platform {

std::optional<std::string> userDataFolder()
{
    std::filesystem::path base;
    const char *dataHome = std::getenv("XDG_DATA_HOME");
    // The base directory specification ignores a relative path.
    if (dataHome && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return std::nullopt;
        base = std::filesystem::path(home) / ".local" / "share";
    }
    const std::filesystem::path folder = base / "LunorTime";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return std::nullopt;
    return folder.string() + '/';
}

} // namespace lunor::platform
