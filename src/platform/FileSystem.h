#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Paths are in the file system's own encoding (UTF-8 here); folders end with '/'.
namespace lunor::platform {

// The folder of the running executable, with a trailing separator.
std::string executableDirectory();
// The full path of the running executable.
std::string executablePath();

// Names (no folder) of the entries of a folder that match a wildcard pattern such as "*.dll",
// compared without regard to ASCII case as the Windows listing does. Every kind of entry
// counts: hidden files and matching folders too. Sorted by name, so the order is stable.
// A missing folder gives an empty list.
std::vector<std::string> listDirectory(const std::string &folder, const std::string &pattern);

bool fileExists(const std::string &path);
// Deletes a file; false when it could not be deleted (a missing file included).
bool removeFile(const std::string &path);
// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::string &path);

class WriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Replaces the file with the given bytes so that a crash at any moment leaves either the old
// or the new content: writes a temporary file beside it, flushes it to disk and renames it.
// Throws WriteError when the system refuses any step.
void writeFileAtomically(const std::string &path, const std::string &bytes);

} // namespace lunor::platform
