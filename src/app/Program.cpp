#include "app/Program.h"

#include "platform/UserFolders.h"
#include "plugins/Catalogue.h"
#include "scheduler/TaskListFile.h"

#include <cstdio>
#include <stdexcept>

namespace lunor {

Program::Program(std::string programFolder, KelmuFunctions &kelmu, platform::Clock &clock,
    UserNotices &notices, platform::ModuleLoader &loader)
    : m_folder(std::move(programFolder))
    , m_kelmu(kelmu)
    , m_clock(clock)
    , m_notices(notices)
    , m_loader(loader)
    , m_pass(m_tasks, m_kelmu, *this)
{ }

Program::~Program() = default;

DateTime Program::now()
{
    return DateTime::from(m_clock.now());
}

void Program::openConfig()
{
    m_cfgIni = std::make_unique<IniStore>(m_folder + "CFG.dll");
    m_pluginHost = std::make_unique<PluginHost>(*m_cfgIni, m_folder, m_notices, m_loader);
}

void Program::rebuildCatalogue()
{
    GetUpDate(config(), m_pluginHost->pluginFolder(), m_loader);
}

void Program::openTaskListStore()
{
    m_missionIni = std::make_unique<IniStore>(m_folder + "mission.mss");
}

void Program::loadTaskList()
{
    if (m_missionIni)
        liebiao_load(m_tasks, *m_missionIni);
}

IniStore &Program::config()
{
    if (!m_cfgIni)
        throw std::logic_error("the configuration store is not open");
    return *m_cfgIni;
}

PluginHost *Program::plugins()
{
    return m_closed ? nullptr : m_pluginHost.get();
}

std::vector<std::string> Program::operationNames() const
{
    return m_cfgIni ? catalogueNames(*m_cfgIni) : std::vector<std::string>();
}

void Program::tick(const DateTime &now)
{
    if (!m_closed)
        m_pass.liebiao_caozuo(now);
}

void Program::ExeCute(const std::string &operationName, const std::string &parameter)
{
    if (PluginHost *host = plugins())
        host->ExeCute(operationName, parameter);
}

void Program::saveTaskList()
{
    if (m_closed || !m_cfgIni || !m_missionIni)
        return;
    if (m_cfgIni->readBool("config", "CB_save", false))
        liebiao_save(m_tasks, *m_missionIni);
}

void Program::finishClose()
{
    // MissionIni, then CfgIni, are released: nothing touches them any more.
    m_closed = true;
}

std::optional<std::string> Program::saveFallbackCopy()
{
    const std::optional<std::string> folder = platform::userDataFolder();
    if (!folder || m_tasks.empty())
        return std::nullopt;
    const DateTime moment = now();
    char name[64];
    std::snprintf(name, sizeof name, "mission-%04d%02d%02d-%02d%02d%02d.mss", moment.year,
        moment.month, moment.day, moment.hour, moment.minute, moment.second);
    const std::string path = *folder + name;
    try {
        IniStore copy(path);
        liebiao_save(m_tasks, copy);
    } catch (const std::exception &) {
        return std::nullopt;
    }
    return path;
}

} // namespace lunor
