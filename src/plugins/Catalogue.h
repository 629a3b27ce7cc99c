#pragma once

#include "platform/ModuleLoader.h"

#include <string>
#include <vector>

namespace lunor {

class IniStore;

// Rebuilds section "Package" of the configuration store from the plug-in folder: every entry
// is removed, then one entry (display name = module file name) is written for every module
// of the folder that loads and exports GetName, in listing order. Nothing is shown to the
// user. A refused write throws StoreWriteError.
void GetUpDate(IniStore &config, const std::string &pluginFolder,
    platform::ModuleLoader &loader = platform::systemModuleLoader());

// The display names of the catalogue in section order.
std::vector<std::string> catalogueNames(const IniStore &config);

} // namespace lunor
