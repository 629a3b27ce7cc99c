#pragma once

#include "TempFolder.h"
#include "platform/ModuleLoader.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace lunor::test {

// Sets environment variables for the fixture modules and puts the old values back at the end.
// Every variable the recorder reads starts out unset.
class FixtureEnvironment
{
public:
    FixtureEnvironment()
    {
        for (const char *name :
            { "LUNOR_FIXTURE_LOG", "LUNOR_FIXTURE_NAME", "LUNOR_FIXTURE_OTHER_NAME",
                "LUNOR_FIXTURE_NAME_NULL", "LUNOR_FIXTURE_OTHER_NAME_NULL", "LUNOR_FIXTURE_HELP",
                "LUNOR_FIXTURE_PARAMETER_TEXT", "LUNOR_FIXTURE_PARAMETER_RESULT" })
            unset(name);
    }
    ~FixtureEnvironment()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    FixtureEnvironment(const FixtureEnvironment &) = delete;
    FixtureEnvironment &operator=(const FixtureEnvironment &) = delete;

    void set(const std::string &name, const std::string &value)
    {
        save(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string &name)
    {
        save(name);
        unsetenv(name.c_str());
    }

private:
    void save(const std::string &name)
    {
        if (m_saved.contains(name))
            return;
        const char *value = std::getenv(name.c_str());
        m_saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};

// A program folder in a temporary folder, with the plug-in folder "程序功能/" in it.
class ProgramFolder
{
public:
    const std::string &path() const { return m_folder.path(); }
    std::string pluginFolder() const { return path() + "程序功能/"; }
    std::string configFile() const { return path() + "CFG.dll"; }
    std::string handOffFile() const { return path() + "Temp.txt"; }
    TempFolder &folder() { return m_folder; }

    // Copies a fixture module into the plug-in folder; returns its full path.
    std::string install(const std::string &fixture, const std::string &asName)
    {
        std::string target = pluginFolder() + asName;
        copyFixturePlugin(fixture, target);
        m_installed.push_back(target);
        return target;
    }
    // A file named like a module that is none.
    std::string installBroken(const std::string &asName)
    {
        return m_folder.write("程序功能/" + asName, "this is not a shared object\n");
    }
    const std::vector<std::string> &installed() const { return m_installed; }

    // The recorder's log, one entry per line, each split at its tabs.
    std::vector<std::vector<std::string>> log() const
    {
        std::vector<std::vector<std::string>> entries;
        std::istringstream lines(m_folder.read("fixture-log.txt"));
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> fields;
            std::istringstream parts(line);
            for (std::string field; std::getline(parts, field, '\t');)
                fields.push_back(field);
            entries.push_back(fields);
        }
        return entries;
    }
    // The calls recorded in the log as "<module file> <export>".
    std::vector<std::string> calls() const
    {
        std::vector<std::string> result;
        for (const auto &entry : log())
            result.push_back(entry.size() >= 2 ? entry[0] + " " + entry[1] : "?");
        return result;
    }

private:
    TempFolder m_folder;
    std::vector<std::string> m_installed;
};

// Whether the file is mapped into this process, judged from /proc/self/maps.
inline bool mappedInProcess(const std::string &path)
{
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.size() >= path.size()
            && line.compare(line.size() - path.size(), path.size(), path) == 0)
            return true;
    }
    return false;
}

// Asserts that none of the modules is loaded any more, so their files could be replaced.
inline void expectNoneLoaded(const std::vector<std::string> &paths)
{
    for (const std::string &path : paths) {
        EXPECT_FALSE(platform::systemModuleLoader().isLoaded(path)) << path;
        EXPECT_FALSE(mappedInProcess(path)) << path;
    }
}

// GBK bytes of a UTF-8 literal.
inline std::string gbk(const std::string &utf8)
{
    return platform::utf8ToGbk(utf8);
}

} // namespace lunor::test
