#include "platform/ModuleLoader.h"

#include <dlfcn.h>

namespace lunor::platform {
namespace {

class DlModuleLoader final : public ModuleLoader
{
public:
    Handle load(const std::string &path) override
    {
        // A bare name would search the system's library paths: always pass a path with a slash.
        if (path.find('/') == std::string::npos)
            return nullptr;
        return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }

    void *symbol(Handle module, const char *name) override
    {
        return module ? dlsym(module, name) : nullptr;
    }

    void unload(Handle module) override
    {
        if (module)
            dlclose(module);
    }

    bool isLoaded(const std::string &path) override
    {
        void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (!handle)
            return false;
        dlclose(handle);
        return true;
    }
};

} // namespace

ModuleLoader &systemModuleLoader()
{
    static DlModuleLoader loader;
    return loader;
}

} // namespace lunor::platform
