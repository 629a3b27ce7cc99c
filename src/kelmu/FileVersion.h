#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lunor::kelmu {

// What a file without usable version information gives.
inline constexpr std::string_view NoFileVersion = "0.0.0.0";

// The version of an executable file as four decimal numbers joined by "." ("1.0.0.0"):
// the fixed file information of a PE file's version resource, or the "version" of the
// package note (owner "FDO", type 0xcafe1a7e, ".note.package") of an ELF file. Any other
// file, and any damaged or cut-short one, gives NoFileVersion. `path` is UTF-8.
std::string readFileVersion(const std::string &path);

// The "version" member of a package note's JSON object, normalised by normalizeVersion.
std::optional<std::string> versionFromPackageJson(std::string_view json);

// Four decimal numbers from 0 to 65535 joined by "." (three are taken with ".0" added), written
// without leading zeros; nothing for any other text.
std::optional<std::string> normalizeVersion(std::string_view text);

} // namespace lunor::kelmu
