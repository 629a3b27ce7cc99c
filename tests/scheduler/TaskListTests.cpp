#include "scheduler/TaskList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lunor;

namespace {

struct EventLog final : TaskListObserver
{
    std::vector<std::string> events;
    void rowsAboutToBeInserted(std::size_t first, std::size_t last) override
    {
        events.push_back("insert " + std::to_string(first) + "-" + std::to_string(last));
    }
    void rowsInserted() override { events.emplace_back("inserted"); }
    void rowsAboutToBeRemoved(std::size_t first, std::size_t last) override
    {
        events.push_back("remove " + std::to_string(first) + "-" + std::to_string(last));
    }
    void rowsRemoved() override { events.emplace_back("removed"); }
    void rowsChanged(std::size_t first, std::size_t last) override
    {
        events.push_back("changed " + std::to_string(first) + "-" + std::to_string(last));
    }
};

TaskRow rowNumbered(const std::string &serial)
{
    TaskRow row;
    row.SerialNo = serial;
    return row;
}

} // namespace

TEST(TaskList, RowsAreFoundByIdAfterEarlierRowsHaveGone)
{
    TaskList list;
    const auto first = list.append(rowNumbered("1"));
    const auto second = list.append(rowNumbered("2"));
    const auto third = list.append(rowNumbered("3"));

    list.remove(0);
    EXPECT_FALSE(list.positionOf(first));
    EXPECT_EQ(list.positionOf(second), 0u);
    EXPECT_EQ(list.positionOf(third), 1u);
    // The row after a vanished one is where a pass goes on.
    EXPECT_EQ(list.positionAfter(first), 0u);
    EXPECT_EQ(list.positionAfter(third), 2u);
    EXPECT_EQ(list.row(0).SerialNo, "2");
}

TEST(TaskList, ChangesAreReportedAsOneRangeAndNotWhenNothingChanged)
{
    TaskList list;
    for (int i = 0; i < 5; ++i)
        list.append(rowNumbered(std::to_string(i + 1)));
    EventLog log;
    list.setObserver(&log);

    list.setText(3, TaskField::Counter, "7");
    list.setRunning(1, true);
    list.setRowImage(1, 0); // already 0: no change
    list.setText(2, TaskField::Counter, "");
    list.flushChanges();
    list.flushChanges();
    EXPECT_EQ(log.events, (std::vector<std::string> { "changed 1-3" }));
}

TEST(TaskList, RemovalFlushesPendingChangesFirstSoTheyNameTheRightRows)
{
    TaskList list;
    for (int i = 0; i < 3; ++i)
        list.append(rowNumbered(std::to_string(i + 1)));
    EventLog log;
    list.setObserver(&log);

    list.setText(2, TaskField::RemainingText, "x");
    list.remove(0);
    list.append(std::vector<TaskRow> { rowNumbered("4"), rowNumbered("5") });
    EXPECT_EQ(log.events,
        (std::vector<std::string> {
            "changed 2-2", "remove 0-0", "removed", "insert 2-3", "inserted" }));
    EXPECT_EQ(list.row(1).text(TaskField::RemainingText), "x");
}
