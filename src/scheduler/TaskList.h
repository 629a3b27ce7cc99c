#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lunor {

// The timing modes, by their position in the mode list.
enum TimingMode : int {
    ModeCountdown = 0,
    ModeAtTime = 1,
    ModeLoop = 2,
    ModeUptime = 3,
    ModeIdle = 4,
};

// The eight texts of a task row, in their column order after the serial number.
enum class TaskField : int {
    ModeLabel = 0,
    OperationName,
    ParamText,
    RemainingText,
    AfterRun,
    Counter,
    Preset,
    ModeIndex,
};
inline constexpr int TaskFieldCount = 8;

// One task. Numbers are kept as plain decimal text and converted each time they are read;
// all texts are code page 936.
struct TaskRow
{
    std::string SerialNo;
    std::array<std::string, TaskFieldCount> texts;
    bool Running = false; // armed (true) or stopped
    int RowImage = 0; // 0 armed picture, 1 stopped picture

    std::string &text(TaskField field) { return texts[static_cast<int>(field)]; }
    const std::string &text(TaskField field) const { return texts[static_cast<int>(field)]; }
};

// Told about every change of the list, so that a view can show the rows without copying
// them. Inserts and removals come as about-to/done pairs; changes of texts, flags and
// pictures are gathered and reported as one range by TaskList::flushChanges().
class TaskListObserver
{
public:
    virtual ~TaskListObserver() = default;
    virtual void rowsAboutToBeInserted(std::size_t first, std::size_t last) = 0;
    virtual void rowsInserted() = 0;
    virtual void rowsAboutToBeRemoved(std::size_t first, std::size_t last) = 0;
    virtual void rowsRemoved() = 0;
    virtual void rowsChanged(std::size_t first, std::size_t last) = 0;
};

// The task list: the one store of the tasks in memory. Rows are only ever appended at the
// end and removed; they are never reordered. Every row gets an id when it is added, and ids
// grow along the list, so a row can be found again after rows before it have gone.
class TaskList
{
public:
    using RowId = std::uint64_t;

    std::size_t size() const { return m_rows.size(); }
    bool empty() const { return m_rows.empty(); }
    const TaskRow &row(std::size_t position) const { return m_rows[position].row; }
    RowId idAt(std::size_t position) const { return m_rows[position].id; }
    // The position of a row, or nothing when it is gone.
    std::optional<std::size_t> positionOf(RowId id) const;
    // The position of the first row whose id is greater than `id` (size() when none).
    std::size_t positionAfter(RowId id) const;

    RowId append(TaskRow row);
    void append(std::vector<TaskRow> rows);
    void remove(std::size_t position);
    void clear();

    void setText(std::size_t position, TaskField field, std::string text);
    void setRunning(std::size_t position, bool running);
    void setRowImage(std::size_t position, int image);

    void setObserver(TaskListObserver *observer) { m_observer = observer; }
    // Reports the rows changed since the last flush as one range.
    void flushChanges();

private:
    struct Entry
    {
        RowId id;
        TaskRow row;
    };

    void markChanged(std::size_t position);

    std::vector<Entry> m_rows;
    RowId m_nextId = 1;
    TaskListObserver *m_observer = nullptr;
    std::optional<std::size_t> m_changedFirst;
    std::size_t m_changedLast = 0;
};

} // namespace lunor
