#pragma once

#include "platform/ModuleLoader.h"

#include <string>
#include <utility>

namespace lunor {

// A plug-in module loaded for one use: freed when the use ends, on every path out of it
// (a refused store write and an exception included). Every place that loads a module goes
// through this guard.
class LoadedModule
{
public:
    // Loads the module at an absolute path; a module that does not load, or an empty path,
    // leaves the guard empty.
    LoadedModule(platform::ModuleLoader &loader, const std::string &path)
        : m_loader(loader)
        , m_handle(path.empty() ? nullptr : loader.load(path))
    { }
    ~LoadedModule() { free(); }
    LoadedModule(const LoadedModule &) = delete;
    LoadedModule &operator=(const LoadedModule &) = delete;

    explicit operator bool() const { return m_handle != nullptr; }

    // The export of that exact name as a function pointer; nullptr when it is missing.
    template <typename Function> Function exportAs(const char *name) const
    {
        // A module's exports are functions: an object pointer from the loader becomes one.
        return reinterpret_cast<Function>(m_loader.symbol(m_handle, name));
    }

    void free()
    {
        if (m_handle)
            m_loader.unload(std::exchange(m_handle, nullptr));
    }

private:
    platform::ModuleLoader &m_loader;
    platform::ModuleLoader::Handle m_handle;
};

// A text that a module returned, copied up to its NUL; a null address reads as empty.
inline std::string copyModuleText(const char *text)
{
    return text ? std::string(text) : std::string();
}

} // namespace lunor
