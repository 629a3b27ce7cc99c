#include "kelmu/FileVersion.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>
#include <vector>

namespace lunor::kelmu {
namespace {

namespace fs = std::filesystem;

// Every offset and size below comes from the file and may be damaged: each read is checked
// against the end of the file, and the few blocks read in one piece (a note section, a
// version resource) are limited so that a wild size cannot allocate gigabytes.
constexpr std::uint64_t MaxBlock = 1 << 20;

class FileReader
{
public:
    explicit FileReader(const std::string &path)
    {
        std::error_code error;
        const fs::path file(std::u8string(path.begin(), path.end()));
        // Not a FIFO or a device: opening one could block or never end.
        if (!fs::is_regular_file(file, error))
            return;
        const std::uintmax_t size = fs::file_size(file, error);
        if (error)
            return;
        m_stream.open(file, std::ios::binary);
        if (!m_stream)
            return;
        m_size = size;
        m_open = true;
    }

    bool isOpen() const { return m_open; }
    std::uint64_t size() const { return m_size; }

    // `count` bytes at `offset`, or nothing when any of them lies outside the file.
    std::optional<std::string> read(std::uint64_t offset, std::uint64_t count)
    {
        if (!m_open || offset > m_size || count > m_size - offset || count > MaxBlock)
            return std::nullopt;
        std::string bytes(count, '\0');
        m_stream.clear();
        m_stream.seekg(static_cast<std::streamoff>(offset));
        m_stream.read(bytes.data(), static_cast<std::streamsize>(count));
        if (!m_stream || static_cast<std::uint64_t>(m_stream.gcount()) != count)
            return std::nullopt;
        return bytes;
    }

private:
    std::ifstream m_stream;
    std::uint64_t m_size = 0;
    bool m_open = false;
};

// Unsigned integers out of a block in either byte order. A read past the end gives 0 and
// clears `ok`, so a decoder can read all its fields and check once.
struct Decoder
{
    std::string_view data;
    bool bigEndian = false;
    bool ok = true;

    std::uint64_t get(std::uint64_t offset, unsigned width)
    {
        if (offset > data.size() || width > data.size() - offset) {
            ok = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i) {
            const unsigned index = bigEndian ? i : width - 1 - i;
            value = value << 8 | static_cast<unsigned char>(data[offset + index]);
        }
        return value;
    }
};

std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// --- The package note's JSON -------------------------------------------------------------

// Just enough JSON to find a top-level member: checks the syntax and skips every other value.
class JsonReader
{
public:
    explicit JsonReader(std::string_view text)
        : m_text(text)
    { }

    // Reads the document, which must be one object; `version` gets the first top-level
    // "version" member that is a string.
    bool readObject(std::optional<std::string> &version)
    {
        if (!object(0, &version))
            return false;
        skipSpace();
        return m_position == m_text.size();
    }

private:
    static constexpr int MaxDepth = 64;

    bool atEnd() const { return m_position >= m_text.size(); }
    char peek() const { return m_text[m_position]; }

    void skipSpace()
    {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_position;
    }

    bool consume(char wanted)
    {
        skipSpace();
        if (atEnd() || peek() != wanted)
            return false;
        ++m_position;
        return true;
    }

    bool string(std::string &out)
    {
        if (!consume('"'))
            return false;
        while (!atEnd()) {
            const char c = m_text[m_position++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (atEnd())
                return false;
            const char escaped = m_text[m_position++];
            switch (escaped) {
            case '"':
            case '\\':
            case '/':
                out += escaped;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (m_text.size() - m_position < 4)
                    return false;
                unsigned code = 0;
                for (int i = 0; i < 4; ++i) {
                    const char h = m_text[m_position++];
                    const int digit = h >= '0' && h <= '9' ? h - '0'
                        : h >= 'a' && h <= 'f'             ? h - 'a' + 10
                        : h >= 'A' && h <= 'F'             ? h - 'A' + 10
                                                           : -1;
                    if (digit < 0)
                        return false;
                    code = code * 16 + static_cast<unsigned>(digit);
                }
                // Only ASCII matters for the member we look for; anything else is kept as a
                // character that no version or key contains.
                out += code < 0x80 ? static_cast<char>(code) : '?';
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    bool word(std::string_view expected)
    {
        if (m_text.substr(m_position, expected.size()) != expected)
            return false;
        m_position += expected.size();
        return true;
    }

    bool number()
    {
        const std::size_t start = m_position;
        bool digit = false;
        while (!atEnd()) {
            const char c = peek();
            if (c >= '0' && c <= '9')
                digit = true;
            else if (c != '-' && c != '+' && c != '.' && c != 'e' && c != 'E')
                break;
            ++m_position;
        }
        return digit && m_position > start;
    }

    bool value(int depth)
    {
        if (depth > MaxDepth)
            return false;
        skipSpace();
        if (atEnd())
            return false;
        switch (peek()) {
        case '"': {
            std::string ignored;
            return string(ignored);
        }
        case '{':
            return object(depth + 1, nullptr);
        case '[':
            ++m_position;
            if (consume(']'))
                return true;
            do {
                if (!value(depth + 1))
                    return false;
            } while (consume(','));
            return consume(']');
        case 't':
            return word("true");
        case 'f':
            return word("false");
        case 'n':
            return word("null");
        default:
            return number();
        }
    }

    bool object(int depth, std::optional<std::string> *version)
    {
        if (depth > MaxDepth || !consume('{'))
            return false;
        if (consume('}'))
            return true;
        do {
            std::string key;
            if (!string(key) || !consume(':'))
                return false;
            skipSpace();
            if (version && key == "version" && !*version && !atEnd() && peek() == '"') {
                std::string text;
                if (!string(text))
                    return false;
                *version = std::move(text);
            } else if (!value(depth + 1)) {
                return false;
            }
        } while (consume(','));
        return consume('}');
    }

    std::string_view m_text;
    std::size_t m_position = 0;
};

// --- ELF -----------------------------------------------------------------------------------

constexpr std::uint32_t SectionTypeNull = 0; // SHT_NULL
constexpr std::uint32_t SectionTypeNote = 7; // SHT_NOTE
constexpr std::uint32_t SectionTypeNoBits = 8; // SHT_NOBITS: takes no room in the file
constexpr std::uint32_t SegmentTypeNull = 0; // PT_NULL
constexpr std::uint32_t SegmentTypeNote = 4; // PT_NOTE
constexpr std::uint64_t ExtendedIndex = 0xffff; // SHN_XINDEX
constexpr std::uint64_t MaxSections = 65536;
constexpr std::uint32_t PackageNoteType = 0xcafe1a7e;
constexpr std::string_view PackageSectionName = ".note.package";

struct ElfLayout
{
    bool is64 = false;
    bool bigEndian = false;
};

// The fields of Elf32_Ehdr / Elf64_Ehdr that lead to the notes.
struct ElfHeader
{
    std::uint64_t programOffset = 0;
    std::uint64_t programEntrySize = 0;
    std::uint64_t programCount = 0;
    std::uint64_t sectionOffset = 0;
    std::uint64_t sectionEntrySize = 0;
    std::uint64_t sectionCount = 0;
    std::uint64_t nameTableIndex = 0;
};

// The fields of Elf32_Shdr / Elf64_Shdr we use.
struct SectionHeader
{
    std::uint64_t name = 0;
    std::uint64_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t link = 0;
    std::uint64_t alignment = 0;
};

// The fields of Elf32_Phdr / Elf64_Phdr we use.
struct ProgramHeader
{
    std::uint64_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t fileSize = 0;
    std::uint64_t alignment = 0;
};

class ElfFile
{
public:
    explicit ElfFile(FileReader &reader)
        : m_reader(reader)
    { }

    std::optional<std::string> version()
    {
        if (!readHeader())
            return std::nullopt;
        // A table that reaches past the end of the file, or a section or segment whose bytes
        // do, means a damaged or cut-short file: it has no trustworthy version.
        const auto sections = readSections();
        const auto segments = sections ? readSegments() : std::nullopt;
        if (!sections || !segments)
            return std::nullopt;
        if (!sections->empty())
            return versionFromSections(*sections);
        // A file stripped of its section headers still has the note segment.
        return versionFromSegments(*segments);
    }

private:
    bool readHeader()
    {
        const auto ident = m_reader.read(0, 16);
        if (!ident || ident->compare(0, 4, "\177ELF") != 0)
            return false;
        const char fileClass = (*ident)[4];
        const char encoding = (*ident)[5];
        if ((fileClass != 1 && fileClass != 2) || (encoding != 1 && encoding != 2))
            return false;
        m_layout.is64 = fileClass == 2;
        m_layout.bigEndian = encoding == 2;

        const auto raw = m_reader.read(0, m_layout.is64 ? 64 : 52);
        if (!raw)
            return false;
        Decoder d { *raw, m_layout.bigEndian };
        if (m_layout.is64) {
            m_header.programOffset = d.get(32, 8);
            m_header.sectionOffset = d.get(40, 8);
            m_header.programEntrySize = d.get(54, 2);
            m_header.programCount = d.get(56, 2);
            m_header.sectionEntrySize = d.get(58, 2);
            m_header.sectionCount = d.get(60, 2);
            m_header.nameTableIndex = d.get(62, 2);
        } else {
            m_header.programOffset = d.get(28, 4);
            m_header.sectionOffset = d.get(32, 4);
            m_header.programEntrySize = d.get(42, 2);
            m_header.programCount = d.get(44, 2);
            m_header.sectionEntrySize = d.get(46, 2);
            m_header.sectionCount = d.get(48, 2);
            m_header.nameTableIndex = d.get(50, 2);
        }
        return d.ok;
    }

    // Offset of entry `index` of a table, or nothing when it cannot be inside the file. The
    // table's start is checked first so that the sum cannot wrap around.
    std::optional<std::uint64_t> entryOffset(
        std::uint64_t tableOffset, std::uint64_t entrySize, std::uint64_t index) const
    {
        if (tableOffset == 0 || tableOffset > m_reader.size() || index > MaxSections)
            return std::nullopt;
        return tableOffset + index * entrySize;
    }

    std::optional<SectionHeader> section(std::uint64_t index)
    {
        const std::uint64_t size = m_layout.is64 ? 64 : 40;
        if (m_header.sectionEntrySize < size)
            return std::nullopt;
        const auto offset = entryOffset(m_header.sectionOffset, m_header.sectionEntrySize, index);
        const auto raw = offset ? m_reader.read(*offset, size) : std::nullopt;
        if (!raw)
            return std::nullopt;
        Decoder d { *raw, m_layout.bigEndian };
        SectionHeader header;
        header.name = d.get(0, 4);
        header.type = d.get(4, 4);
        if (m_layout.is64) {
            header.offset = d.get(24, 8);
            header.size = d.get(32, 8);
            header.link = d.get(40, 4);
            header.alignment = d.get(48, 8);
        } else {
            header.offset = d.get(16, 4);
            header.size = d.get(20, 4);
            header.link = d.get(24, 4);
            header.alignment = d.get(32, 4);
        }
        if (!d.ok)
            return std::nullopt;
        return header;
    }

    std::optional<ProgramHeader> segment(std::uint64_t index)
    {
        const std::uint64_t size = m_layout.is64 ? 56 : 32;
        if (m_header.programEntrySize < size)
            return std::nullopt;
        const auto offset = entryOffset(m_header.programOffset, m_header.programEntrySize, index);
        const auto raw = offset ? m_reader.read(*offset, size) : std::nullopt;
        if (!raw)
            return std::nullopt;
        Decoder d { *raw, m_layout.bigEndian };
        ProgramHeader header;
        header.type = d.get(0, 4);
        if (m_layout.is64) {
            header.offset = d.get(8, 8);
            header.fileSize = d.get(32, 8);
            header.alignment = d.get(48, 8);
        } else {
            header.offset = d.get(4, 4);
            header.fileSize = d.get(16, 4);
            header.alignment = d.get(28, 4);
        }
        if (!d.ok)
            return std::nullopt;
        return header;
    }

    bool insideFile(std::uint64_t offset, std::uint64_t size) const
    {
        return offset <= m_reader.size() && size <= m_reader.size() - offset;
    }

    // Every section header, or nothing when any of them (or its bytes) is not in the file.
    std::optional<std::vector<SectionHeader>> readSections()
    {
        std::vector<SectionHeader> headers;
        if (m_header.sectionOffset == 0)
            return headers;
        const auto first = section(0);
        if (!first)
            return std::nullopt;
        // With more sections than the header's 16-bit fields hold, the real count and the
        // name table's index live in section 0.
        const std::uint64_t count
            = m_header.sectionCount != 0 ? m_header.sectionCount : first->size;
        if (count > MaxSections)
            return std::nullopt;
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto header = section(i);
            if (!header)
                return std::nullopt;
            if (header->type != SectionTypeNull && header->type != SectionTypeNoBits
                && !insideFile(header->offset, header->size))
                return std::nullopt;
            headers.push_back(*header);
        }
        m_nameTableIndex
            = m_header.nameTableIndex == ExtendedIndex ? first->link : m_header.nameTableIndex;
        return headers;
    }

    // Every program header, or nothing when any of them (or its bytes) is not in the file.
    std::optional<std::vector<ProgramHeader>> readSegments()
    {
        std::vector<ProgramHeader> headers;
        if (m_header.programOffset == 0)
            return headers;
        for (std::uint64_t i = 0; i < m_header.programCount; ++i) {
            const auto header = segment(i);
            if (!header)
                return std::nullopt;
            if (header->type != SegmentTypeNull && !insideFile(header->offset, header->fileSize))
                return std::nullopt;
            headers.push_back(*header);
        }
        return headers;
    }

    std::string sectionName(const std::vector<SectionHeader> &sections, std::uint64_t offset)
    {
        if (m_nameTableIndex >= sections.size())
            return {};
        const SectionHeader &names = sections[m_nameTableIndex];
        if (offset >= names.size)
            return {};
        const std::uint64_t length = std::min<std::uint64_t>(64, names.size - offset);
        const auto text = m_reader.read(names.offset + offset, length);
        if (!text)
            return {};
        return text->substr(0, text->find('\0'));
    }

    std::optional<std::string> versionFromSections(const std::vector<SectionHeader> &sections)
    {
        // The section named .note.package first, then any other note section.
        for (const bool named : { true, false }) {
            for (const SectionHeader &header : sections) {
                if (header.type != SectionTypeNote
                    || (sectionName(sections, header.name) == PackageSectionName) != named)
                    continue;
                if (auto found = versionFromNotes(header.offset, header.size, header.alignment))
                    return found;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> versionFromSegments(const std::vector<ProgramHeader> &segments)
    {
        for (const ProgramHeader &header : segments) {
            if (header.type != SegmentTypeNote)
                continue;
            if (auto found = versionFromNotes(header.offset, header.fileSize, header.alignment))
                return found;
        }
        return std::nullopt;
    }

    // Walks the notes of one section or segment for the package note.
    std::optional<std::string> versionFromNotes(
        std::uint64_t offset, std::uint64_t size, std::uint64_t alignment)
    {
        const auto block = m_reader.read(offset, size);
        if (!block)
            return std::nullopt;
        const std::string_view data = *block;
        const std::uint64_t step = alignment == 8 ? 8 : 4;
        Decoder d { data, m_layout.bigEndian };
        std::uint64_t position = 0;
        while (position <= data.size() && data.size() - position >= 12) {
            const std::uint64_t nameSize = d.get(position, 4);
            const std::uint64_t descriptionSize = d.get(position + 4, 4);
            const std::uint64_t type = d.get(position + 8, 4);
            position += 12;
            if (nameSize > data.size() - position)
                break;
            const std::string_view name = data.substr(position, nameSize);
            position = alignUp(position + nameSize, step);
            if (position > data.size() || descriptionSize > data.size() - position)
                break;
            const std::string_view description = data.substr(position, descriptionSize);
            position = alignUp(position + descriptionSize, step);
            if (type != PackageNoteType || name.substr(0, name.find('\0')) != "FDO")
                continue;
            if (auto found = versionFromPackageJson(description))
                return found;
        }
        return std::nullopt;
    }

    FileReader &m_reader;
    ElfLayout m_layout;
    ElfHeader m_header;
    std::uint64_t m_nameTableIndex = 0;
};

// --- PE ------------------------------------------------------------------------------------

constexpr std::uint64_t ResourceTypeVersion = 16; // RT_VERSION
constexpr std::uint64_t HighBit = 0x80000000;
constexpr std::uint64_t FixedFileInfoSignature = 0xFEEF04BD;
constexpr std::uint64_t FixedFileInfoSize = 52; // VS_FIXEDFILEINFO
// WORD wLength, WORD wValueLength, WORD wType, then L"VS_VERSION_INFO" and padding to 32 bits.
constexpr std::uint64_t FixedFileInfoOffset = 40;

// One entry of the section table (IMAGE_SECTION_HEADER): where a range of addresses lies in
// the file.
struct PeSection
{
    std::uint64_t virtualAddress = 0;
    std::uint64_t rawSize = 0;
    std::uint64_t rawOffset = 0;
};

// IMAGE_RESOURCE_DIRECTORY_ENTRY
struct ResourceEntry
{
    std::uint64_t name = 0;
    std::uint64_t target = 0;

    bool isDirectory() const { return (target & HighBit) != 0; }
    std::uint64_t offset() const { return target & ~HighBit; }
};

class PeFile
{
public:
    explicit PeFile(FileReader &reader)
        : m_reader(reader)
    { }

    std::optional<std::string> version()
    {
        if (!readHeaders())
            return std::nullopt;
        const auto types = directory(0);
        if (!types)
            return std::nullopt;
        // Type RT_VERSION, then its first name, then the first language: only one path is
        // followed, so a damaged directory costs no more than a healthy one.
        const ResourceEntry *versionType = nullptr;
        for (const ResourceEntry &entry : *types) {
            if ((entry.name & HighBit) == 0 && entry.name == ResourceTypeVersion) {
                versionType = &entry;
                break;
            }
        }
        if (!versionType || !versionType->isDirectory())
            return std::nullopt;
        const auto names = directory(versionType->offset());
        if (!names || names->empty() || !names->front().isDirectory())
            return std::nullopt;
        const auto languages = directory(names->front().offset());
        if (!languages || languages->empty() || languages->front().isDirectory())
            return std::nullopt;
        return versionFromDataEntry(languages->front().offset());
    }

private:
    bool readHeaders()
    {
        const auto dos = m_reader.read(0, 64);
        if (!dos || dos->compare(0, 2, "MZ") != 0)
            return false;
        Decoder dosFields { *dos };
        const std::uint64_t peOffset = dosFields.get(0x3c, 4);

        const auto fileHeader = m_reader.read(peOffset, 24);
        if (!fileHeader || fileHeader->compare(0, 4, std::string_view("PE\0\0", 4)) != 0)
            return false;
        Decoder coff { *fileHeader };
        const std::uint64_t sectionCount = coff.get(6, 2);
        const std::uint64_t optionalSize = coff.get(20, 2);

        const auto optional = m_reader.read(peOffset + 24, optionalSize);
        if (!optional)
            return false;
        Decoder opt { *optional };
        const std::uint64_t magic = opt.get(0, 2);
        // The data directories of IMAGE_OPTIONAL_HEADER32 / 64; the resource table is third.
        const std::uint64_t directories = magic == 0x10b ? 96 : magic == 0x20b ? 112 : 0;
        if (directories == 0 || opt.get(directories - 4, 4) < 3)
            return false;
        m_resourceAddress = opt.get(directories + 16, 4);
        m_resourceSize = opt.get(directories + 20, 4);
        if (!opt.ok || m_resourceAddress == 0 || m_resourceSize == 0)
            return false;

        const auto table = m_reader.read(peOffset + 24 + optionalSize, sectionCount * 40);
        if (!table)
            return false;
        Decoder sections { *table };
        for (std::uint64_t i = 0; i < sectionCount; ++i) {
            PeSection section;
            section.virtualAddress = sections.get(i * 40 + 12, 4);
            section.rawSize = sections.get(i * 40 + 16, 4);
            section.rawOffset = sections.get(i * 40 + 20, 4);
            // A section whose bytes run past the end: the file is damaged or cut short.
            if (section.rawOffset > m_reader.size()
                || section.rawSize > m_reader.size() - section.rawOffset)
                return false;
            m_sections.push_back(section);
        }
        return sections.ok;
    }

    // `size` bytes at a relative virtual address, when a section holds all of them in the file.
    std::optional<std::string> atAddress(std::uint64_t address, std::uint64_t size)
    {
        for (const PeSection &section : m_sections) {
            if (address < section.virtualAddress)
                continue;
            const std::uint64_t into = address - section.virtualAddress;
            if (into > section.rawSize || size > section.rawSize - into)
                continue;
            return m_reader.read(section.rawOffset + into, size);
        }
        return std::nullopt;
    }

    // `size` bytes at an offset into the resource table, which must hold all of them.
    std::optional<std::string> inResources(std::uint64_t offset, std::uint64_t size)
    {
        if (offset > m_resourceSize || size > m_resourceSize - offset)
            return std::nullopt;
        return atAddress(m_resourceAddress + offset, size);
    }

    // The entries of the IMAGE_RESOURCE_DIRECTORY at an offset into the resource table.
    std::optional<std::vector<ResourceEntry>> directory(std::uint64_t offset)
    {
        const auto head = inResources(offset, 16);
        if (!head)
            return std::nullopt;
        Decoder counts { *head };
        const std::uint64_t count = counts.get(12, 2) + counts.get(14, 2);
        const auto body = inResources(offset + 16, count * 8);
        if (!body)
            return std::nullopt;
        Decoder d { *body };
        std::vector<ResourceEntry> entries(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            entries[i].name = d.get(i * 8, 4);
            entries[i].target = d.get(i * 8 + 4, 4);
        }
        return entries;
    }

    std::optional<std::string> versionFromDataEntry(std::uint64_t offset)
    {
        // IMAGE_RESOURCE_DATA_ENTRY: the data's address (an RVA) and size.
        const auto entry = inResources(offset, 16);
        if (!entry)
            return std::nullopt;
        Decoder d { *entry };
        const auto block = atAddress(d.get(0, 4), d.get(4, 4));
        if (!block || block->size() < FixedFileInfoOffset + FixedFileInfoSize)
            return std::nullopt;

        Decoder info { *block };
        const std::uint64_t length = info.get(0, 2);
        const std::uint64_t valueLength = info.get(2, 2);
        static constexpr std::string_view Key { "V\0S\0_\0V\0E\0R\0S\0I\0O\0N\0_\0I\0N\0F\0O\0\0\0",
            32 };
        if (length < FixedFileInfoOffset + FixedFileInfoSize || length > block->size()
            || valueLength < FixedFileInfoSize || block->compare(6, Key.size(), Key) != 0)
            return std::nullopt;
        if (info.get(FixedFileInfoOffset, 4) != FixedFileInfoSignature)
            return std::nullopt;
        const std::uint64_t high = info.get(FixedFileInfoOffset + 8, 4);
        const std::uint64_t low = info.get(FixedFileInfoOffset + 12, 4);
        return std::to_string(high >> 16) + "." + std::to_string(high & 0xffff) + "."
            + std::to_string(low >> 16) + "." + std::to_string(low & 0xffff);
    }

    FileReader &m_reader;
    std::uint64_t m_resourceAddress = 0;
    std::uint64_t m_resourceSize = 0;
    std::vector<PeSection> m_sections;
};

} // namespace

std::optional<std::string> normalizeVersion(std::string_view text)
{
    std::string result;
    int parts = 0;
    while (true) {
        const std::size_t end = text.find('.');
        const std::string_view part = text.substr(0, end);
        if (part.empty() || part.size() > 5 || ++parts > 4)
            return std::nullopt;
        unsigned value = 0;
        for (const char c : part) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value > 65535)
            return std::nullopt;
        result += (parts > 1 ? "." : "") + std::to_string(value);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    if (parts == 3)
        result += ".0";
    else if (parts != 4)
        return std::nullopt;
    return result;
}

std::optional<std::string> versionFromPackageJson(std::string_view json)
{
    // The description is NUL-terminated and padded with NULs.
    json = json.substr(0, json.find('\0'));
    std::optional<std::string> version;
    JsonReader reader(json);
    if (!reader.readObject(version) || !version)
        return std::nullopt;
    return normalizeVersion(*version);
}

std::string readFileVersion(const std::string &path)
{
    try {
        FileReader reader(path);
        const auto magic = reader.read(0, 2);
        if (!magic)
            return std::string(NoFileVersion);
        std::optional<std::string> found;
        if (*magic == "\177E") {
            ElfFile file(reader);
            found = file.version();
        } else if (*magic == "MZ") {
            PeFile file(reader);
            found = file.version();
        }
        return found ? *found : std::string(NoFileVersion);
    } catch (const std::exception &) {
        // Out of memory or a stream failure: the file simply has no readable version.
        return std::string(NoFileVersion);
    }
}

} // namespace lunor::kelmu
