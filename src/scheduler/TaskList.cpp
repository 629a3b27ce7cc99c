#include "scheduler/TaskList.h"

#include <algorithm>

namespace lunor {

std::optional<std::size_t> TaskList::positionOf(RowId id) const
{
    const std::size_t position = positionAfter(id - 1);
    if (position < m_rows.size() && m_rows[position].id == id)
        return position;
    return std::nullopt;
}

std::size_t TaskList::positionAfter(RowId id) const
{
    // Ids grow along the list, so the rows are sorted by id.
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), id,
        [](RowId value, const Entry &entry) { return value < entry.id; });
    return static_cast<std::size_t>(it - m_rows.begin());
}

TaskList::RowId TaskList::append(TaskRow row)
{
    const std::size_t position = m_rows.size();
    if (m_observer)
        m_observer->rowsAboutToBeInserted(position, position);
    const RowId id = m_nextId++;
    m_rows.push_back({ id, std::move(row) });
    if (m_observer)
        m_observer->rowsInserted();
    return id;
}

void TaskList::append(std::vector<TaskRow> rows)
{
    if (rows.empty())
        return;
    const std::size_t first = m_rows.size();
    if (m_observer)
        m_observer->rowsAboutToBeInserted(first, first + rows.size() - 1);
    m_rows.reserve(m_rows.size() + rows.size());
    for (TaskRow &row : rows)
        m_rows.push_back({ m_nextId++, std::move(row) });
    if (m_observer)
        m_observer->rowsInserted();
}

void TaskList::remove(std::size_t position)
{
    if (position >= m_rows.size())
        return;
    // Changes gathered so far refer to positions that are about to move.
    flushChanges();
    if (m_observer)
        m_observer->rowsAboutToBeRemoved(position, position);
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(position));
    if (m_observer)
        m_observer->rowsRemoved();
}

void TaskList::clear()
{
    if (m_rows.empty())
        return;
    m_changedFirst.reset();
    if (m_observer)
        m_observer->rowsAboutToBeRemoved(0, m_rows.size() - 1);
    m_rows.clear();
    if (m_observer)
        m_observer->rowsRemoved();
}

void TaskList::setText(std::size_t position, TaskField field, std::string text)
{
    std::string &current = m_rows[position].row.text(field);
    if (current == text)
        return;
    current = std::move(text);
    markChanged(position);
}

void TaskList::setRunning(std::size_t position, bool running)
{
    bool &current = m_rows[position].row.Running;
    if (current == running)
        return;
    current = running;
    markChanged(position);
}

void TaskList::setRowImage(std::size_t position, int image)
{
    int &current = m_rows[position].row.RowImage;
    if (current == image)
        return;
    current = image;
    markChanged(position);
}

void TaskList::markChanged(std::size_t position)
{
    if (!m_changedFirst) {
        m_changedFirst = position;
        m_changedLast = position;
        return;
    }
    m_changedFirst = std::min(*m_changedFirst, position);
    m_changedLast = std::max(m_changedLast, position);
}

void TaskList::flushChanges()
{
    if (!m_changedFirst)
        return;
    const std::size_t first = *m_changedFirst;
    const std::size_t last = std::min(m_changedLast, m_rows.empty() ? 0 : m_rows.size() - 1);
    m_changedFirst.reset();
    if (m_observer && !m_rows.empty() && first <= last)
        m_observer->rowsChanged(first, last);
}

} // namespace lunor
