#include "settings/IniStore.h"

#include "platform/FileSystem.h"
#include "platform/Locale.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace lunor {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// A name or value that is written into one line of the file ends at the first line break (or
// zero byte, where the profile functions end a text): what follows would otherwise become
// lines of its own, for instance a forged section.
std::string_view singleLine(std::string_view text)
{
    const auto end = text.find_first_of(std::string_view("\r\n\0", 3));
    return end == std::string_view::npos ? text : text.substr(0, end);
}

// The name as the lookup and the writer use it.
std::string_view normalizedName(std::string_view name)
{
    return trimmed(singleLine(name));
}

std::string unquoted(std::string_view rawValue)
{
    std::string_view value = trimmed(rawValue);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool isLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Cuts a code page 936 text to at most `limit` bytes without splitting a double-byte
// character.
std::string cutToLimit(std::string text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = 0;
    while (end < limit) {
        const std::size_t width
            = (isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size()) ? 2 : 1;
        if (end + width > limit)
            break;
        end += width;
    }
    text.resize(end);
    return text;
}

// As many whole names as the profile functions' buffer holds: a zero byte after each name
// and one more at the end. A name that cannot be told apart in that list (the empty one) is
// left out.
std::vector<std::string> fitIntoNameList(std::vector<std::string> names)
{
    std::vector<std::string> fitting;
    std::size_t used = 1;
    for (auto &name : names) {
        if (name.empty())
            continue;
        used += name.size() + 1;
        if (used > IniStore::NameListBytes)
            break;
        fitting.push_back(std::move(name));
    }
    return fitting;
}

std::optional<int> parseInteger(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view digits = text.substr(2);
        std::uint32_t value = 0;
        const auto [end, error]
            = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        // Eight hex digits cover the whole 32-bit pattern, as "0xFFFFFFFF" reads -1.
        return static_cast<int>(value);
    }
    // One sign at most: from_chars takes a minus but no plus.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

void appendNumber(std::string &out, int value, int width, char pad)
{
    const std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()); i < width; ++i)
        out += pad;
    out += digits;
}

std::string formatDate(const DateTime &date, std::string_view pattern)
{
    // A value without a date is day 0 of the calendar the program counts in.
    const bool dated = date.hasDate();
    const int year = dated ? date.year : 1899;
    const int month = dated ? date.month : 12;
    const int day = dated ? date.day : 30;

    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char field = pattern[++i];
        switch (field) {
        case 'd':
            appendNumber(out, day, 2, '0');
            break;
        case 'e':
            appendNumber(out, day, 2, ' ');
            break;
        case 'm':
            appendNumber(out, month, 2, '0');
            break;
        case 'y':
            appendNumber(out, year % 100, 2, '0');
            break;
        case 'Y':
            appendNumber(out, year, 4, '0');
            break;
        case '%':
            out += '%';
            break;
        default:
            out += '%';
            out += field;
            break;
        }
    }
    return out;
}

// Reads one to `maxDigits` decimal digits at `pos`.
std::optional<int> readNumber(std::string_view text, std::size_t &pos, std::size_t maxDigits)
{
    int value = 0;
    std::size_t digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

// The reverse of formatDate: the whole text must follow the pattern and name a real day.
std::optional<DateTime> parseDate(std::string_view text, std::string_view pattern)
{
    int year = -1;
    int month = -1;
    int day = -1;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool field = pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] != '%';
        if (!field) {
            const char literal = pattern[i];
            if (literal == '%')
                ++i; // "%%"
            if (pos >= text.size() || text[pos] != literal)
                return std::nullopt;
            ++pos;
            continue;
        }
        std::optional<int> number;
        switch (pattern[++i]) {
        case 'e':
            // Space-padded when written; the padding may have been trimmed away since.
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
            number = readNumber(text, pos, 2);
            day = number.value_or(-1);
            break;
        case 'd':
            number = readNumber(text, pos, 2);
            day = number.value_or(-1);
            break;
        case 'm':
            number = readNumber(text, pos, 2);
            month = number.value_or(-1);
            break;
        case 'y':
            number = readNumber(text, pos, 2);
            // The POSIX rule for two-digit years: 69-99 in the 1900s, 00-68 in the 2000s.
            if (number)
                year = *number + (*number < 69 ? 2000 : 1900);
            break;
        case 'Y':
            number = readNumber(text, pos, 4);
            year = number.value_or(-1);
            break;
        default:
            // Not a date field: matched as the literal text it was written as.
            if (pos + 1 >= text.size() || text[pos] != '%' || text[pos + 1] != pattern[i])
                return std::nullopt;
            pos += 2;
            continue;
        }
        if (!number)
            return std::nullopt;
    }
    if (pos != text.size() || year < 1 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    DateTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

// Windows refuses to write a file marked read-only; an atomic replace would not notice, so
// the store looks for the mark itself: a file without any write permission.
bool isMarkedReadOnly(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::is_regular_file(status))
        return false;
    constexpr fs::perms writable
        = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & writable) == fs::perms::none;
}

std::string fullPath(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

} // namespace

StoreWriteError::StoreWriteError(const std::string &path)
    : std::runtime_error("Unable to write to " + path)
    , m_path(path)
{ }

bool equalNamesIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            // A double-byte character is one unit: both bytes exactly as they are.
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

// ---- IniDocument ----

IniDocument IniDocument::parse(std::string_view bytes)
{
    IniDocument document;
    document.m_lines.reserve(bytes.size() / 16 + 1);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view raw = bytes.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        start = next;

        Line line;
        line.text = std::string(raw);
        const std::string_view content = trimmed(raw);
        const auto closing = content.rfind(']');
        if (!content.empty() && content.front() == '[' && closing != std::string_view::npos) {
            line.kind = Line::Kind::Section;
            line.name = std::string(trimmed(content.substr(1, closing - 1)));
        } else if (!content.empty() && content.front() != ';') {
            const auto equals = content.find('=');
            if (equals != std::string_view::npos) {
                line.kind = Line::Kind::Entry;
                line.name = std::string(trimmed(content.substr(0, equals)));
                line.value = std::string(raw.substr(raw.find('=') + 1));
            }
        }
        document.m_lines.push_back(std::move(line));
    }
    return document;
}

std::string IniDocument::serialize() const
{
    std::size_t size = 0;
    for (const Line &line : m_lines)
        size += line.text.size() + line.name.size() + line.value.size() + 4;
    std::string out;
    out.reserve(size);
    for (const Line &line : m_lines) {
        // Lines that a change made have no raw text and are written in the standard layout.
        if (!line.text.empty() || line.kind == Line::Kind::Other) {
            out += line.text;
        } else if (line.kind == Line::Kind::Section) {
            out += '[';
            out += line.name;
            out += ']';
        } else {
            out += line.name;
            out += '=';
            out += line.value;
        }
        out += "\r\n";
    }
    return out;
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const
{
    const std::string_view wanted = normalizedName(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Line::Kind::Section && equalNamesIgnoringCase(line.name, wanted))
            return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const
{
    std::size_t end = header + 1;
    while (end < m_lines.size() && m_lines[end].kind != Line::Kind::Section)
        ++end;
    return end;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const
{
    const auto header = findSection(section);
    if (!header)
        return std::nullopt;
    const std::string_view wanted = normalizedName(key);
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Line::Kind::Entry && equalNamesIgnoringCase(line.name, wanted))
            return unquoted(line.value);
    }
    return std::nullopt;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string_view keyName = normalizedName(key);
    Line entry;
    entry.kind = Line::Kind::Entry;
    entry.name = std::string(keyName);
    entry.value = std::string(singleLine(value));

    const auto header = findSection(section);
    if (!header) {
        Line sectionLine;
        sectionLine.kind = Line::Kind::Section;
        sectionLine.name = std::string(normalizedName(section));
        m_lines.push_back(std::move(sectionLine));
        m_lines.push_back(std::move(entry));
        return;
    }
    const std::size_t end = sectionEnd(*header);
    std::size_t insertAt = *header + 1;
    for (std::size_t i = *header + 1; i < end; ++i) {
        Line &line = m_lines[i];
        if (line.kind != Line::Kind::Entry)
            continue;
        if (equalNamesIgnoringCase(line.name, keyName)) {
            // Rewritten in place; the name keeps the spelling the file has.
            line.value = std::move(entry.value);
            line.text.clear();
            return;
        }
        insertAt = i + 1;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

bool IniDocument::removeKey(std::string_view section, std::string_view key)
{
    const auto header = findSection(section);
    if (!header)
        return false;
    const std::string_view wanted = normalizedName(key);
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        const Line &line = m_lines[i];
        if (line.kind == Line::Kind::Entry && equalNamesIgnoringCase(line.name, wanted)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::vector<std::string> IniDocument::sectionNames() const
{
    std::vector<std::string> names;
    for (const Line &line : m_lines) {
        if (line.kind == Line::Kind::Section)
            names.push_back(line.name);
    }
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const
{
    std::vector<std::string> names;
    const auto header = findSection(section);
    if (!header)
        return names;
    const std::size_t end = sectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (m_lines[i].kind == Line::Kind::Entry)
            names.push_back(m_lines[i].name);
    }
    return names;
}

void IniDocument::appendSection(
    std::string_view section, const std::vector<std::pair<std::string, std::string>> &entries)
{
    Line header;
    header.kind = Line::Kind::Section;
    header.name = std::string(normalizedName(section));
    m_lines.push_back(std::move(header));
    for (const auto &[key, value] : entries) {
        Line entry;
        entry.kind = Line::Kind::Entry;
        entry.name = std::string(normalizedName(key));
        entry.value = std::string(singleLine(value));
        m_lines.push_back(std::move(entry));
    }
}

std::vector<IniDocument::Section> IniDocument::sections() const
{
    std::vector<Section> result;
    for (const Line &line : m_lines) {
        if (line.kind == Line::Kind::Section)
            result.push_back(Section { line.name, {} });
        else if (line.kind == Line::Kind::Entry && !result.empty())
            result.back().entries.emplace_back(line.name, unquoted(line.value));
    }
    return result;
}

// ---- IniStore ----

namespace {

// The file as a write finds it. A file that exists but cannot be read would lose everything
// but the one change, so the write is refused instead.
IniDocument readForChange(const std::string &path)
{
    const std::optional<std::string> bytes = platform::readFile(path);
    if (bytes)
        return IniDocument::parse(*bytes);
    if (platform::fileExists(path))
        throw StoreWriteError(fullPath(path));
    return {};
}

} // namespace

IniStore::IniStore(std::string path)
    : m_path(std::move(path))
{ }

const std::string &IniStore::dateFormat() const
{
    if (!m_dateFormat.empty())
        return m_dateFormat;
    static const std::string userFormat = platform::shortDateFormat();
    return userFormat;
}

std::string IniStore::readString(
    std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const std::optional<std::string> value = readDocument().value(section, key);
    return cutToLimit(value ? *value : std::string(defaultValue), MaxValueBytes);
}

void IniStore::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    IniDocument document = readForChange(m_path);
    document.setValue(section, key, value);
    write(document);
}

int IniStore::readInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const std::optional<std::string> value = readDocument().value(section, key);
    if (!value)
        return defaultValue;
    return parseInteger(cutToLimit(*value, MaxValueBytes)).value_or(defaultValue);
}

void IniStore::writeInteger(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

bool IniStore::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniStore::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

DateTime IniStore::readDate(
    std::string_view section, std::string_view key, const DateTime &defaultValue) const
{
    const std::string text = readString(section, key, {});
    if (text.empty())
        return defaultValue;
    return parseDate(text, dateFormat()).value_or(defaultValue);
}

void IniStore::writeDate(std::string_view section, std::string_view key, const DateTime &value)
{
    writeString(section, key, formatDate(value, dateFormat()));
}

std::vector<std::string> IniStore::readSection(std::string_view section) const
{
    return fitIntoNameList(readDocument().keyNames(section));
}

std::vector<std::string> IniStore::readSections() const
{
    return fitIntoNameList(readDocument().sectionNames());
}

void IniStore::deleteKey(std::string_view section, std::string_view key)
{
    IniDocument document = readForChange(m_path);
    if (document.removeKey(section, key))
        write(document);
}

IniDocument IniStore::readDocument() const
{
    const std::optional<std::string> bytes = platform::readFile(m_path);
    return bytes ? IniDocument::parse(*bytes) : IniDocument();
}

void IniStore::writeDocument(const IniDocument &document)
{
    write(document);
}

void IniStore::removeFile()
{
    if (!platform::removeFile(m_path) && platform::fileExists(m_path))
        throw StoreWriteError(fullPath(m_path));
}

void IniStore::write(const IniDocument &document)
{
    if (isMarkedReadOnly(m_path))
        throw StoreWriteError(fullPath(m_path));
    try {
        platform::writeFileAtomically(m_path, document.serialize());
    } catch (const platform::WriteError &) {
        throw StoreWriteError(fullPath(m_path));
    }
}

} // namespace lunor
