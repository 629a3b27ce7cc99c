#pragma once

#include "scheduler/TaskList.h"

namespace lunor {

class IniStore;

// The task list file "mission.mss": one section per row, named by the row's serial number,
// with the keys "1" to "8" (the row's texts) and "bool" (armed "1", stopped "0").
//
// Rows that share a serial number (possible after deletions) are written as separate sections
// of the same name, in list order, and the load reads sections one by one in file order, so
// every row comes back. The whole file is built in memory and replaces the old one in one
// atomic step; an empty list leaves no file.

// Throws StoreWriteError when the file cannot be written; the previous file then stays.
void liebiao_save(const TaskList &tasks, IniStore &missionIni);

// Appends one row per section of the file, in file order; a missing file adds nothing.
void liebiao_load(TaskList &tasks, const IniStore &missionIni);

} // namespace lunor
