#pragma once

#include "kelmu/KelmuFunctions.h"
#include "scheduler/TaskList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    std::string clock; // " YYYY年MM月DD日 hh:mm:ss " followed by the weekday
    std::string uptime; // "操作系统已连续运行：" and the running time
    std::string idle; // "鼠标键盘无操作时间：" and the time without input
};
// The texts for the tick at `now`.
StatusTexts makeStatusTexts(KelmuFunctions &kelmu, const DateTime &now);

// A number of seconds as "h:m:s" without leading zeros, each part truncated toward zero and
// keeping the sign: 125 gives "0:2:5", -65 gives "0:-1:-5".
std::string plainHms(std::int64_t seconds);

// Reads decimal text as the rows hold it (an optional sign and digits, nothing else, within
// 32 bits); nothing for any other text.
std::optional<std::int32_t> parseRowNumber(const std::string &text);

// The per-second pass over the task list: counts every armed task down in its timing mode
// and runs the due ones. Passes may nest (a run can keep the message loop going, and the
// next second's pass then runs inside it); a pass never acts on a row that has moved or gone
// while it waited, and never touches a row whose run step is still waiting. Rows whose
// numbers do not read are skipped without a word, every second, and the rest of the list is
// still handled.
//
// An at-time row runs when its target second is the pass's moment or lies between the
// previous pass and this one, so that a second skipped while the program runs (a suspended
// computer, a stalled process) does not lose it; the first pass of a run looks at its own
// second only.
class TaskPass
{
public:
    TaskPass(TaskList &tasks, KelmuFunctions &kelmu, OperationRunner &runner);

    // One pass at the tick's moment (milliseconds are ignored).
    void liebiao_caozuo(const DateTime &now);

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
    bool runWaiting(TaskList::RowId id) const;
    // Whether the at-time target `preset` falls within this pass's seconds.
    bool atTimeDue(const std::string &preset) const;
    // The count of an armed row whose count reads; nothing for a stopped or damaged row.
    std::optional<std::int32_t> armedCount(std::size_t position) const;
    void countDown(std::size_t position, std::int32_t left, std::string remainingText);

    TaskList &m_tasks;
    KelmuFunctions &m_kelmu;
    OperationRunner &m_runner;

    // The moment of the pass under way: the seconds after `m_from` up to `m_now` are its own.
    // A nested pass sets its own and puts them back when it is done.
    DateTime m_now;
    long long m_from = 0;
    long long m_to = 0;
    // The moment of the latest pass that began.
    std::optional<long long> m_lastPass;
    // The rows whose run step waits for ExeCute to return.
    std::vector<TaskList::RowId> m_waiting;
};

} // namespace lunor
