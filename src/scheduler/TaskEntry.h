#pragma once

#include "kelmu/DateTime.h"
#include "scheduler/TaskList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lunor {

// What the task entry controls hold when "添加记录" is pressed. Texts are code page 936.
struct TaskEntryValues
{
    int modePosition = 0; // selected position of the mode list
    std::string modeText; // its text
    std::string operationName; // text of the operations list
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    bool withDate = false; // "指定日期" checked
    DateTime date; // date picker (its date part counts)
    DateTime time; // time picker (its time of day counts)
};

// The five mode texts of the mode list, in order.
const std::vector<std::string> &modeLabels();
// The help text of the mode at a position of the mode list; empty outside 0 to 4.
std::string modeHelpText(int position);

// Seconds of group "A": hours × 3600 + minutes × 60 + seconds.
int entrySeconds(const TaskEntryValues &values);

// The new row for the values and the parameter, numbered with the row count that includes
// it.
TaskRow makeTaskRow(
    const TaskEntryValues &values, const std::string &parameter, std::size_t rowCountWithNewRow);

} // namespace lunor
