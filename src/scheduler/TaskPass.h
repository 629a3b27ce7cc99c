#pragma once

#include "kelmu/KelmuFunctions.h"
#include "scheduler/TaskList.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lunor {

// Performs a due task's operation (the plug-in host in the program, a recorder in tests).
class OperationRunner
{
public:
    virtual ~OperationRunner() = default;
    virtual void ExeCute(const std::string &operationName, const std::string &parameter) = 0;
};

// The three status bar texts refreshed every second (code page 936).
struct StatusTexts
{
    std::string clock;  // " YYYY年MM月DD日 hh:mm:ss " followed by the weekday
    std::string uptime; // "操作系统已连续运行：" and the running time
    std::string idle;   // "鼠标键盘无操作时间：" and the time without input
};
StatusTexts makeStatusTexts(KelmuFunctions &kelmu, Clock &clock);

// A number of seconds as "h:m:s" without leading zeros, each part truncated toward zero and
// keeping the sign: 125 gives "0:2:5", -65 gives "0:-1:-5".
std::string plainHms(std::int64_t seconds);

// Reads decimal text as the rows hold it (an optional sign and digits, nothing else, within
// 32 bits); nothing for any other text.
std::optional<std::int32_t> parseRowNumber(const std::string &text);

// The per-second pass over the task list: counts every armed task down in its timing mode
// and runs the due ones. Passes may nest (a run can keep the message loop going, and the
// next second's pass then runs inside it); a pass never acts on a row that has moved or gone
// while it waited. Rows whose numbers do not read are skipped without a word, every second,
// and the rest of the list is still handled.
class TaskPass
{
public:
    TaskPass(TaskList &tasks, KelmuFunctions &kelmu, Clock &clock, OperationRunner &runner);

    void liebiao_caozuo();

private:
    // Each returns the position from which the pass goes on.
    std::size_t handleCountdown(std::size_t position);
    std::size_t handleAtTime(std::size_t position);
    std::size_t handleLoop(std::size_t position);
    std::size_t handleUptime(std::size_t position);
    std::size_t handleIdle(std::size_t position);
    std::size_t runStep(std::size_t position);
    // Calls ExeCute for the row and returns its id, by which the row is found again.
    TaskList::RowId runOperation(std::size_t position);
    // The count of an armed row whose count reads; nothing for a stopped or damaged row.
    std::optional<std::int32_t> armedCount(std::size_t position) const;
    void countDown(std::size_t position, std::int32_t left, std::string remainingText);

    TaskList &m_tasks;
    KelmuFunctions &m_kelmu;
    Clock &m_clock;
    OperationRunner &m_runner;
    // The current moment, to the second; read at the start of a pass and again whenever a run
    // returns, since a run may take any time.
    DateTime m_now;
    std::string m_nowDateTimeText;
    std::string m_nowTimeText;
    void readClock();
};

} // namespace lunor
