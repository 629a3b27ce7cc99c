#include "plugins/PluginHost.h"

#include "PluginTestSupport.h"
#include "RecordingNotices.h"
#include "settings/IniStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace lunor::test {
namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

const std::string BrokenBox = "information|提示帮助|程序错误，请重新安装程序！";
const std::string RecorderConfirm = "confirm|确认执行|您确认执行“记录器”的任务吗？";
const std::string Beep = "beep||";
const std::string BrokenPlain = "plain||程序错误，请重新安装程序！";

// How the module file "op.dll" of the operation "Op" is provided.
enum class ModuleFile { None, Fixture, NotAModule, Folder };

class PluginHostTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        std::vector<std::string> all = program.installed();
        all.push_back(program.pluginFolder() + "op.dll");
        all.push_back(program.path() + "op.dll");
        expectNoneLoaded(all);
    }

    void provide(ModuleFile kind, const std::string &fixture)
    {
        switch (kind) {
        case ModuleFile::None:
            break;
        case ModuleFile::Fixture:
            program.install(fixture, "op.dll");
            break;
        case ModuleFile::NotAModule:
            program.installBroken("op.dll");
            break;
        case ModuleFile::Folder:
            std::filesystem::create_directories(program.pluginFolder() + "op.dll");
            break;
        }
    }

    void catalogue(const std::string &name, const std::string &file)
    {
        config.writeString("Package", name, file);
    }

    void apply(const Environment &variables)
    {
        for (const auto &[name, value] : variables)
            environment.set(name, value);
    }

    // The notices as "kind|caption|text", in UTF-8 for readable failures.
    std::vector<std::string> shown() const
    {
        std::vector<std::string> result;
        for (const auto &notice : notices.notices) {
            result.push_back(notice.kind + "|" + platform::gbkToUtf8(notice.caption) + "|"
                + platform::gbkToUtf8(notice.text));
        }
        return result;
    }

    FixtureEnvironment environment;
    ProgramFolder program;
    IniStore config { program.configFile() };
    RecordingNotices notices;
    PluginHost host { config, program.path(), notices };
};

TEST_F(PluginHostTest, FoldersOfTheProgram)
{
    EXPECT_EQ(host.pluginFolder(), program.path() + "程序功能/");
    EXPECT_EQ(host.handOffFile(), program.path() + "Temp.txt");
}

// The check that every test ends with must be able to see a loaded module.
TEST_F(PluginHostTest, LoadedModuleIsSeenByTheChecks)
{
    const std::string path = program.install("recorder.dll", "seen.dll");
    platform::ModuleLoader &loader = platform::systemModuleLoader();
    void *handle = loader.load(path);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(loader.isLoaded(path));
    EXPECT_TRUE(mappedInProcess(path));
    loader.unload(handle);
    EXPECT_FALSE(loader.isLoaded(path));
    EXPECT_FALSE(mappedInProcess(path));
}

// ---- ExeCute -------------------------------------------------------------------------------

struct ExecuteCase
{
    const char *name;
    ModuleFile file;
    const char *fixture;
    std::optional<std::string> catalogueFile; // value of "Op" in Package; nullopt: no entry
    bool confirmation;
    bool answer;
    Environment environment;
    std::vector<std::string> expectedNotices;
    std::vector<std::string> expectedCalls;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const ExecuteCase &c, std::ostream *out)
{
    *out << c.name;
}

class ExecuteTest : public PluginHostTest, public ::testing::WithParamInterface<ExecuteCase>
{
};

TEST_P(ExecuteTest, ShowsRunsAndFrees)
{
    const ExecuteCase &c = GetParam();
    provide(c.file, c.fixture ? c.fixture : "");
    if (c.catalogueFile)
        catalogue("Op", *c.catalogueFile);
    config.writeBool("config", "CB_ok", c.confirmation);
    notices.answer = c.answer;
    apply(c.environment);

    host.ExeCute("Op", "param");

    EXPECT_EQ(shown(), c.expectedNotices);
    EXPECT_EQ(program.calls(), c.expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExecuteTest,
    ::testing::Values(ExecuteCase { "operation_not_in_catalogue", ModuleFile::Fixture,
                          "recorder.dll", std::nullopt, false, true, {}, { BrokenBox }, {} },
        ExecuteCase { "module_file_missing", ModuleFile::None, nullptr, "op.dll", false, true, {},
            { BrokenBox }, {} },
        ExecuteCase { "file_is_not_a_module", ModuleFile::NotAModule, nullptr, "op.dll", false,
            true, {}, { BrokenBox }, {} },
        ExecuteCase { "folder_named_like_a_module", ModuleFile::Folder, nullptr, "op.dll", false,
            true, {}, { BrokenBox }, {} },
        ExecuteCase { "run_missing", ModuleFile::Fixture, "norun.dll", "op.dll", false, true, {},
            { BrokenBox }, {} },
        ExecuteCase { "run_missing_after_confirmation", ModuleFile::Fixture, "norun.dll", "op.dll",
            true, true, {}, { RecorderConfirm, BrokenBox }, { "op.dll GetName" } },
        ExecuteCase { "confirmation_declined", ModuleFile::Fixture, "recorder.dll", "op.dll", true,
            false, {}, { RecorderConfirm }, { "op.dll GetName" } },
        ExecuteCase { "confirmation_accepted", ModuleFile::Fixture, "recorder.dll", "op.dll", true,
            true, {}, { RecorderConfirm }, { "op.dll GetName", "op.dll Run" } },
        ExecuteCase { "confirmation_off", ModuleFile::Fixture, "recorder.dll", "op.dll", false,
            false, {}, {}, { "op.dll Run" } },
        // The box names the operation as the module reports it now, not as the row has it.
        ExecuteCase { "confirmation_with_module_name", ModuleFile::Fixture, "recorder.dll",
            "op.dll", true, true, { { "LUNOR_FIXTURE_NAME", "Renamed" } },
            { "confirm|确认执行|您确认执行“Renamed”的任务吗？" },
            { "op.dll GetName", "op.dll Run" } },
        ExecuteCase { "confirmation_with_null_name", ModuleFile::Fixture, "recorder.dll", "op.dll",
            true, true, { { "LUNOR_FIXTURE_NAME_NULL", "1" } },
            { "confirm|确认执行|您确认执行“”的任务吗？" }, { "op.dll GetName", "op.dll Run" } },
        ExecuteCase { "confirmation_without_getname", ModuleFile::Fixture, "noname.dll", "op.dll",
            true, true, {}, { BrokenBox }, {} },
        ExecuteCase { "without_confirmation_getname_is_not_needed", ModuleFile::Fixture,
            "noname.dll", "op.dll", false, true, {}, {}, { "op.dll Run" } }),
    [](const auto &info) { return std::string(info.param.name); });

// A hand-edited catalogue must not reach modules outside the plug-in folder.
TEST_F(PluginHostTest, ModuleOutsideThePluginFolderIsNotLoaded)
{
    copyFixturePlugin("recorder.dll", program.path() + "op.dll");
    catalogue("Op", "../op.dll");

    host.ExeCute("Op", "param");

    EXPECT_EQ(shown(), std::vector<std::string> { BrokenBox });
    EXPECT_TRUE(program.calls().empty());
}

TEST_F(PluginHostTest, ConfirmationSettingIsReadAtEveryCall)
{
    program.install("recorder.dll", "op.dll");
    catalogue("Op", "op.dll");
    notices.answer = false;

    config.writeBool("config", "CB_ok", true);
    host.ExeCute("Op", "");
    config.writeBool("config", "CB_ok", false);
    host.ExeCute("Op", "");

    EXPECT_EQ(shown(), std::vector<std::string> { RecorderConfirm });
    EXPECT_EQ(program.calls(), (std::vector<std::string> { "op.dll GetName", "op.dll Run" }));
}

TEST_F(PluginHostTest, ModuleNamedInChinese)
{
    program.install("recorder.dll", "关机.dll");
    catalogue(gbk("关机操作"), gbk("关机.dll"));

    host.ExeCute(gbk("关机操作"), "x");

    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(program.calls(), std::vector<std::string> { "关机.dll Run" });
}

// ---- The argument of Run -------------------------------------------------------------------

struct RunArgumentCase
{
    const char *name;
    std::string parameter;
    std::vector<std::string> expectedFields; // after "op.dll" and "Run"
};

void PrintTo(const RunArgumentCase &c, std::ostream *out)
{
    *out << c.name;
}

class RunArgumentTest : public PluginHostTest, public ::testing::WithParamInterface<RunArgumentCase>
{
};

TEST_P(RunArgumentTest, ReachesRunInTheCountedForm)
{
    program.install("recorder.dll", "op.dll");
    catalogue("Op", "op.dll");

    host.ExeCute("Op", GetParam().parameter);

    std::vector<std::string> expected { "op.dll", "Run" };
    expected.insert(
        expected.end(), GetParam().expectedFields.begin(), GetParam().expectedFields.end());
    EXPECT_EQ(program.log(), std::vector<std::vector<std::string>> { expected });
}

INSTANTIATE_TEST_SUITE_P(Cases, RunArgumentTest,
    ::testing::Values(RunArgumentCase { "empty_is_null", "", { "null" } },
        RunArgumentCase { "one_byte", "x", { "refcount=1", "length=1", "nul=yes", "text=x" } },
        RunArgumentCase { "words", "shutdown -h now",
            { "refcount=1", "length=15", "nul=yes", "text=shutdown -h now" } },
        RunArgumentCase { "code_page_936", gbk("关机"),
            { "refcount=1", "length=4", "nul=yes", "text=" + gbk("关机") } },
        RunArgumentCase { "control_characters", "a\tb\\c",
            { "refcount=1", "length=5", "nul=yes", "text=a\\tb\\\\c" } },
        // The length, not the first zero byte, says where the text ends.
        RunArgumentCase { "inner_zero_byte", std::string("ab\0cd", 5),
            { "refcount=1", "length=5", "nul=yes", "text=" + std::string("ab\0cd", 5) } },
        RunArgumentCase { "longest_store_value", std::string(2047, 'p'),
            { "refcount=1", "length=2047", "nul=yes", "text=" + std::string(2047, 'p') } }),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Obtaining a parameter -----------------------------------------------------------------

struct ParameterCase
{
    const char *name;
    ModuleFile file;
    const char *fixture;
    bool catalogued;
    Environment environment;
    std::optional<std::string> earlierHandOff; // "Temp.txt" before the call
    std::optional<std::string> expected;
    std::vector<std::string> expectedNotices;
    std::optional<std::string> handOffAfter; // nullopt: no "Temp.txt" afterwards
};

void PrintTo(const ParameterCase &c, std::ostream *out)
{
    *out << c.name;
}

class ObtainParameterTest : public PluginHostTest,
                            public ::testing::WithParamInterface<ParameterCase>
{
};

TEST_P(ObtainParameterTest, HandsOverTheFirstLine)
{
    const ParameterCase &c = GetParam();
    provide(c.file, c.fixture ? c.fixture : "");
    if (c.catalogued)
        catalogue("Op", "op.dll");
    apply(c.environment);
    if (c.earlierHandOff)
        program.folder().write("Temp.txt", *c.earlierHandOff);

    const std::optional<std::string> parameter = host.obtainParameter("Op");

    EXPECT_EQ(parameter, c.expected);
    EXPECT_EQ(shown(), c.expectedNotices);
    if (c.handOffAfter) {
        ASSERT_TRUE(program.folder().exists("Temp.txt"));
        EXPECT_EQ(program.folder().read("Temp.txt"), *c.handOffAfter);
    } else {
        EXPECT_FALSE(program.folder().exists("Temp.txt"));
    }
}

Environment Chosen(const std::string &text)
{
    return { { "LUNOR_FIXTURE_PARAMETER_RESULT", "1" }, { "LUNOR_FIXTURE_PARAMETER_TEXT", text } };
}

INSTANTIATE_TEST_SUITE_P(Failures, ObtainParameterTest,
    ::testing::Values(ParameterCase { "not_in_catalogue", ModuleFile::Fixture, "recorder.dll",
                          false, Chosen("new"), "old", std::nullopt, { Beep, BrokenPlain }, "old" },
        ParameterCase { "module_file_missing", ModuleFile::None, nullptr, true, {}, "old",
            std::nullopt, { Beep, BrokenPlain }, "old" },
        ParameterCase { "file_is_not_a_module", ModuleFile::NotAModule, nullptr, true, {},
            std::nullopt, std::nullopt, { Beep, BrokenPlain }, std::nullopt },
        ParameterCase { "folder_named_like_a_module", ModuleFile::Folder, nullptr, true, {},
            std::nullopt, std::nullopt, { Beep, BrokenPlain }, std::nullopt },
        ParameterCase { "parameter_missing", ModuleFile::Fixture, "noparameter.dll", true, {},
            "old", std::nullopt, { Beep, BrokenPlain }, "old" }),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Cancel, ObtainParameterTest,
    ::testing::Values(
        // A cancelling module may still have written the file; it stays for a later task.
        ParameterCase { "zero_after_writing", ModuleFile::Fixture, "recorder.dll", true,
            { { "LUNOR_FIXTURE_PARAMETER_RESULT", "0" },
                { "LUNOR_FIXTURE_PARAMETER_TEXT", "chosen\r\n" } },
            std::nullopt, std::nullopt, {}, "chosen\r\n" },
        ParameterCase { "zero_leaves_earlier_file", ModuleFile::Fixture, "recorder.dll", true,
            { { "LUNOR_FIXTURE_PARAMETER_RESULT", "0" } }, "left\r\n", std::nullopt, {},
            "left\r\n" },
        // Only the low byte of the result register counts.
        ParameterCase { "low_byte_zero", ModuleFile::Fixture, "recorder.dll", true,
            { { "LUNOR_FIXTURE_PARAMETER_RESULT", "0x100" },
                { "LUNOR_FIXTURE_PARAMETER_TEXT", "x" } },
            std::nullopt, std::nullopt, {}, "x" },
        ParameterCase { "low_byte_set", ModuleFile::Fixture, "recorder.dll", true,
            { { "LUNOR_FIXTURE_PARAMETER_RESULT", "0xFFFF0002" },
                { "LUNOR_FIXTURE_PARAMETER_TEXT", "x" } },
            std::nullopt, "x", {}, std::nullopt }),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(HandOff, ObtainParameterTest,
    ::testing::Values(
        ParameterCase { "several_lines_crlf", ModuleFile::Fixture, "recorder.dll", true,
            Chosen("first\r\nsecond\r\n"), std::nullopt, "first", {}, std::nullopt },
        ParameterCase { "several_lines_lf", ModuleFile::Fixture, "recorder.dll", true,
            Chosen("first\nsecond"), std::nullopt, "first", {}, std::nullopt },
        ParameterCase { "several_lines_cr", ModuleFile::Fixture, "recorder.dll", true,
            Chosen("first\rsecond"), std::nullopt, "first", {}, std::nullopt },
        ParameterCase { "one_line_without_break", ModuleFile::Fixture, "recorder.dll", true,
            Chosen("only"), std::nullopt, "only", {}, std::nullopt },
        ParameterCase { "empty_first_line", ModuleFile::Fixture, "recorder.dll", true,
            Chosen("\nsecond"), std::nullopt, "", {}, std::nullopt },
        ParameterCase { "empty_file", ModuleFile::Fixture, "recorder.dll", true, Chosen(""),
            std::nullopt, "", {}, std::nullopt },
        ParameterCase { "code_page_936", ModuleFile::Fixture, "recorder.dll", true,
            Chosen(gbk("关机\r\n")), std::nullopt, gbk("关机"), {}, std::nullopt },
        ParameterCase { "no_file", ModuleFile::Fixture, "recorder.dll", true, {}, std::nullopt, "",
            {}, std::nullopt },
        // A file left behind earlier is taken when the module writes none.
        ParameterCase { "earlier_file_taken", ModuleFile::Fixture, "recorder.dll", true, {},
            "stale\r\nmore", "stale", {}, std::nullopt },
        ParameterCase { "module_file_replaces_earlier", ModuleFile::Fixture, "recorder.dll", true,
            Chosen("fresh"), "stale", "fresh", {}, std::nullopt }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PluginHostTest, FileOfACancelledModuleGoesToTheNextTask)
{
    program.install("recorder.dll", "op.dll");
    catalogue("Op", "op.dll");

    environment.set("LUNOR_FIXTURE_PARAMETER_RESULT", "0");
    environment.set("LUNOR_FIXTURE_PARAMETER_TEXT", "written before cancel");
    EXPECT_EQ(host.obtainParameter("Op"), std::nullopt);

    environment.set("LUNOR_FIXTURE_PARAMETER_RESULT", "1");
    environment.unset("LUNOR_FIXTURE_PARAMETER_TEXT");
    EXPECT_EQ(host.obtainParameter("Op"), "written before cancel");
    EXPECT_FALSE(program.folder().exists("Temp.txt"));
    EXPECT_TRUE(notices.notices.empty());
}

// ---- Operation help ------------------------------------------------------------------------

struct HelpCase
{
    const char *name;
    ModuleFile file;
    const char *fixture;
    bool catalogued;
    const char *operation;
    Environment environment;
    std::vector<std::string> expectedNotices;
};

void PrintTo(const HelpCase &c, std::ostream *out)
{
    *out << c.name;
}

class ShowHelpTest : public PluginHostTest, public ::testing::WithParamInterface<HelpCase>
{
};

TEST_P(ShowHelpTest, ShowsTheModulesText)
{
    const HelpCase &c = GetParam();
    provide(c.file, c.fixture ? c.fixture : "");
    if (c.catalogued)
        catalogue("Op", "op.dll");
    apply(c.environment);

    host.showHelp(c.operation);

    EXPECT_EQ(shown(), c.expectedNotices);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShowHelpTest,
    ::testing::Values(
        HelpCase { "several_lines", ModuleFile::Fixture, "recorder.dll", true, "Op", {},
            { "information|提示帮助|记录器的帮助：\r\n把每次调用写进记录文件。\r\nLine 3" } },
        HelpCase { "text_exactly_as_returned", ModuleFile::Fixture, "recorder.dll", true, "Op",
            { { "LUNOR_FIXTURE_HELP", "  one\n\ntwo  " } },
            { "information|提示帮助|  one\n\ntwo  " } },
        HelpCase {
            "help_missing", ModuleFile::Fixture, "nohelp.dll", true, "Op", {}, { BrokenBox } },
        HelpCase { "not_in_catalogue", ModuleFile::Fixture, "recorder.dll", false, "Op", {},
            { BrokenPlain } },
        HelpCase { "nothing_selected", ModuleFile::Fixture, "recorder.dll", true, "", {},
            { BrokenPlain } },
        HelpCase {
            "module_file_missing", ModuleFile::None, nullptr, true, "Op", {}, { BrokenPlain } },
        HelpCase { "file_is_not_a_module", ModuleFile::NotAModule, nullptr, true, "Op", {},
            { BrokenPlain } }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace lunor::test
