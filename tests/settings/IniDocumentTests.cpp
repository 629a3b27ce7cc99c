#include "settings/IniStore.h"

#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lunor {
namespace {

// 0x81 0x41 and 0x81 0x61 are two different GBK characters; their trail bytes are 'A' and
// 'a'. A comparison that folds the trail byte would take one for the other.
const std::string GbkTrailUpper = "\x81\x41";
const std::string GbkTrailLower = "\x81\x61";

struct NameCase
{
    std::string a;
    std::string b;
    bool equal;
};

class NameComparison : public testing::TestWithParam<NameCase>
{
};

TEST_P(NameComparison, FoldsAsciiLettersOnly)
{
    const NameCase &c = GetParam();
    EXPECT_EQ(equalNamesIgnoringCase(c.a, c.b), c.equal);
    EXPECT_EQ(equalNamesIgnoringCase(c.b, c.a), c.equal);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameComparison,
    testing::Values(NameCase { "config", "Config", true }, NameCase { "CB_OK", "cb_ok", true },
        NameCase { "Package", "packagE", true }, NameCase { "config", "configs", false },
        NameCase { "a_b", "A-B", false },
        // '[' and '{' are not letters even though they sit 0x20 apart from them.
        NameCase { "[", "{", false }, NameCase { "@", "`", false },
        NameCase { GbkTrailUpper, GbkTrailLower, false },
        NameCase { GbkTrailUpper, GbkTrailUpper, true },
        NameCase { "x" + GbkTrailUpper + "y", "X" + GbkTrailUpper + "Y", true },
        NameCase { "x" + GbkTrailUpper, "X" + GbkTrailLower, false },
        // The letter after a double-byte character is folded again.
        NameCase { GbkTrailUpper + "A", GbkTrailUpper + "a", true },
        // Non-ASCII single bytes compare exactly (no Latin-1 folding).
        NameCase { "\xC0", "\xE0", false }));

struct ValueCase
{
    std::string line;
    std::string expected;
};

class ValueReading : public testing::TestWithParam<ValueCase>
{
};

TEST_P(ValueReading, TrimsAndUnquotes)
{
    const IniDocument document = IniDocument::parse("[s]\r\n" + GetParam().line + "\r\n");
    const auto value = document.value("s", "key");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(*value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ValueReading,
    testing::Values(ValueCase { "key=value", "value" }, ValueCase { "key=  value \t", "value" },
        ValueCase { "  key\t=value", "value" }, ValueCase { "KEY=value", "value" },
        ValueCase { "key=", "" }, ValueCase { "key=a=b", "a=b" },
        ValueCase { "key=\"quoted text\"", "quoted text" },
        ValueCase { "key= 'single' ", "single" },
        ValueCase { "key=\" keeps inner spaces \"", " keeps inner spaces " },
        ValueCase { "key=\"\"", "" }, ValueCase { "key=\"", "\"" },
        ValueCase { "key=\"mixed'", "\"mixed'" }, ValueCase { "key=\"\"twice\"\"", "\"twice\"" },
        ValueCase { "key=a;not a comment", "a;not a comment" }));

TEST(IniDocument, LinesTheFormatDoesNotKnowAreNotEntries)
{
    const IniDocument document
        = IniDocument::parse("orphan=1\n[s]\n; key=comment\nno equals sign\nkey=1\n[]\nlost=2\n");
    // Keys before the first section belong to no section.
    EXPECT_EQ(document.sectionNames(), (std::vector<std::string> { "s", "" }));
    EXPECT_EQ(document.keyNames("s"), (std::vector<std::string> { "key" }));
    EXPECT_FALSE(document.value("s", "; key").has_value());
    // An empty section header still ends the section before it.
    EXPECT_FALSE(document.value("s", "lost").has_value());
}

TEST(IniDocument, SectionHeaderNamesAreTrimmed)
{
    const IniDocument document = IniDocument::parse("  [ config ]  \r\nCB_ok=1\r\n");
    EXPECT_EQ(document.sectionNames(), (std::vector<std::string> { "config" }));
    EXPECT_EQ(document.value("Config", "cb_ok"), "1");
}

TEST(IniDocument, FirstSectionAndFirstKeyOfANameWin)
{
    const IniDocument document
        = IniDocument::parse("[a]\r\nk=1\r\nk=2\r\n[A]\r\nk=3\r\nother=4\r\n");
    EXPECT_EQ(document.value("a", "k"), "1");
    EXPECT_FALSE(document.value("a", "other").has_value());
    EXPECT_EQ(document.keyNames("A"), (std::vector<std::string> { "k", "k" }));
}

TEST(IniDocument, SectionsKeepRepeatedNamesInFileOrder)
{
    const IniDocument document = IniDocument::parse(
        "; rows\r\n[1]\r\n1=first\r\nbool=1\r\n[2]\r\n1=second\r\n[1]\r\n1= \"third\" \r\n");
    const auto sections = document.sections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].name, "1");
    EXPECT_EQ(sections[0].entries,
        (std::vector<std::pair<std::string, std::string>> { { "1", "first" }, { "bool", "1" } }));
    EXPECT_EQ(sections[1].name, "2");
    EXPECT_EQ(sections[2].name, "1");
    EXPECT_EQ(sections[2].entries,
        (std::vector<std::pair<std::string, std::string>> { { "1", "third" } }));
}

TEST(IniDocument, AppendedSectionsSurviveSerializeAndParse)
{
    const std::string label = platform::utf8ToGbk("A - 倒计时方式");
    IniDocument document;
    document.appendSection("7", { { "1", label }, { "3", "" }, { "bool", "0" } });
    document.appendSection("7", { { "1", "again" } });
    EXPECT_EQ(document.serialize(), "[7]\r\n1=" + label + "\r\n3=\r\nbool=0\r\n[7]\r\n1=again\r\n");
    const auto sections = IniDocument::parse(document.serialize()).sections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].entries.size(), 3u);
    EXPECT_EQ(sections[1].entries.front().second, "again");
}

// A value must stay one line: a line break inside it would otherwise forge keys or sections.
TEST(IniDocument, LineBreaksCannotForgeLines)
{
    IniDocument document;
    document.setValue("config", "skin", "a.dll\r\n[Package]\r\nevil=x.dll");
    document.appendSection("1", { { "3", "param\n[2]" } });
    const IniDocument reread = IniDocument::parse(document.serialize());
    EXPECT_EQ(reread.sectionNames(), (std::vector<std::string> { "config", "1" }));
    EXPECT_EQ(reread.value("config", "skin"), "a.dll");
    EXPECT_EQ(reread.value("1", "3"), "param");
}

TEST(IniDocument, RemoveKeyTakesOnlyThatLine)
{
    IniDocument document = IniDocument::parse("[s]\nA=1\n; note\nB=2\n[t]\nA=3\n");
    EXPECT_TRUE(document.removeKey("S", "a"));
    EXPECT_FALSE(document.removeKey("s", "a"));
    EXPECT_FALSE(document.removeKey("missing", "B"));
    EXPECT_EQ(document.serialize(), "[s]\r\n; note\r\nB=2\r\n[t]\r\nA=3\r\n");
}

TEST(IniDocument, ParseAndSerializeKeepUntouchedLinesByteForByte)
{
    const std::string text = "; top\r\n\r\n[ s ]\r\n  key =  \"v\" \r\n\tother\r\n";
    EXPECT_EQ(IniDocument::parse(text).serialize(), text);
    // A last line without a line break is still read, and gets one when written.
    EXPECT_EQ(IniDocument::parse("[s]\nk=v").serialize(), "[s]\r\nk=v\r\n");
    EXPECT_TRUE(IniDocument::parse("").empty());
}

} // namespace
} // namespace lunor
