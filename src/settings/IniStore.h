#pragma once

#include "kelmu/DateTime.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lunor {

// A write to a store that the system refused. The message is "Unable to write to <path>",
// the full path of the store's file.
class StoreWriteError : public std::runtime_error
{
public:
    explicit StoreWriteError(const std::string &path);
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// Compares two code page 936 texts as the profile functions compare names: ASCII letters
// without regard to case, everything else byte for byte. The trail byte of a double-byte
// character is never case-folded, even where it falls in the ASCII letter range.
bool equalNamesIgnoringCase(std::string_view a, std::string_view b);

// The text of an INI file in memory, in the layout of the Windows profile functions:
// "[section]" lines, each followed by "key=value" lines. Names match without regard to
// case. Lines the format does not know (comments, blank lines, text before the first
// section) are kept as they are when the document is written back.
class IniDocument
{
public:
    static IniDocument parse(std::string_view bytes);
    // Lines end with CR LF, as the profile functions write them.
    std::string serialize() const;

    // The value of the first key of that name in the first section of that name, with spaces
    // and tabs around it trimmed and one pair of surrounding quotes (" or ') removed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Rewrites an existing key in place; appends a new key at the end of its section; creates
    // a missing section at the end of the document, spelled as given.
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key; false when there was none.
    bool removeKey(std::string_view section, std::string_view key);

    // Section names in file order.
    std::vector<std::string> sectionNames() const;
    // Key names of a section in file order; empty when there is no such section.
    std::vector<std::string> keyNames(std::string_view section) const;

    // Appends a new section with its keys, without looking for an existing one of that name:
    // for building a whole file in memory before one atomic write.
    void appendSection(
        std::string_view section, const std::vector<std::pair<std::string, std::string>> &entries);

    // Every section in file order, sections of the same name each on their own, with the
    // entries as read back (trimmed and unquoted like value()).
    struct Section
    {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    std::vector<Section> sections() const;

    bool empty() const { return m_lines.empty(); }

private:
    struct Line
    {
        enum class Kind { Other, Section, Entry } kind = Kind::Other;
        std::string text; // the raw line as read; empty for a line that a change made
        std::string name; // section or key name
        std::string value; // raw value after '=', for Kind::Entry
    };

    std::optional<std::size_t> findSection(std::string_view section) const;
    // One past the last line of the section that starts at `header`.
    std::size_t sectionEnd(std::size_t header) const;

    std::vector<Line> m_lines;
};

// A store over one INI file in code page 936. There is no cache: every read reads the file
// and every write is in the file when it returns, so changes made elsewhere are seen at once.
// A write replaces the whole file atomically (a crash leaves the old or the new file).
class IniStore
{
public:
    static constexpr std::size_t MaxValueBytes = 2047;
    static constexpr std::size_t NameListBytes = 16384;

    // Opening touches nothing on disk.
    explicit IniStore(std::string path);

    const std::string &path() const { return m_path; }

    // Values are cut at MaxValueBytes (never inside a double-byte character).
    std::string readString(
        std::string_view section, std::string_view key, std::string_view defaultValue) const;
    void writeString(std::string_view section, std::string_view key, std::string_view value);

    // Decimal, or hexadecimal after 0x/0X; a missing, empty or non-numeric value gives the
    // default.
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
    void writeInteger(std::string_view section, std::string_view key, int value);

    // Read as an integer with the default 1 or 0; any value but 0 is true. Written "1" or "0".
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    void writeBool(std::string_view section, std::string_view key, bool value);

    // A date alone, in the short date format (see setDateFormat). A missing, empty or
    // unconvertible value gives the default.
    DateTime readDate(
        std::string_view section, std::string_view key, const DateTime &defaultValue) const;
    void writeDate(std::string_view section, std::string_view key, const DateTime &value);

    // Key names of a section in file order, as far as they fit into NameListBytes with a zero
    // byte after each name and one more at the end.
    std::vector<std::string> readSection(std::string_view section) const;
    // Section names in file order, within the same limit.
    std::vector<std::string> readSections() const;

    // Deleting a missing key (or from a missing file) is no error and writes nothing.
    void deleteKey(std::string_view section, std::string_view key);

    // The whole file at once, with no limits, and its atomic replacement: for the task list
    // file, which is read and written as a whole.
    IniDocument readDocument() const;
    void writeDocument(const IniDocument &document);
    // Deletes the file; a missing file is no error.
    void removeFile();

    // The short date format as a strftime pattern of %d %e %m %y %Y; by default the user's.
    void setDateFormat(std::string pattern) { m_dateFormat = std::move(pattern); }
    const std::string &dateFormat() const;

private:
    void write(const IniDocument &document);

    std::string m_path;
    std::string m_dateFormat;
};

} // namespace lunor
