#include "scheduler/TaskListFile.h"

#include "settings/IniStore.h"

#include <charconv>

namespace lunor {
namespace {

const char *const FieldKeys[TaskFieldCount] = { "1", "2", "3", "4", "5", "6", "7", "8" };

// The running flag reads like a Boolean of the store: a whole number, decimal or hexadecimal
// after 0x; non-zero is true; missing or not a number is false.
bool readRunning(const std::vector<std::pair<std::string, std::string>> &entries)
{
    for (const auto &[key, value] : entries) {
        if (!equalNamesIgnoringCase(key, "Bool"))
            continue;
        std::string_view text = value;
        bool negative = false;
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
            negative = text.front() == '-';
            text.remove_prefix(1);
        }
        int base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            base = 16;
            text.remove_prefix(2);
        }
        long long number = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), number, base);
        if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
            return false;
        return (negative ? -number : number) != 0;
    }
    return false;
}

// The store trims spaces around a value and removes one pair of surrounding quotes when it
// reads. A row text that would lose something that way is written inside one more pair of
// quotes, which the read takes off again, so every text comes back as it was saved.
std::string protectedValue(const std::string &text)
{
    if (text.empty())
        return text;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = text.size() >= 2 && text.front() == text.back()
        && (text.front() == '"' || text.front() == '\'');
    if (isBlank(text.front()) || isBlank(text.back()) || quoted)
        return '"' + text + '"';
    return text;
}

} // namespace

void liebiao_save(const TaskList &tasks, IniStore &missionIni)
{
    if (tasks.empty()) {
        missionIni.removeFile();
        return;
    }
    IniDocument document;
    std::vector<std::pair<std::string, std::string>> entries(TaskFieldCount + 1);
    for (int field = 0; field < TaskFieldCount; ++field)
        entries[field].first = FieldKeys[field];
    entries[TaskFieldCount].first = "bool";
    for (std::size_t position = 0; position < tasks.size(); ++position) {
        const TaskRow &row = tasks.row(position);
        for (int field = 0; field < TaskFieldCount; ++field)
            entries[field].second = protectedValue(row.texts[field]);
        entries[TaskFieldCount].second = row.Running ? "1" : "0";
        document.appendSection(row.SerialNo, entries);
    }
    missionIni.writeDocument(document);
}

void liebiao_load(TaskList &tasks, const IniStore &missionIni)
{
    const IniDocument document = missionIni.readDocument();
    std::vector<TaskRow> rows;
    for (const IniDocument::Section &section : document.sections()) {
        TaskRow row;
        row.SerialNo = section.name;
        for (int field = 0; field < TaskFieldCount; ++field) {
            for (const auto &[key, value] : section.entries) {
                if (key == FieldKeys[field]) {
                    row.texts[field] = value;
                    break;
                }
            }
        }
        row.Running = readRunning(section.entries);
        row.RowImage = row.Running ? 0 : 1;
        rows.push_back(std::move(row));
    }
    tasks.append(std::move(rows));
}

} // namespace lunor
