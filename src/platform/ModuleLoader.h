#pragma once

#include <string>

namespace lunor::platform {

// Loads plug-in modules by path, looks up exports by exact name and frees them again.
// The system counts the loads of one file; the module is unmapped at its last free.
class ModuleLoader
{
public:
    using Handle = void *;

    virtual ~ModuleLoader() = default;

    // Loads the module at an absolute path; nullptr when it cannot be loaded.
    virtual Handle load(const std::string &path) = 0;
    // The address of an export, or nullptr when the module has no export of that name.
    virtual void *symbol(Handle module, const char *name) = 0;
    virtual void unload(Handle module) = 0;
    // Whether the module at this path is mapped in the process right now.
    virtual bool isLoaded(const std::string &path) = 0;
};

ModuleLoader &systemModuleLoader();

} // namespace lunor::platform
