#include "plugins/PluginHost.h"

#include "common/SystemTexts.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "plugins/LoadedModule.h"
#include "plugins/LunorPlugin.h"
#include "plugins/UserNotices.h"
#include "settings/IniStore.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

namespace lunor {
namespace {

const std::string &confirmCaption()
{
    static const std::string text = platform::utf8ToGbk("确认执行");
    return text;
}

std::string confirmText(const std::string &displayName)
{
    static const std::string before = platform::utf8ToGbk("您确认执行“");
    static const std::string after = platform::utf8ToGbk("”的任务吗？");
    return before + displayName + after;
}

// Only the low byte (AL) of Parameter's result is defined; calling it as returning a whole
// register and masking keeps whatever the module left in the upper bits out of the decision.
using ParameterAsRegister = unsigned int(LUNOR_PLUGIN_CALL *)();

// The argument block of Run: [int32 reference count = 1][int32 length][text][NUL], handed
// over as the address of the text. Allocated in 32-bit units so the two counts are aligned.
class RunArgument
{
public:
    explicit RunArgument(const std::string &text)
    {
        if (text.empty())
            return;
        const std::size_t bytes = 8 + text.size() + 1;
        m_block = std::make_unique<std::int32_t[]>((bytes + 3) / 4);
        m_block[0] = 1;
        m_block[1] = static_cast<std::int32_t>(text.size());
        char *textStart = reinterpret_cast<char *>(m_block.get() + 2);
        std::memcpy(textStart, text.data(), text.size());
        textStart[text.size()] = '\0';
    }

    const char *pointer() const
    {
        return m_block ? reinterpret_cast<const char *>(m_block.get() + 2) : nullptr;
    }

private:
    std::unique_ptr<std::int32_t[]> m_block;
};

// The parameter is a store value or the first line of "Temp.txt"; one that the 32-bit length
// field cannot describe cannot be handed over.
bool fitsRunArgument(const std::string &text)
{
    return text.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - 16;
}

std::string firstLine(const std::string &content)
{
    return content.substr(0, content.find_first_of("\r\n"));
}

} // namespace

PluginHost::PluginHost(IniStore &config, std::string programFolder, UserNotices &notices,
    platform::ModuleLoader &loader)
    : m_config(config)
    , m_programFolder(std::move(programFolder))
    , m_notices(notices)
    , m_loader(loader)
{ }

std::string PluginHost::pluginFolder() const
{
    return m_programFolder + "程序功能/";
}

std::string PluginHost::handOffFile() const
{
    return m_programFolder + "Temp.txt";
}

std::string PluginHost::moduleFileFor(const std::string &operationName) const
{
    // Nothing selected is never an operation, whatever the store makes of an empty key.
    if (operationName.empty())
        return {};
    return m_config.readString("Package", operationName, "");
}

std::string PluginHost::modulePath(const std::string &moduleFile) const
{
    // An operation missing from the catalogue has no file name: that is a failed load.
    if (moduleFile.empty())
        return {};
    const std::string fileName = platform::gbkToUtf8(moduleFile);
    // The catalogue holds bare file names. One with a separator (a hand-edited settings file)
    // would reach outside the plug-in folder, so it is treated as a module that does not load.
    if (fileName.find('/') != std::string::npos || fileName.find('\0') != std::string::npos)
        return {};
    return pluginFolder() + fileName;
}

void PluginHost::ExeCute(const std::string &operationName, const std::string &parameter)
{
    LoadedModule module(m_loader, modulePath(moduleFileFor(operationName)));
    if (!module) {
        m_notices.information(texts::helpCaption(), texts::brokenPlugin());
        return;
    }

    if (m_config.readBool("config", "CB_ok", false)) {
        const auto getName = module.exportAs<LunorGetNameFunction>("GetName");
        if (!getName) {
            // Only a module replaced after start-up can lack GetName here. Without its name
            // there is nothing to ask the user about, so it is reported as broken like the
            // other failures of a run, and nothing runs.
            m_notices.information(texts::helpCaption(), texts::brokenPlugin());
            return;
        }
        const std::string name = copyModuleText(getName());
        if (!m_notices.confirm(confirmCaption(), confirmText(name)))
            return;
    }

    const auto run = module.exportAs<LunorRunFunction>("Run");
    if (!run || !fitsRunArgument(parameter)) {
        m_notices.information(texts::helpCaption(), texts::brokenPlugin());
        return;
    }
    const RunArgument argument(parameter);
    run(argument.pointer());
    // The module goes first, then the copy of the parameter.
    module.free();
}

std::optional<std::string> PluginHost::obtainParameter(const std::string &operationName)
{
    LoadedModule module(m_loader, modulePath(moduleFileFor(operationName)));
    if (!module) {
        m_notices.beep();
        m_notices.plainMessage(texts::brokenPlugin());
        return std::nullopt;
    }

    const auto parameterExport = module.exportAs<ParameterAsRegister>("Parameter");
    if (!parameterExport) {
        m_notices.beep();
        m_notices.plainMessage(texts::brokenPlugin());
        return std::nullopt;
    }

    const unsigned int result = parameterExport();
    if ((result & 0xFFu) == 0)
        return std::nullopt; // cancelled; a "Temp.txt" lying there stays for a later task

    // Read only now: the module has just written the file, or left none.
    std::string parameter;
    const std::string handOff = handOffFile();
    if (platform::fileExists(handOff)) {
        parameter = firstLine(platform::readFile(handOff).value_or(std::string()));
        platform::removeFile(handOff);
    }
    module.free();
    return parameter;
}

void PluginHost::showHelp(const std::string &operationName)
{
    LoadedModule module(m_loader, modulePath(moduleFileFor(operationName)));
    if (!module) {
        m_notices.plainMessage(texts::brokenPlugin());
        return;
    }

    const auto help = module.exportAs<LunorHelpFunction>("Help");
    // The text is shown while the module is still loaded, since it lives in the module.
    if (help)
        m_notices.information(texts::helpCaption(), copyModuleText(help()));
    else
        m_notices.information(texts::helpCaption(), texts::brokenPlugin());
}

} // namespace lunor
