#pragma once

#include "platform/ModuleLoader.h"

#include <optional>
#include <string>

namespace lunor {

class IniStore;
class UserNotices;

// Runs the uses of plug-in modules: performing an operation, obtaining a task's parameter
// and showing an operation's help. Every use loads the module named by the catalogue,
// looks up the exports it needs, calls them and frees the module before it returns, also
// on every failure. Names and parameters are code page 936 texts.
class PluginHost
{
public:
    // `programFolder` is the executable's folder with a trailing '/'.
    PluginHost(IniStore &config, std::string programFolder, UserNotices &notices,
        platform::ModuleLoader &loader = platform::systemModuleLoader());

    // Performs the operation with the parameter: confirmation when the setting asks for it,
    // then the module's Run. Failures are shown to the user; nothing is returned.
    void ExeCute(const std::string &operationName, const std::string &parameter);

    // The parameter for a new task, chosen through the module's own dialog and handed over
    // in "Temp.txt"; nothing when no task is to be added (failure or cancel).
    std::optional<std::string> obtainParameter(const std::string &operationName);

    // Shows the operation's help text.
    void showHelp(const std::string &operationName);

    // The plug-in folder, with a trailing '/'.
    std::string pluginFolder() const;
    // The full path of the hand-off file "Temp.txt".
    std::string handOffFile() const;

private:
    // The module file for a display name, from the catalogue; empty when not listed.
    std::string moduleFileFor(const std::string &operationName) const;
    // The module's full path, or empty when the file name cannot name a module of the folder.
    std::string modulePath(const std::string &moduleFile) const;

    IniStore &m_config;
    std::string m_programFolder;
    UserNotices &m_notices;
    platform::ModuleLoader &m_loader;
};

} // namespace lunor
