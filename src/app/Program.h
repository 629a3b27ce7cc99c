#pragma once

#include "kelmu/DateTime.h"
#include "kelmu/KelmuFunctions.h"
#include "platform/Clock.h"
#include "platform/ModuleLoader.h"
#include "plugins/PluginHost.h"
#include "scheduler/TaskList.h"
#include "scheduler/TaskPass.h"
#include "settings/IniStore.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lunor {

class UserNotices;

// The program's state and the logic of its creation and close steps: the two stores, the
// plug-in host, the task list, the per-second pass and the clock. The windows get it by
// reference and keep only their controls. A due row's run goes strictly downward: the
// timer's tick, the pass, the host, the module.
class Program final : private OperationRunner
{
public:
    // `programFolder` is the executable's folder with a trailing '/'.
    Program(std::string programFolder, KelmuFunctions &kelmu, platform::Clock &clock,
        UserNotices &notices, platform::ModuleLoader &loader = platform::systemModuleLoader());
    ~Program() override;
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    const std::string &folder() const { return m_folder; }
    KelmuFunctions &kelmu() { return m_kelmu; }
    TaskList &tasks() { return m_tasks; }
    // The moment of the clock, read once for everything a tick does with it.
    DateTime now();

    // The creation step's own work, in its order. Each throws StoreWriteError when a store
    // refuses a write; the steps after it are then skipped by the caller.
    void openConfig(); // CfgIni over "CFG.dll", and the plug-in host
    void rebuildCatalogue(); // section Package from the plug-in folder
    void openTaskListStore(); // MissionIni over "mission.mss"; touches no file
    void loadTaskList(); // appends the rows of "mission.mss"

    // CfgIni; only after openConfig. Nothing reads or writes it after the close step.
    IniStore &config();
    bool configOpen() const { return m_cfgIni != nullptr && !m_closed; }
    // The plug-in host, or nullptr before openConfig and after the close step.
    PluginHost *plugins();
    std::vector<std::string> operationNames() const;

    // One pass at the tick's moment; nothing after the close step.
    void tick(const DateTime &now);

    // The close step. `saveTaskList` saves the list when auto-save is on; it throws
    // StoreWriteError when the file cannot be written, and the close step has not happened
    // then. `finishClose` ends it: afterwards no pass, run or store write happens.
    void saveTaskList();
    void finishClose();
    bool closed() const { return m_closed; }

    // When nobody can answer a refused save: writes the rows to a file of their own in the
    // user's data folder and returns its path; nothing when that fails as well.
    std::optional<std::string> saveFallbackCopy();

private:
    void ExeCute(const std::string &operationName, const std::string &parameter) override;

    std::string m_folder;
    KelmuFunctions &m_kelmu;
    platform::Clock &m_clock;
    UserNotices &m_notices;
    platform::ModuleLoader &m_loader;

    // The close step can run inside a nested event loop while callers up the stack still
    // hold references to the stores: it marks them released; the objects go with the program.
    std::unique_ptr<IniStore> m_cfgIni;
    std::unique_ptr<IniStore> m_missionIni;
    std::unique_ptr<PluginHost> m_pluginHost;
    TaskList m_tasks;
    TaskPass m_pass;
    bool m_closed = false;
};

} // namespace lunor
