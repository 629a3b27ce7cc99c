#include "kelmu/FileVersion.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <ostream>
#include <random>
#include <sstream>
#include <vector>

namespace lunor::kelmu {
namespace {

// A failing row shows its name rather than its raw bytes.
template <typename Row>
requires requires(const Row &row)
{
    row.name;
}
void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

using test::TempFolder;

constexpr const char *NoVersion = "0.0.0.0";

std::string fileContent(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Little helper for laying out binary headers in either byte order.
class ByteWriter
{
public:
    explicit ByteWriter(bool bigEndian = false)
        : m_bigEndian(bigEndian)
    { }

    std::string bytes;

    void put(std::uint64_t value, int width)
    {
        bytes.resize(bytes.size() + static_cast<std::size_t>(width));
        set(bytes.size() - static_cast<std::size_t>(width), value, width);
    }
    void set(std::size_t at, std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (m_bigEndian ? width - 1 - i : i);
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> shift & 0xff);
        }
    }
    void raw(std::string_view text) { bytes.append(text); }
    void padTo(std::size_t alignment)
    {
        while (bytes.size() % alignment != 0)
            bytes += '\0';
    }
    void zeros(std::size_t count) { bytes.append(count, '\0'); }

private:
    bool m_bigEndian;
};

// --- The package note's JSON -----------------------------------------------------------------

struct JsonCase
{
    const char *json;
    std::optional<std::string> version;
};

void PrintTo(const JsonCase &row, std::ostream *out)
{
    *out << row.json;
}

class PackageJson : public testing::TestWithParam<JsonCase>
{
};

TEST_P(PackageJson, AcceptsOnlyAFourPartVersionMember)
{
    EXPECT_EQ(versionFromPackageJson(GetParam().json), GetParam().version) << GetParam().json;
}

INSTANTIATE_TEST_SUITE_P(Documents, PackageJson,
    testing::Values(
        JsonCase { R"({"type":"lunortime","name":"LunorTime","version":"1.0.0.0"})", "1.0.0.0" },
        JsonCase { R"({"version":"1.2.3"})", "1.2.3.0" },
        JsonCase { R"({"version":"01.002.0003.00004"})", "1.2.3.4" },
        JsonCase { R"({"version":"65535.65535.65535.65535"})", "65535.65535.65535.65535" },
        JsonCase { " {\n\t\"version\" : \"2.5.0.17\" }\n ", "2.5.0.17" },
        JsonCase { R"({"a":[1,-2.5e3,true,false,null,{"b":[]}],"version":"4.3.2.1"})", "4.3.2.1" },
        JsonCase { R"({"vers\u0069on":"1.2.3.4"})", "1.2.3.4" },
        JsonCase { R"({"version":"1.2.3.4","version":"5.6.7.8"})", "1.2.3.4" },
        JsonCase { R"({"nested":{"version":"9.9.9.9"},"version":"1.0.0.0"})", "1.0.0.0" },
        JsonCase { R"({"version":"65536.0.0.0"})", {} }, JsonCase { R"({"version":"1.2"})", {} },
        JsonCase { R"({"version":"1.2.3.4.5"})", {} }, JsonCase { R"({"version":"1..3.4"})", {} },
        JsonCase { R"({"version":"1.2.3.4 "})", {} }, JsonCase { R"({"version":"v1.2.3.4"})", {} },
        JsonCase { R"({"version":"-1.2.3.4"})", {} },
        JsonCase { R"({"version":"1.2.3.\u0034"})", "1.2.3.4" },
        JsonCase { R"({"version":""})", {} }, JsonCase { R"({"version":1.2})", {} },
        JsonCase { R"({"nested":{"version":"9.9.9.9"}})", {} },
        JsonCase { R"({"name":"\"version\":\"9.9.9.9\""})", {} },
        JsonCase { R"({"version":"1.2.3.4")", {} },
        JsonCase { R"({"version":"1.2.3.4"} trailing)", {} },
        JsonCase { R"({"version" "1.2.3.4"})", {} }, JsonCase { R"({"version":"1.2.3.4",})", {} },
        JsonCase { R"(["version","1.2.3.4"])", {} }, JsonCase { "", {} }));

TEST(PackageJson, StopsAtTheNulPadding)
{
    const std::string padded("{\"version\":\"3.2.1.0\"}\0\0\0", 24);
    EXPECT_EQ(versionFromPackageJson(padded), "3.2.1.0");
}

TEST(PackageJson, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    const std::string deep = "{\"a\":" + std::string(100000, '[') + R"(],"version":"1.0.0.0"})";
    EXPECT_EQ(versionFromPackageJson(deep), std::nullopt);
}

// --- ELF files assembled here ----------------------------------------------------------------

struct Note
{
    std::string owner;
    std::uint32_t type;
    std::string description;
};

constexpr std::uint32_t PackageType = 0xcafe1a7e;

struct ElfLayout
{
    bool is64 = true;
    bool bigEndian = false;
    std::string sectionName = ".note.package";
    std::uint32_t sectionType = 7; // SHT_NOTE
    std::vector<Note> notes = {
        { "GNU", 3, "\x01\x02\x03\x04\x05\x06\x07\x08" },
        { "FDO", PackageType, R"({"type":"lunortime","name":"fixture","version":"3.1.4.1"})" },
    };
    bool sectionHeaders = true;
    bool noteSegment = false;
    // Makes the section name table claim bytes past the end of the file.
    std::uint64_t namesSizeExtra = 0;
};

// header | notes | section names | [program header] | [section headers]
std::string buildElf(const ElfLayout &layout)
{
    ByteWriter w(layout.bigEndian);
    const int word = layout.is64 ? 8 : 4;
    w.raw("\177ELF");
    w.put(layout.is64 ? 2 : 1, 1);
    w.put(layout.bigEndian ? 2 : 1, 1);
    w.put(1, 1);
    w.padTo(16);
    w.put(3, 2); // ET_DYN
    w.put(layout.is64 ? 62 : 3, 2); // x86-64 / i386
    w.put(1, 4);
    w.put(0, word); // entry
    const std::size_t programOffsetAt = w.bytes.size();
    w.put(0, word);
    const std::size_t sectionOffsetAt = w.bytes.size();
    w.put(0, word);
    w.put(0, 4); // flags
    w.put(layout.is64 ? 64 : 52, 2); // header size
    w.put(layout.is64 ? 56 : 32, 2); // program header size
    w.put(layout.noteSegment ? 1 : 0, 2);
    w.put(layout.is64 ? 64 : 40, 2); // section header size
    w.put(layout.sectionHeaders ? 3 : 0, 2);
    w.put(layout.sectionHeaders ? 2 : 0, 2); // index of the name table

    w.padTo(8);
    const std::size_t notesOffset = w.bytes.size();
    for (const Note &note : layout.notes) {
        w.put(note.owner.size() + 1, 4);
        w.put(note.description.size() + 1, 4);
        w.put(note.type, 4);
        w.raw(note.owner);
        w.zeros(1);
        w.padTo(4);
        w.raw(note.description);
        w.zeros(1);
        w.padTo(4);
    }
    const std::size_t notesSize = w.bytes.size() - notesOffset;

    const std::size_t namesOffset = w.bytes.size();
    w.raw(std::string("\0.shstrtab\0", 11) + layout.sectionName);
    w.zeros(1);
    const std::size_t namesSize = w.bytes.size() - namesOffset;

    if (layout.noteSegment) {
        w.padTo(8);
        w.set(programOffsetAt, w.bytes.size(), word);
        w.put(4, 4); // PT_NOTE
        if (layout.is64) {
            w.put(4, 4); // flags
            w.put(notesOffset, 8);
            w.put(notesOffset, 8);
            w.put(notesOffset, 8);
            w.put(notesSize, 8);
            w.put(notesSize, 8);
            w.put(4, 8);
        } else {
            w.put(notesOffset, 4);
            w.put(notesOffset, 4);
            w.put(notesOffset, 4);
            w.put(notesSize, 4);
            w.put(notesSize, 4);
            w.put(4, 4);
            w.put(4, 4);
        }
    }

    if (layout.sectionHeaders) {
        w.padTo(8);
        w.set(sectionOffsetAt, w.bytes.size(), word);
        const auto section = [&](std::uint64_t name, std::uint64_t type, std::uint64_t offset,
                                 std::uint64_t size, std::uint64_t alignment) {
            w.put(name, 4);
            w.put(type, 4);
            w.put(type == 7 ? 2 : 0, word); // flags: SHF_ALLOC for the notes
            w.put(0, word); // address
            w.put(offset, word);
            w.put(size, word);
            w.put(0, 4); // link
            w.put(0, 4); // info
            w.put(alignment, word);
            w.put(0, word); // entry size
        };
        section(0, 0, 0, 0, 0);
        section(11, layout.sectionType, notesOffset, notesSize, 4);
        section(1, 3, namesOffset, namesSize + layout.namesSizeExtra, 1);
    }
    return w.bytes;
}

class FileVersionFiles : public testing::Test
{
protected:
    std::string versionOf(const std::string &bytes)
    {
        return readFileVersion(folder.write("file.bin", bytes));
    }

    TempFolder folder;
};

struct ElfLayoutCase
{
    const char *name;
    bool is64;
    bool bigEndian;
};

class ElfLayouts : public FileVersionFiles, public testing::WithParamInterface<ElfLayoutCase>
{
protected:
    ElfLayout layoutOfCase() const
    {
        ElfLayout layout;
        layout.is64 = GetParam().is64;
        layout.bigEndian = GetParam().bigEndian;
        return layout;
    }
};

TEST_P(ElfLayouts, ReadsThePackageNote)
{
    EXPECT_EQ(versionOf(buildElf(layoutOfCase())), "3.1.4.1");
}

TEST_P(ElfLayouts, ReadsTheNoteSegmentWithoutSectionHeaders)
{
    ElfLayout stripped = layoutOfCase();
    stripped.sectionHeaders = false;
    stripped.noteSegment = true;
    EXPECT_EQ(versionOf(buildElf(stripped)), "3.1.4.1");
}

TEST_P(ElfLayouts, EveryCutShortCopyHasNoVersion)
{
    for (const bool segment : { false, true }) {
        ElfLayout layout = layoutOfCase();
        layout.noteSegment = segment;
        const std::string whole = buildElf(layout);
        for (std::size_t length = 0; length < whole.size(); ++length)
            ASSERT_EQ(versionOf(whole.substr(0, length)), NoVersion) << length;
    }
}

TEST_P(ElfLayouts, ADamagedByteNeverGivesAnotherVersion)
{
    const std::string whole = buildElf(layoutOfCase());
    for (std::size_t position = 0; position < whole.size(); ++position) {
        std::string damaged = whole;
        damaged[position] = static_cast<char>(damaged[position] ^ 0xff);
        const std::string version = versionOf(damaged);
        ASSERT_TRUE(version == "3.1.4.1" || version == NoVersion) << position << ": " << version;
    }
}

INSTANTIATE_TEST_SUITE_P(ClassesAndByteOrders, ElfLayouts,
    testing::Values(ElfLayoutCase { "Elf64Little", true, false },
        ElfLayoutCase { "Elf64Big", true, true }, ElfLayoutCase { "Elf32Little", false, false },
        ElfLayoutCase { "Elf32Big", false, true }),
    [](const testing::TestParamInfo<ElfLayoutCase> &info) { return std::string(info.param.name); });

struct ElfCase
{
    const char *name;
    std::function<void(ElfLayout &)> change;
    const char *version;
};

class ElfNotes : public FileVersionFiles, public testing::WithParamInterface<ElfCase>
{
};

TEST_P(ElfNotes, FindsOnlyTheFdoPackageNote)
{
    ElfLayout layout;
    GetParam().change(layout);
    EXPECT_EQ(versionOf(buildElf(layout)), GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(Variants, ElfNotes,
    testing::Values(ElfCase { "NoteSectionOfAnotherName",
                        [](ElfLayout &s) { s.sectionName = ".note.other"; }, "3.1.4.1" },
        ElfCase { "ThreePartVersion",
            [](ElfLayout &s) { s.notes[1].description = R"({"version":"1.2.3"})"; }, "1.2.3.0" },
        ElfCase { "OwnerIsNotFdo", [](ElfLayout &s) { s.notes[1].owner = "GNU"; }, NoVersion },
        ElfCase { "OtherNoteType", [](ElfLayout &s) { s.notes[1].type = 3; }, NoVersion },
        ElfCase { "SectionIsNoNote", [](ElfLayout &s) { s.sectionType = 1; }, NoVersion },
        ElfCase { "NoNotes", [](ElfLayout &s) { s.notes.clear(); }, NoVersion },
        ElfCase { "BadVersion",
            [](ElfLayout &s) { s.notes[1].description = R"({"version":"1.2"})"; }, NoVersion },
        ElfCase { "NotJson", [](ElfLayout &s) { s.notes[1].description = "version 1.2.3.4"; },
            NoVersion },
        // A damaged file: a section whose bytes would lie past its end.
        ElfCase { "SectionPastTheEnd", [](ElfLayout &s) { s.namesSizeExtra = 4096; }, NoVersion }),
    [](const testing::TestParamInfo<ElfCase> &info) { return std::string(info.param.name); });

// --- PE files assembled here -----------------------------------------------------------------

std::string utf16(std::string_view ascii)
{
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    out.append(2, '\0');
    return out;
}

// A DLL with a .text section and a .rsrc section whose resource directory leads through
// RT_VERSION / 1 / 0x0409 to a VS_VERSIONINFO block; the offsets tests damage are kept.
struct PeImage
{
    std::string bytes;
    std::size_t peOffset = 0;
    std::size_t optionalHeader = 0;
    std::size_t directories = 0;
    std::size_t resourceSectionHeader = 0;
    std::size_t resources = 0; // file offset of the .rsrc section
    std::size_t versionInfo = 0;

    void set(std::size_t at, std::uint64_t value, int width)
    {
        ByteWriter w;
        w.bytes = std::move(bytes);
        w.set(at, value, width);
        bytes = std::move(w.bytes);
    }
};

constexpr std::uint32_t ResourceAddress = 0x2000;
constexpr std::size_t RootDirectory = 0x00;
constexpr std::size_t IconDirectory = 0x20;
constexpr std::size_t NameDirectory = 0x30;
constexpr std::size_t LanguageDirectory = 0x48;
constexpr std::size_t DataEntry = 0x60;
constexpr std::size_t VersionBlock = 0x70;

PeImage buildPe(bool plus, std::uint32_t fileMs, std::uint32_t fileLs)
{
    ByteWriter res;
    const auto directory
        = [&](const std::vector<std::pair<std::uint32_t, std::uint32_t>> &entries) {
              res.zeros(12);
              res.put(0, 2);
              res.put(entries.size(), 2);
              for (const auto &[name, target] : entries) {
                  res.put(name, 4);
                  res.put(target, 4);
              }
          };
    directory({ { 3, 0x80000000 | IconDirectory }, { 16, 0x80000000 | NameDirectory } });
    directory({});
    directory({ { 1, 0x80000000 | LanguageDirectory } });
    directory({ { 0x0409, DataEntry } });
    res.put(ResourceAddress + VersionBlock, 4);
    const std::size_t dataSizeAt = res.bytes.size();
    res.put(0, 4);
    res.put(0, 4);
    res.put(0, 4);

    // VS_VERSIONINFO with its VS_FIXEDFILEINFO and a VarFileInfo child.
    const std::size_t block = res.bytes.size();
    res.put(0, 2);
    res.put(52, 2);
    res.put(0, 2);
    res.raw(utf16("VS_VERSION_INFO"));
    res.padTo(4);
    res.put(0xFEEF04BD, 4);
    res.put(0x00010000, 4);
    res.put(fileMs, 4);
    res.put(fileLs, 4);
    res.put(0x00090009, 4); // product version 9.9.9.9: must not be taken for the file's
    res.put(0x00090009, 4);
    res.put(0x3f, 4);
    res.put(0, 4);
    res.put(0x00040004, 4); // VOS_NT_WINDOWS32
    res.put(2, 4); // VFT_DLL
    res.zeros(12);
    const std::size_t child = res.bytes.size();
    res.put(0, 2);
    res.put(0, 2);
    res.put(1, 2);
    res.raw(utf16("VarFileInfo"));
    res.padTo(4);
    const std::size_t var = res.bytes.size();
    res.put(0, 2);
    res.put(4, 2);
    res.put(0, 2);
    res.raw(utf16("Translation"));
    res.padTo(4);
    res.put(0x04b00409, 4);
    res.set(var, res.bytes.size() - var, 2);
    res.set(child, res.bytes.size() - child, 2);
    res.set(block, res.bytes.size() - block, 2);
    res.set(dataSizeAt, res.bytes.size() - block, 4);
    const std::size_t resourceSize = res.bytes.size();
    res.padTo(0x200);

    PeImage image;
    ByteWriter w;
    w.raw("MZ");
    w.zeros(0x3a);
    image.peOffset = 0x80;
    w.put(image.peOffset, 4);
    w.zeros(image.peOffset - w.bytes.size());
    w.raw(std::string_view("PE\0\0", 4));
    const std::size_t optionalSize = plus ? 240 : 224;
    w.put(plus ? 0x8664 : 0x14c, 2);
    w.put(2, 2); // sections
    w.zeros(12);
    w.put(optionalSize, 2);
    w.put(0x2102, 2);
    image.optionalHeader = w.bytes.size();
    w.put(plus ? 0x20b : 0x10b, 2);
    image.directories = image.optionalHeader + (plus ? 112 : 96);
    w.zeros(image.directories - 4 - w.bytes.size());
    w.put(16, 4);
    w.zeros(16);
    w.put(ResourceAddress, 4);
    w.put(resourceSize, 4);
    w.zeros(image.optionalHeader + optionalSize - w.bytes.size());
    const auto sectionHeader = [&](std::string_view name, std::uint32_t address,
                                   std::uint32_t virtualSize, std::uint32_t rawOffset) {
        w.raw(name);
        w.zeros(8 - name.size());
        w.put(virtualSize, 4);
        w.put(address, 4);
        w.put(0x200, 4);
        w.put(rawOffset, 4);
        w.zeros(12);
        w.put(0x40000040, 4);
    };
    sectionHeader(".text", 0x1000, 0x10, 0x200);
    image.resourceSectionHeader = w.bytes.size();
    sectionHeader(".rsrc", ResourceAddress, static_cast<std::uint32_t>(resourceSize), 0x400);
    w.padTo(0x200);
    w.zeros(0x200);
    image.resources = w.bytes.size();
    image.versionInfo = image.resources + VersionBlock;
    w.raw(res.bytes);
    image.bytes = std::move(w.bytes);
    return image;
}

struct PeVersionCase
{
    const char *name;
    bool plus;
    std::uint32_t fileMs;
    std::uint32_t fileLs;
    const char *version;
};

class PeVersions : public FileVersionFiles, public testing::WithParamInterface<PeVersionCase>
{
};

TEST_P(PeVersions, ReadsTheFixedFileInformation)
{
    const PeVersionCase &c = GetParam();
    EXPECT_EQ(versionOf(buildPe(c.plus, c.fileMs, c.fileLs).bytes), c.version);
}

INSTANTIATE_TEST_SUITE_P(Images, PeVersions,
    testing::Values(PeVersionCase { "Pe32", false, 0x00020005, 0x00000011, "2.5.0.17" },
        PeVersionCase { "Pe32Plus", true, 0x00010002, 0x00030004, "1.2.3.4" },
        PeVersionCase { "Largest", false, 0xffffffff, 0xffffffff, "65535.65535.65535.65535" },
        PeVersionCase { "Zero", false, 0, 0, "0.0.0.0" }),
    [](const testing::TestParamInfo<PeVersionCase> &info) { return std::string(info.param.name); });

struct PeDamage
{
    const char *name;
    std::function<void(PeImage &)> damage;
};

class DamagedPe : public FileVersionFiles, public testing::WithParamInterface<PeDamage>
{
};

TEST_P(DamagedPe, HasNoVersion)
{
    PeImage image = buildPe(false, 0x00020005, 0x00000011);
    GetParam().damage(image);
    EXPECT_EQ(versionOf(image.bytes), NoVersion);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedPe,
    testing::Values(PeDamage { "NoMz", [](PeImage &i) { i.bytes[0] = 'X'; } },
        PeDamage { "PeOffsetPastTheEnd", [](PeImage &i) { i.set(0x3c, 0x7ffffff0, 4); } },
        PeDamage { "PeOffsetWraps", [](PeImage &i) { i.set(0x3c, 0xffffffff, 4); } },
        PeDamage { "NoPeSignature", [](PeImage &i) { i.bytes[i.peOffset + 1] = 'X'; } },
        PeDamage { "UnknownOptionalHeader", [](PeImage &i) { i.set(i.optionalHeader, 0x107, 2); } },
        PeDamage { "OptionalHeaderCutShort", [](PeImage &i) { i.set(i.peOffset + 20, 64, 2); } },
        PeDamage { "TooFewDirectories", [](PeImage &i) { i.set(i.directories - 4, 2, 4); } },
        PeDamage { "NoResourceTable", [](PeImage &i) { i.set(i.directories + 16, 0, 4); } },
        PeDamage { "ResourcesOutsideEverySection",
            [](PeImage &i) { i.set(i.directories + 16, 0x9000, 4); } },
        PeDamage {
            "ResourceTableTooSmall", [](PeImage &i) { i.set(i.directories + 20, 0x40, 4); } },
        PeDamage { "SectionPastTheEnd",
            [](PeImage &i) { i.set(i.resourceSectionHeader + 20, 0x7ffffe00, 4); } },
        PeDamage { "SectionSizePastTheEnd",
            [](PeImage &i) { i.set(i.resourceSectionHeader + 16, 0xfffffe00, 4); } },
        PeDamage { "TooManySections", [](PeImage &i) { i.set(i.peOffset + 6, 0xffff, 2); } },
        PeDamage { "NoVersionType", [](PeImage &i) { i.set(i.resources + 0x18, 17, 4); } },
        PeDamage { "VersionTypeIsNoDirectory",
            [](PeImage &i) { i.set(i.resources + 0x1c, NameDirectory, 4); } },
        PeDamage { "TypeDirectoryPastTheTable",
            [](PeImage &i) { i.set(i.resources + 0x1c, 0x80000000 | 0x7ff0, 4); } },
        PeDamage { "TooManyEntries", [](PeImage &i) { i.set(i.resources + 0x0e, 0xffff, 2); } },
        PeDamage { "EmptyNameDirectory",
            [](PeImage &i) { i.set(i.resources + NameDirectory + 0x0e, 0, 2); } },
        PeDamage { "LanguageIsADirectory",
            [](PeImage &i) {
                i.set(i.resources + LanguageDirectory + 0x14, 0x80000000 | RootDirectory, 4);
            } },
        PeDamage { "DataOutsideEverySection",
            [](PeImage &i) { i.set(i.resources + DataEntry, 0x7000, 4); } },
        PeDamage {
            "DataSizeHuge", [](PeImage &i) { i.set(i.resources + DataEntry + 4, 0xfffffff0, 4); } },
        PeDamage { "DataTooShort", [](PeImage &i) { i.set(i.resources + DataEntry + 4, 80, 4); } },
        PeDamage { "WrongKey", [](PeImage &i) { i.bytes[i.versionInfo + 6] = 'W'; } },
        PeDamage { "NoFixedInformation", [](PeImage &i) { i.set(i.versionInfo + 2, 0, 2); } },
        PeDamage { "BlockLongerThanData", [](PeImage &i) { i.set(i.versionInfo, 0x400, 2); } },
        PeDamage {
            "WrongSignature", [](PeImage &i) { i.set(i.versionInfo + 40, 0xFEEF04BE, 4); } }),
    [](const testing::TestParamInfo<PeDamage> &info) { return std::string(info.param.name); });

TEST_F(FileVersionFiles, EveryCutShortPeHasNoVersion)
{
    const std::string whole = buildPe(false, 0x00020005, 0x00000011).bytes;
    for (std::size_t length = 0; length < whole.size(); ++length)
        ASSERT_EQ(versionOf(whole.substr(0, length)), NoVersion) << length;
}

TEST_F(FileVersionFiles, ADamagedPeByteGivesNoVersionOrAWellFormedOne)
{
    const PeImage image = buildPe(false, 0x00020005, 0x00000011);
    const std::size_t versionFields = image.versionInfo + 40 + 8;
    for (std::size_t position = 0; position < image.bytes.size(); ++position) {
        std::string damaged = image.bytes;
        damaged[position] = static_cast<char>(damaged[position] ^ 0xff);
        const std::string version = versionOf(damaged);
        if (position >= versionFields && position < versionFields + 8)
            ASSERT_EQ(normalizeVersion(version), version) << position;
        else
            ASSERT_TRUE(version == "2.5.0.17" || version == NoVersion)
                << position << ": " << version;
    }
}

// --- Files of the build and odd files --------------------------------------------------------

TEST_F(FileVersionFiles, OurLibraryCarriesTheProgramVersion)
{
    EXPECT_EQ(readFileVersion(KELMU_LIBRARY_FILE), LUNOR_PROJECT_VERSION);
}

TEST_F(FileVersionFiles, AnExecutableWithTheNoteCarriesTheProgramVersion)
{
    EXPECT_EQ(readFileVersion(KELMU_VERSIONED_PROGRAM), LUNOR_PROJECT_VERSION);
}

TEST_F(FileVersionFiles, AModuleCarriesTheVersionItWasGiven)
{
    EXPECT_EQ(readFileVersion(KELMU_VERSIONED_FIXTURE), "2.5.0.17");
}

TEST_F(FileVersionFiles, AModuleWithoutNoteHasNoVersion)
{
    EXPECT_EQ(readFileVersion(KELMU_UNVERSIONED_FIXTURE), NoVersion);
}

TEST_F(FileVersionFiles, CutShortCopiesOfOurLibraryHaveNoVersion)
{
    const std::string whole = fileContent(KELMU_LIBRARY_FILE);
    ASSERT_GT(whole.size(), 4096u);
    for (const std::size_t length : { std::size_t { 0 }, std::size_t { 3 }, std::size_t { 16 },
             std::size_t { 63 }, std::size_t { 64 }, std::size_t { 1024 }, whole.size() / 2,
             whole.size() - 64, whole.size() - 1 })
        EXPECT_EQ(versionOf(whole.substr(0, length)), NoVersion) << length;
    EXPECT_EQ(versionOf(whole), LUNOR_PROJECT_VERSION);
}

TEST_F(FileVersionFiles, MissingFilesFoldersAndOtherFilesHaveNoVersion)
{
    EXPECT_EQ(readFileVersion(folder.file("missing.dll")), NoVersion);
    EXPECT_EQ(readFileVersion(folder.path()), NoVersion);
    EXPECT_EQ(readFileVersion(""), NoVersion);
    EXPECT_EQ(versionOf("[config]\r\nCB_ok=1\r\n"), NoVersion);
    EXPECT_EQ(versionOf("MZ"), NoVersion);
    EXPECT_EQ(versionOf("\177ELF"), NoVersion);
}

TEST_F(FileVersionFiles, RandomBytesHaveNoVersion)
{
    std::mt19937 random(20081220);
    const std::string starts[] = { "", "MZ", std::string("\177ELF\x02\x01\x01", 7),
        std::string("\177ELF\x01\x02\x01", 7) };
    for (int round = 0; round < 200; ++round) {
        std::string bytes = starts[round % 4];
        const std::size_t size = random() % 4096;
        while (bytes.size() < size)
            bytes += static_cast<char>(random() & 0xff);
        ASSERT_EQ(versionOf(bytes), NoVersion) << round;
    }
}

} // namespace
} // namespace lunor::kelmu
