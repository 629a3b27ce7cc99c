#include "plugins/Catalogue.h"

#include "PluginTestSupport.h"
#include "RecordingNotices.h"
#include "plugins/PluginHost.h"
#include "settings/IniStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace lunor::test {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

class CatalogueTest : public ::testing::Test
{
protected:
    void TearDown() override { expectNoneLoaded(program.installed()); }

    void rebuild() { GetUpDate(config, program.pluginFolder()); }

    // The catalogue in section order, names and files in UTF-8 for readable failures.
    Entries entries() const
    {
        Entries result;
        for (const std::string &name : catalogueNames(config)) {
            result.emplace_back(platform::gbkToUtf8(name),
                platform::gbkToUtf8(config.readString("Package", name, "")));
        }
        return result;
    }

    FixtureEnvironment environment;
    ProgramFolder program;
    IniStore config { program.configFile() };
};

TEST_F(CatalogueTest, EntriesOfAnEarlierStartAreReplaced)
{
    program.folder().write("CFG.dll",
        "[config]\r\nCB_ok=1\r\n"
        "[Package]\r\nGone=gone.dll\r\nAlso gone=also.dll\r\n"
        "[Other]\r\nkey=value\r\n");
    program.install("recorder.dll", "rec.dll");

    rebuild();

    EXPECT_EQ(entries(), (Entries { { "记录器", "rec.dll" } }));
    EXPECT_EQ(config.readString("Package", "Gone", ""), "");
    EXPECT_TRUE(config.readBool("config", "CB_ok", false));
    EXPECT_EQ(config.readString("Other", "key", ""), "value");
}

TEST_F(CatalogueTest, EntriesFollowTheListingAndTheLastModuleOfANameWins)
{
    program.install("recorder.dll", "a.dll");
    program.install("othername.dll", "b.dll");
    program.install("recorder.dll", "c.dll");

    rebuild();

    EXPECT_EQ(entries(), (Entries { { "记录器", "c.dll" }, { "Other operation", "b.dll" } }));
    EXPECT_EQ(program.calls(),
        (std::vector<std::string> { "a.dll GetName", "b.dll GetName", "c.dll GetName" }));
}

TEST_F(CatalogueTest, NamesThatDifferOnlyInCaseShareOneEntry)
{
    environment.set("LUNOR_FIXTURE_NAME", "Alarm");
    environment.set("LUNOR_FIXTURE_OTHER_NAME", "ALARM");
    program.install("recorder.dll", "a.dll");
    program.install("othername.dll", "b.dll");

    rebuild();

    const Entries found = entries();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(equalNamesIgnoringCase(found[0].first, "alarm")) << found[0].first;
    EXPECT_EQ(found[0].second, "b.dll");
}

TEST_F(CatalogueTest, EntriesThatGiveNoOperationAreSkipped)
{
    program.install("recorder.dll", "1-good.dll");
    program.install("noname.dll", "2-noname.dll");
    program.installBroken("3-text.dll");
    std::filesystem::create_directories(program.pluginFolder() + "4-folder.dll");
    program.install("othername.dll", "5-upper.DLL");
    program.install("recorder.dll", "6-other-extension.so");
    program.install("recorder.dll", "7-no-extension");

    rebuild();

    EXPECT_EQ(
        entries(), (Entries { { "记录器", "1-good.dll" }, { "Other operation", "5-upper.DLL" } }));
    // The module without GetName was loaded and freed; the other files were never modules.
    EXPECT_EQ(program.calls(),
        (std::vector<std::string> { "1-good.dll GetName", "5-upper.DLL GetName" }));
}

struct FolderCase
{
    const char *name;
    bool folderExists;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const FolderCase &c, std::ostream *out)
{
    *out << c.name;
}

class EmptyFolderTest : public CatalogueTest, public ::testing::WithParamInterface<FolderCase>
{
};

TEST_P(EmptyFolderTest, LeavesTheSectionEmpty)
{
    program.folder().write("CFG.dll", "[Package]\r\nGone=gone.dll\r\n");
    if (GetParam().folderExists)
        std::filesystem::create_directories(program.pluginFolder());

    rebuild();

    EXPECT_TRUE(entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, EmptyFolderTest,
    ::testing::Values(FolderCase { "empty", true }, FolderCase { "missing", false }),
    [](const auto &info) { return std::string(info.param.name); });

struct NameCase
{
    const char *name;
    std::string variable;
    std::string value;
};

void PrintTo(const NameCase &c, std::ostream *out)
{
    *out << c.name;
}

class UnusableNameTest : public CatalogueTest, public ::testing::WithParamInterface<NameCase>
{
};

// Names that the catalogue cannot hold as keys are skipped like a module without GetName.
TEST_P(UnusableNameTest, IsNotEntered)
{
    environment.set(GetParam().variable, GetParam().value);
    program.install("recorder.dll", "a.dll");
    program.install("othername.dll", "b.dll");

    rebuild();

    EXPECT_EQ(entries(), (Entries { { "Other operation", "b.dll" } }));
    EXPECT_EQ(config.readSections().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnusableNameTest,
    ::testing::Values(NameCase { "empty", "LUNOR_FIXTURE_NAME", "" },
        NameCase { "null", "LUNOR_FIXTURE_NAME_NULL", "1" },
        NameCase { "line_break", "LUNOR_FIXTURE_NAME", "Evil\r\n[config]\r\nCB_ok=1" },
        NameCase { "line_feed", "LUNOR_FIXTURE_NAME", "Evil\nname" },
        NameCase { "equals_sign", "LUNOR_FIXTURE_NAME", "a=b" },
        NameCase { "blanks_only", "LUNOR_FIXTURE_NAME", " \t " },
        NameCase { "section_bracket", "LUNOR_FIXTURE_NAME", " [config]" },
        NameCase { "comment_mark", "LUNOR_FIXTURE_NAME", ";note" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CatalogueTest, FileNamesAreKeptInCodePage936)
{
    environment.set("LUNOR_FIXTURE_NAME", gbk("关机"));
    program.install("recorder.dll", "关机.dll");

    rebuild();

    EXPECT_EQ(config.readString("Package", gbk("关机"), ""), gbk("关机.dll"));

    // The host finds the module again through that entry.
    RecordingNotices notices;
    PluginHost host(config, program.path(), notices);
    host.ExeCute(gbk("关机"), "now");
    EXPECT_TRUE(notices.notices.empty());
    EXPECT_EQ(program.calls(), (std::vector<std::string> { "关机.dll GetName", "关机.dll Run" }));
}

// Names without a code page 936 spelling, or that the store would trim, could not be found
// again through the catalogue.
TEST_F(CatalogueTest, FileNamesThatCannotBeStoredAreSkipped)
{
    program.install("recorder.dll", "smile-\xF0\x9F\x98\x80.dll");
    program.install("recorder.dll", "bad-\xFF.dll");
    program.install("recorder.dll", " leading-blank.dll");

    rebuild();

    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(program.calls().empty());
}

TEST_F(CatalogueTest, RefusedWriteIsPassedOnAndTheModuleFreed)
{
    program.install("recorder.dll", "a.dll");
    IniStore unwritable(program.path() + "no-such-folder/CFG.dll");

    EXPECT_THROW(GetUpDate(unwritable, program.pluginFolder()), StoreWriteError);
}

} // namespace
} // namespace lunor::test
