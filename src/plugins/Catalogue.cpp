#include "plugins/Catalogue.h"

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "plugins/LoadedModule.h"
#include "plugins/LunorPlugin.h"
#include "settings/IniStore.h"

#include <utility>

namespace lunor {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Whether a display name can be a key of the catalogue. The store trims blanks around names
// and reads a line starting with '[' as a section and one starting with ';' as a comment. An
// empty name would be found by the lookup of an empty selection. A line break would write
// foreign lines into the settings file, and '=' would end the key early so that the entry
// read back under another name and file. Such modules are skipped like modules without
// GetName.
bool usableDisplayName(const std::string &name)
{
    const auto first = name.find_first_not_of(" \t");
    if (first == std::string::npos || name[first] == '[' || name[first] == ';')
        return false;
    return name.find_first_of("\r\n=") == std::string::npos;
}

// Whether a module file name reads back from the store as written: values are trimmed of
// blanks (the pattern "*.dll" already keeps them off the end).
bool usableFileName(const std::string &name)
{
    return !name.empty() && !isBlank(name.front());
}

} // namespace

void GetUpDate(IniStore &config, const std::string &pluginFolder, platform::ModuleLoader &loader)
{
    const std::string folder
        = pluginFolder.empty() || pluginFolder.back() == '/' ? pluginFolder : pluginFolder + '/';
    const std::vector<std::string> oldKeys = config.readSection("Package");
    for (std::size_t index = oldKeys.size(); index-- > 0;)
        config.deleteKey("package", oldKeys[index]);

    for (const std::string &fileName : platform::listDirectory(folder, "*.dll")) {
        // The catalogue keeps file names in code page 936; a name that has no such spelling,
        // or that the store would not give back as written, could not be found again.
        if (!platform::representableInGbk(fileName) || !usableFileName(fileName))
            continue;
        const LoadedModule module(loader, folder + fileName);
        if (!module)
            continue;
        const auto getName = module.exportAs<LunorGetNameFunction>("GetName");
        if (!getName)
            continue;
        const std::string displayName = copyModuleText(getName());
        if (!usableDisplayName(displayName))
            continue;
        config.writeString("Package", displayName, platform::utf8ToGbk(fileName));
    }
}

std::vector<std::string> catalogueNames(const IniStore &config)
{
    return config.readSection("Package");
}

} // namespace lunor
