#include "settings/IniStore.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace lunor {
namespace {

class IniStoreTest : public testing::Test
{
protected:
    // Every file below the folder with its content, folders marked by a trailing '/': what a
    // refused or skipped write must leave exactly as it was.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> entries;
        for (const auto &entry : fs::recursive_directory_iterator(folder.path())) {
            const std::string name = fs::relative(entry.path(), folder.path()).string();
            if (entry.is_directory())
                entries[name + "/"] = "";
            else
                entries[name] = folder.read(name);
        }
        return entries;
    }

    test::TempFolder folder;
    std::string path = folder.file("CFG.dll");
    IniStore store { path };
};

TEST_F(IniStoreTest, MissingFileReadsDefaultsAndOpeningCreatesNothing)
{
    const DateTime now { 2026, 5, 17, 8, 30, 0, 0 };
    EXPECT_FALSE(store.readBool("config", "CB_ok", false));
    EXPECT_TRUE(store.readBool("config", "CB_ok", true));
    EXPECT_EQ(store.readInteger("Config", "hotindex", 3), 3);
    EXPECT_EQ(store.readString("config", "skin", "default.dll"), "default.dll");
    EXPECT_EQ(store.readDate("config", "autotime", now), now);
    EXPECT_TRUE(store.readSection("Package").empty());
    EXPECT_TRUE(store.readSections().empty());
    EXPECT_TRUE(store.readDocument().empty());

    store.deleteKey("package", "Shutdown");
    EXPECT_FALSE(folder.exists("CFG.dll"));

    store.writeBool("config", "CB_save", true);
    EXPECT_EQ(folder.read("CFG.dll"), "[config]\r\nCB_save=1\r\n");
}

TEST_F(IniStoreTest, OpeningInAMissingFolderTouchesNothing)
{
    const IniStore elsewhere(folder.file("not/there/CFG.dll"));
    EXPECT_EQ(elsewhere.readString("config", "hotkey", ""), "");
    EXPECT_FALSE(folder.exists("not"));
}

struct Write
{
    std::string section;
    std::string key;
    std::string value;
};

struct LayoutCase
{
    std::string name;
    std::optional<std::string> before; // nothing: no file yet
    std::vector<Write> writes;
    std::string after;
};

class StoreLayout : public IniStoreTest, public testing::WithParamInterface<LayoutCase>
{
};

TEST_P(StoreLayout, WritesFollowTheProfileLayout)
{
    const LayoutCase &c = GetParam();
    if (c.before)
        folder.write("CFG.dll", *c.before);
    for (const Write &w : c.writes)
        store.writeString(w.section, w.key, w.value);
    EXPECT_EQ(folder.read("CFG.dll"), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoreLayout,
    testing::Values(LayoutCase { "NewSectionsAtTheEndSpelledByTheFirstWrite", std::nullopt,
                        { { "config", "CB_ok", "1" }, { "Package", "Shutdown", "shutdown.dll" },
                            { "Config", "hotindex", "3" }, { "package", "Beep", "beep.dll" } },
                        "[config]\r\nCB_ok=1\r\nhotindex=3\r\n"
                        "[Package]\r\nShutdown=shutdown.dll\r\nBeep=beep.dll\r\n" },
        LayoutCase { "ExistingKeyRewrittenInPlace", "[Config]\r\nCB_ok=0\r\nskin=a.dll\r\n",
            { { "config", "cb_ok", "1" } }, "[Config]\r\nCB_ok=1\r\nskin=a.dll\r\n" },
        LayoutCase { "NewKeyAfterTheLastKeyOfItsSection",
            "[config]\r\nA=1\r\n\r\n[Package]\r\nX=x.dll\r\n", { { "config", "B", "2" } },
            "[config]\r\nA=1\r\nB=2\r\n\r\n[Package]\r\nX=x.dll\r\n" },
        LayoutCase { "EmptySectionGetsItsFirstKey", "[config]\r\n[Package]\r\n",
            { { "CONFIG", "k", "v" } }, "[config]\r\nk=v\r\n[Package]\r\n" },
        LayoutCase { "CommentsBlankLinesAndLfLinesSurviveInCrLf",
            "; LunorTime\n\n[config]\n; confirm first\nCB_ok = 1 \nskin=\"dark.dll\"\n",
            { { "config", "CB_save", "1" } },
            "; LunorTime\r\n\r\n[config]\r\n; confirm first\r\nCB_ok = 1 \r\n"
            "skin=\"dark.dll\"\r\nCB_save=1\r\n" },
        LayoutCase { "KeysBeforeTheFirstSectionBelongToNoSection", "CB_ok=1\n",
            { { "config", "CB_ok", "0" } }, "CB_ok=1\r\n[config]\r\nCB_ok=0\r\n" },
        LayoutCase { "GbkTrailBytesKeepTwoCharactersApart", std::nullopt,
            { { "Package", "\x81\x41", "a.dll" }, { "Package", "\x81\x61", "b.dll" } },
            "[Package]\r\n\x81\x41=a.dll\r\n\x81\x61=b.dll\r\n" }),
    [](const testing::TestParamInfo<LayoutCase> &info) { return info.param.name; });

struct NameMatchCase
{
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
};

class NameMatch : public IniStoreTest, public testing::WithParamInterface<NameMatchCase>
{
};

TEST_P(NameMatch, NamesMatchWithoutRegardToCase)
{
    folder.write("CFG.dll", GetParam().file);
    EXPECT_EQ(store.readString(GetParam().section, GetParam().key, "default"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameMatch,
    testing::Values(NameMatchCase { "[Config]\r\nCB_ok=1\r\n", "config", "CB_ok", "1" },
        NameMatchCase { "[config]\r\nhotindex=7\r\n", "Config", "hotindex", "7" },
        NameMatchCase { "[PACKAGE]\r\nshutdown=s.dll\r\n", "Package", "Shutdown", "s.dll" },
        NameMatchCase { "[Package]\r\n\x81\x41=a.dll\r\n", "package", "\x81\x61", "default" },
        NameMatchCase { "[\x81\x41]\r\nk=v\r\n", "\x81\x61", "k", "default" },
        NameMatchCase { "[config]\r\nhotkey=\r\n", "config", "hotkey", "" },
        NameMatchCase { "[config]\r\n", "config", "hotkey", "default" }));

struct IntegerCase
{
    std::optional<std::string> stored; // nothing: no such key
    int expected;
};

class IntegerReading : public IniStoreTest, public testing::WithParamInterface<IntegerCase>
{
};

TEST_P(IntegerReading, DecimalOrHexElseTheDefault)
{
    folder.write("CFG.dll",
        GetParam().stored ? "[Config]\r\nhotindex=" + *GetParam().stored + "\r\n"
                          : std::string("[Config]\r\n"));
    EXPECT_EQ(store.readInteger("config", "hotindex", 3), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerReading,
    testing::Values(IntegerCase { std::nullopt, 3 }, IntegerCase { "", 3 },
        IntegerCase { "0x0A", 10 }, IntegerCase { "0X1f", 31 }, IntegerCase { "10", 10 },
        IntegerCase { "-5", -5 }, IntegerCase { "+7", 7 }, IntegerCase { "007", 7 },
        IntegerCase { " 42 ", 42 }, IntegerCase { "\"42\"", 42 }, IntegerCase { "yes", 3 },
        IntegerCase { "12abc", 3 }, IntegerCase { "1.5", 3 }, IntegerCase { "0x", 3 },
        IntegerCase { "0xG", 3 }, IntegerCase { "-0x10", 3 }, IntegerCase { "+-1", 3 },
        IntegerCase { "--1", 3 }, IntegerCase { "2147483647", INT_MAX },
        IntegerCase { "-2147483648", INT_MIN }, IntegerCase { "2147483648", 3 },
        IntegerCase { "0xFFFFFFFF", -1 }, IntegerCase { "0x100000000", 3 }));

struct BoolCase
{
    std::optional<std::string> stored;
    bool defaultValue;
    bool expected;
};

class BoolReading : public IniStoreTest, public testing::WithParamInterface<BoolCase>
{
};

TEST_P(BoolReading, ReadAsAnIntegerWithTheDefaultOneOrZero)
{
    folder.write("CFG.dll",
        GetParam().stored ? "[config]\r\nCB_ok=" + *GetParam().stored + "\r\n"
                          : std::string("[config]\r\n"));
    EXPECT_EQ(store.readBool("config", "CB_ok", GetParam().defaultValue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BoolReading,
    testing::Values(BoolCase { "2", false, true }, BoolCase { "0x1", false, true },
        BoolCase { "-1", false, true }, BoolCase { "1", false, true },
        BoolCase { "0", true, false }, BoolCase { "0x0", true, false },
        BoolCase { "yes", false, false }, BoolCase { "yes", true, true },
        BoolCase { "true", false, false }, BoolCase { "", true, true },
        BoolCase { "", false, false }, BoolCase { std::nullopt, false, false },
        BoolCase { std::nullopt, true, true }));

TEST_F(IniStoreTest, BooleansAndIntegersAreWrittenAsDigits)
{
    store.writeBool("config", "CB_ok", true);
    EXPECT_EQ(folder.read("CFG.dll"), "[config]\r\nCB_ok=1\r\n");
    store.writeBool("config", "CB_ok", false);
    EXPECT_EQ(folder.read("CFG.dll"), "[config]\r\nCB_ok=0\r\n");
    store.writeInteger("Config", "hotindex", -12);
    EXPECT_EQ(folder.read("CFG.dll"), "[config]\r\nCB_ok=0\r\nhotindex=-12\r\n");
    EXPECT_EQ(store.readInteger("config", "HOTINDEX", 3), -12);
}

struct CutCase
{
    std::string name;
    std::string value;
    std::size_t expectedBytes;
};

class ValueLimit : public IniStoreTest, public testing::WithParamInterface<CutCase>
{
};

TEST_P(ValueLimit, ValuesAreCutAt2047BytesOnACharacterBoundary)
{
    const CutCase &c = GetParam();
    store.writeString("1", "3", c.value);
    EXPECT_EQ(store.readString("1", "3", ""), c.value.substr(0, c.expectedBytes));
    // The file keeps the whole value; only the read is limited.
    ASSERT_EQ(store.readDocument().sections().size(), 1u);
    EXPECT_EQ(store.readDocument().sections()[0].entries[0].second, c.value);
}

std::string repeated(const std::string &unit, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += unit;
    return text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ValueLimit,
    testing::Values(CutCase { "Exactly2047", std::string(2047, 'a'), 2047 },
        CutCase { "Ascii2048", std::string(2048, 'a'), 2047 },
        CutCase { "Ascii5000", std::string(5000, 'a'), 2047 },
        CutCase { "DoubleByteAcrossTheLimit", std::string(2046, 'a') + "\xB0\xA1", 2046 },
        CutCase { "DoubleByteEndingAtTheLimit", std::string(2045, 'a') + "\xB0\xA1" + "b", 2047 },
        // Trail bytes in the lead-byte range: only counting from the start tells where the
        // characters are.
        CutCase { "TrailBytesThatLookLikeLeadBytes", "a" + repeated("\x81\x81", 1100), 2047 },
        CutCase { "EvenRunOfDoubleBytes", repeated("\x81\x81", 1100), 2046 }),
    [](const testing::TestParamInfo<CutCase> &info) { return info.param.name; });

// Names of 128 bytes cost 129 in the list; 127 of them and the closing zero fill 16384 bytes.
std::string longName(int index)
{
    const std::string number = std::to_string(1000 + index);
    return std::string(128 - number.size(), 'k') + number;
}

struct NameListCase
{
    std::string name;
    std::vector<std::string> names;
    std::size_t expectedCount;
};

class NameListLimit : public IniStoreTest, public testing::WithParamInterface<NameListCase>
{
};

std::vector<std::string> longNames(int count)
{
    std::vector<std::string> names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.push_back(longName(i));
    return names;
}

std::vector<std::string> withTail(
    std::vector<std::string> names, const std::vector<std::string> &tail)
{
    names.insert(names.end(), tail.begin(), tail.end());
    return names;
}

TEST_P(NameListLimit, KeyNamesAsFarAsTheyFitWhole)
{
    const NameListCase &c = GetParam();
    std::string text = "[Package]\r\n";
    for (const std::string &name : c.names)
        text += name + "=x.dll\r\n";
    folder.write("CFG.dll", text);
    const std::vector<std::string> expected(
        c.names.begin(), c.names.begin() + static_cast<std::ptrdiff_t>(c.expectedCount));
    EXPECT_EQ(store.readSection("package"), expected);
    EXPECT_EQ(store.readDocument().keyNames("package"), c.names);
}

TEST_P(NameListLimit, SectionNamesAsFarAsTheyFitWhole)
{
    const NameListCase &c = GetParam();
    std::string text;
    for (const std::string &name : c.names)
        text += "[" + name + "]\r\n1=x\r\n";
    folder.write("mission.mss", text);
    const IniStore missions(folder.file("mission.mss"));
    const std::vector<std::string> expected(
        c.names.begin(), c.names.begin() + static_cast<std::ptrdiff_t>(c.expectedCount));
    EXPECT_EQ(missions.readSections(), expected);
    EXPECT_EQ(missions.readDocument().sections().size(), c.names.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, NameListLimit,
    testing::Values(NameListCase { "ExactFit", longNames(127), 127 },
        NameListCase { "OneLongNameTooMany", longNames(128), 127 },
        NameListCase { "NotEvenOneByteMore", withTail(longNames(127), { "z" }), 127 },
        // Nothing after the first name that does not fit, however short.
        NameListCase {
            "NothingAfterTheCut", withTail(longNames(126), { std::string(200, 'w'), "z" }), 126 },
        NameListCase { "FewShortNames", { "Shutdown", "Beep", "Restart" }, 3 }),
    [](const testing::TestParamInfo<NameListCase> &info) { return info.param.name; });

struct DateCase
{
    std::string name;
    std::string format;
    DateTime date;
    std::string written;
};

class DateRoundTrip : public IniStoreTest, public testing::WithParamInterface<DateCase>
{
};

TEST_P(DateRoundTrip, TheDateAloneInTheShortFormat)
{
    const DateCase &c = GetParam();
    store.setDateFormat(c.format);
    DateTime withTime = c.date;
    withTime.hour = 13;
    withTime.minute = 14;
    withTime.second = 15;
    store.writeDate("config", "autotime", withTime);
    EXPECT_EQ(folder.read("CFG.dll"), "[config]\r\nautotime=" + c.written + "\r\n");
    EXPECT_EQ(store.readDate("config", "autotime", DateTime { 2000, 1, 1, 1, 1, 1, 0 }), c.date);
}

INSTANTIATE_TEST_SUITE_P(Cases, DateRoundTrip,
    testing::Values(DateCase { "Iso", "%Y-%m-%d", { 2026, 3, 5 }, "2026-03-05" },
        DateCase { "UsShort", "%m/%d/%y", { 2026, 3, 5 }, "03/05/26" },
        DateCase { "LastCentury", "%d/%m/%y", { 1999, 12, 31 }, "31/12/99" },
        DateCase { "German", "%d.%m.%Y", { 2024, 2, 29 }, "29.02.2024" },
        // The padding space of %e is trimmed away when the value is read.
        DateCase { "SpacePadded", "%e/%m/%Y", { 2026, 3, 5 }, " 5/03/2026" },
        DateCase { "LiteralPercent", "%Y%%%m%%%d", { 2026, 11, 25 }, "2026%11%25" }),
    [](const testing::TestParamInfo<DateCase> &info) { return info.param.name; });

class DateDefault : public IniStoreTest, public testing::WithParamInterface<std::string>
{
};

TEST_P(DateDefault, ValuesThatDoNotConvertGiveTheDefault)
{
    store.setDateFormat("%Y-%m-%d");
    folder.write("CFG.dll", "[config]\r\nautotime=" + GetParam() + "\r\n");
    const DateTime now { 2026, 5, 17, 8, 30, 12, 0 };
    EXPECT_EQ(store.readDate("config", "autotime", now), now);
}

INSTANTIATE_TEST_SUITE_P(Cases, DateDefault,
    testing::Values("05/03/2026", "2026/03/05", "05.03.2026", "26-03-05x", "2026-03-05 10:00:00",
        "2026-02-29", "2026-13-01", "2026-00-10", "2026-04-31", "", "yesterday", "2026-03-"));

TEST_F(IniStoreTest, DateWrittenUnderAnotherFormatReadsAsTheDefault)
{
    store.setDateFormat("%d.%m.%Y");
    store.writeDate("config", "autotime", DateTime { 2026, 3, 5 });
    store.setDateFormat("%m/%d/%Y");
    const DateTime now { 2026, 5, 17, 8, 30, 12, 0 };
    EXPECT_EQ(store.readDate("config", "autotime", now), now);
}

TEST_F(IniStoreTest, DeleteKeyRemovesTheLineAndWritesNothingWhenThereIsNone)
{
    const std::string original = "[Package]\nShutdown=s.dll\n; kept\nBeep=b.dll\n";
    folder.write("CFG.dll", original);

    // Nothing to delete: the file is not even rewritten (its LF lines would become CR LF).
    store.deleteKey("package", "Restart");
    store.deleteKey("config", "Shutdown");
    EXPECT_EQ(folder.read("CFG.dll"), original);

    for (const std::string &key : store.readSection("package"))
        store.deleteKey("package", key);
    EXPECT_EQ(folder.read("CFG.dll"), "[Package]\r\n; kept\r\n");
    EXPECT_TRUE(store.readSection("Package").empty());
}

TEST_F(IniStoreTest, ChangesMadeElsewhereAreSeenAtTheNextRead)
{
    store.writeString("config", "skin", "a.dll");
    IniStore other(path);
    other.writeString("config", "skin", "b.dll");
    EXPECT_EQ(store.readString("config", "skin", ""), "b.dll");
    folder.write("CFG.dll", "[config]\r\nskin=c.dll\r\n");
    EXPECT_EQ(store.readString("config", "skin", ""), "c.dll");
}

TEST_F(IniStoreTest, WritesLeaveNoTemporaryFilesBehind)
{
    for (int i = 0; i < 20; ++i)
        store.writeInteger("Config", "hotindex", i);
    store.deleteKey("config", "hotindex");
    IniDocument document;
    document.appendSection("1", { { "1", "x" } });
    store.writeDocument(document);
    EXPECT_EQ(snapshot(), (std::map<std::string, std::string> { { "CFG.dll", "[1]\r\n1=x\r\n" } }));
}

TEST_F(IniStoreTest, WholeTaskListInOneWrite)
{
    IniDocument document;
    for (int row = 1; row <= 10000; ++row) {
        // Every tenth row repeats the serial number of the row before it.
        const std::string serial = std::to_string(row % 10 == 0 ? row - 1 : row);
        document.appendSection(serial,
            { { "1", "A" }, { "2", "op" }, { "3", std::string(40, 'p') }, { "4", "00:01:00" },
                { "5", "keep" }, { "6", std::to_string(row) }, { "7", "60" }, { "8", "0" },
                { "bool", row % 2 ? "1" : "0" } });
    }
    store.writeDocument(document);

    const auto sections = store.readDocument().sections();
    ASSERT_EQ(sections.size(), 10000u);
    EXPECT_EQ(sections[9].name, "9");
    EXPECT_EQ(sections[8].name, "9");
    EXPECT_EQ(sections[9].entries[5], (std::pair<std::string, std::string> { "6", "10" }));
    EXPECT_EQ(sections[9998].entries[8], (std::pair<std::string, std::string> { "bool", "1" }));
    EXPECT_EQ(store.readDocument().serialize(), document.serialize());
}

TEST_F(IniStoreTest, RemoveFile)
{
    store.removeFile(); // missing: no error
    store.writeBool("config", "CB_ok", true);
    store.removeFile();
    EXPECT_FALSE(folder.exists("CFG.dll"));
}

TEST_F(IniStoreTest, RemoveFileThatCannotBeRemovedFails)
{
    folder.write("CFG.dll/inside.txt", "kept");
    try {
        store.removeFile();
        FAIL() << "removing a folder in the store's place must fail";
    } catch (const StoreWriteError &error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(folder.read("CFG.dll/inside.txt"), "kept");
}

// Each set-up makes the system refuse the write, also to root, for whom permission bits on
// folders refuse nothing. It returns the store's path.
struct RefusalCase
{
    std::string name;
    std::function<std::string(const test::TempFolder &)> setUp;
};

class RefusedWrite : public IniStoreTest, public testing::WithParamInterface<RefusalCase>
{
};

TEST_P(RefusedWrite, ThrowsWithTheFullPathAndLeavesEverythingAsItWas)
{
    const std::string storePath = GetParam().setUp(folder);
    IniStore refused(storePath);
    const auto before = snapshot();

    const std::vector<std::function<void()>> writes = {
        [&] { refused.writeString("config", "skin", "b.dll"); },
        [&] { refused.writeBool("config", "CB_ok", true); },
        [&] { refused.writeInteger("Config", "hotindex", 4); },
        [&] {
            refused.writeDate("config", "autotime", DateTime { 2026, 1, 2 });
        },
        [&] {
            IniDocument document;
            document.appendSection("1", { { "1", "x" } });
            refused.writeDocument(document);
        },
    };
    for (std::size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE("write #" + std::to_string(i));
        try {
            writes[i]();
            ADD_FAILURE() << "the write was not refused";
        } catch (const StoreWriteError &error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + storePath);
            EXPECT_EQ(error.path(), storePath);
        }
        EXPECT_EQ(snapshot(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedWrite,
    testing::Values(RefusalCase { "FolderIsARegularFile",
                        [](const test::TempFolder &f) {
                            f.write("plain", "not a folder");
                            return f.file("plain/CFG.dll");
                        } },
        RefusalCase { "PathIsAFolder",
            [](const test::TempFolder &f) {
                f.write("CFG.dll/inside.txt", "kept");
                return f.file("CFG.dll");
            } },
        RefusalCase { "FileMarkedReadOnly",
            [](const test::TempFolder &f) {
                std::string file = f.write("CFG.dll", "[config]\nskin=a.dll\n");
                fs::permissions(file,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
                return file;
            } }),
    [](const testing::TestParamInfo<RefusalCase> &info) { return info.param.name; });

TEST_F(IniStoreTest, DeleteFromAReadOnlyFileIsRefused)
{
    folder.write("CFG.dll", "[Package]\nBeep=b.dll\n");
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
        fs::perm_options::remove);
    EXPECT_THROW(store.deleteKey("Package", "Beep"), StoreWriteError);
    EXPECT_EQ(folder.read("CFG.dll"), "[Package]\nBeep=b.dll\n");
}

TEST_F(IniStoreTest, ReadOnlyFolderRefusesTheWrite)
{
    const std::string sub = folder.path() + "locked";
    fs::create_directory(sub);
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    {
        // Root writes into read-only folders; there is nothing to refuse then.
        std::ofstream probe(sub + "/probe");
        if (probe) {
            probe.close();
            fs::remove(sub + "/probe");
            GTEST_SKIP() << "read-only folders do not refuse this user";
        }
    }
    IniStore locked(sub + "/CFG.dll");
    try {
        locked.writeBool("config", "CB_ok", true);
        FAIL() << "the write was not refused";
    } catch (const StoreWriteError &error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + sub + "/CFG.dll");
    }
    EXPECT_TRUE(fs::is_empty(sub));
}

} // namespace
} // namespace lunor
