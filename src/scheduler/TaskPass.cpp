#include "scheduler/TaskPass.h"

#include "common/SystemTexts.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace lunor {
namespace {

std::string decimal(std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return { buffer, result.ptr };
}

// Marks a row's run step as waiting while ExeCute has not returned, on every way out of it.
class WaitingRun
{
public:
    WaitingRun(std::vector<TaskList::RowId> &waiting, TaskList::RowId id)
        : m_waiting(waiting)
        , m_id(id)
    {
        m_waiting.push_back(id);
    }
    ~WaitingRun() { m_waiting.erase(std::find(m_waiting.begin(), m_waiting.end(), m_id)); }
    WaitingRun(const WaitingRun &) = delete;
    WaitingRun &operator=(const WaitingRun &) = delete;

private:
    std::vector<TaskList::RowId> &m_waiting;
    TaskList::RowId m_id;
};

} // namespace

std::string plainHms(std::int64_t seconds)
{
    // Truncating division and a remainder with the sign of the dividend, as C++ defines them.
    std::string text = decimal(seconds / 3600);
    text += ':';
    text += decimal((seconds % 3600) / 60);
    text += ':';
    text += decimal(seconds % 60);
    return text;
}

std::optional<std::int32_t> parseRowNumber(const std::string &text)
{
    const char *begin = text.data();
    const char *end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end)
        return std::nullopt;
    std::int32_t value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

StatusTexts makeStatusTexts(KelmuFunctions &kelmu, const DateTime &now)
{
    static const std::string year = platform::utf8ToGbk("年");
    static const std::string month = platform::utf8ToGbk("月");
    static const std::string day = platform::utf8ToGbk("日");
    static const std::string uptimeLabel = platform::utf8ToGbk("操作系统已连续运行：");
    static const std::string idleLabel = platform::utf8ToGbk("鼠标键盘无操作时间：");

    char date[8][8];
    std::snprintf(date[0], sizeof date[0], "%04d", now.year);
    std::snprintf(date[1], sizeof date[1], "%02d", now.month);
    std::snprintf(date[2], sizeof date[2], "%02d", now.day);
    std::snprintf(date[3], sizeof date[3], "%02d", now.hour);
    std::snprintf(date[4], sizeof date[4], "%02d", now.minute);
    std::snprintf(date[5], sizeof date[5], "%02d", now.second);

    StatusTexts texts;
    texts.clock = std::string(" ") + date[0] + year + date[1] + month + date[2] + day + " "
        + date[3] + ":" + date[4] + ":" + date[5] + " " + kelmu.getWeek(now);
    texts.uptime = uptimeLabel + kelmu.intToTime(kelmu.openTime());
    texts.idle = idleLabel + kelmu.intToTime(kelmu.noAction());
    return texts;
}

TaskPass::TaskPass(TaskList &tasks, KelmuFunctions &kelmu, OperationRunner &runner)
    : m_tasks(tasks)
    , m_kelmu(kelmu)
    , m_runner(runner)
{ }

void TaskPass::liebiao_caozuo(const DateTime &now)
{
    // A pass nested in a run has seconds of its own; the outer pass goes on with its own.
    const DateTime outerNow = m_now;
    const long long outerFrom = m_from;
    const long long outerTo = m_to;

    m_now = now;
    m_now.millisecond = 0;
    m_to = m_now.wallSeconds();
    // The seconds since the previous pass belong to this one; the first pass of a run, and a
    // pass after the clock was set back, have their own second only.
    m_from = m_lastPass && *m_lastPass < m_to ? *m_lastPass : m_to - 1;
    m_lastPass = m_to;

    // The row count is read afresh before every row: runs may add or remove rows meanwhile.
    std::size_t position = 0;
    while (position < m_tasks.size()) {
        const std::optional<std::int32_t> mode
            = parseRowNumber(m_tasks.row(position).text(TaskField::ModeIndex));
        if (!mode || runWaiting(m_tasks.idAt(position))) {
            ++position;
            continue;
        }
        switch (*mode) {
        case ModeCountdown:
            position = handleCountdown(position);
            break;
        case ModeAtTime:
            position = handleAtTime(position);
            break;
        case ModeLoop:
            position = handleLoop(position);
            break;
        case ModeUptime:
            position = handleUptime(position);
            break;
        case ModeIdle:
            position = handleIdle(position);
            break;
        default:
            ++position;
            break;
        }
    }
    m_tasks.flushChanges();

    m_now = outerNow;
    m_from = outerFrom;
    m_to = outerTo;
}

bool TaskPass::runWaiting(TaskList::RowId id) const
{
    return std::find(m_waiting.begin(), m_waiting.end(), id) != m_waiting.end();
}

bool TaskPass::atTimeDue(const std::string &preset) const
{
    // The target must read exactly as the clock's text of its second would.
    const std::optional<DateTime> target = parseMoment(preset);
    if (!target)
        return false;
    if (preset.size() > 8) {
        if (formatDateTime(*target) != preset)
            return false;
        const long long second = target->wallSeconds();
        return second > m_from && second <= m_to;
    }
    if (formatTimeOfDay(*target) != preset)
        return false;
    // A time of day is due at the first second after m_from that shows it.
    constexpr long long Day = 86'400;
    if (m_to - m_from >= Day)
        return true;
    const long long first = m_from + 1;
    const long long offset = ((target->wallSeconds() - first) % Day + Day) % Day;
    return first + offset <= m_to;
}

std::optional<std::int32_t> TaskPass::armedCount(std::size_t position) const
{
    const TaskRow &row = m_tasks.row(position);
    if (!row.Running)
        return std::nullopt;
    return parseRowNumber(row.text(TaskField::Counter));
}

void TaskPass::countDown(std::size_t position, std::int32_t left, std::string remainingText)
{
    m_tasks.setText(position, TaskField::Counter, decimal(left));
    m_tasks.setText(position, TaskField::RemainingText, std::move(remainingText));
}

std::size_t TaskPass::handleCountdown(std::size_t position)
{
    const std::optional<std::int32_t> counter = armedCount(position);
    if (!counter)
        return position + 1;
    if (*counter > 0) {
        countDown(position, *counter - 1, m_kelmu.intToTime(*counter - 1));
        return position + 1;
    }
    return runStep(position);
}

std::size_t TaskPass::handleAtTime(std::size_t position)
{
    const TaskRow &row = m_tasks.row(position);
    if (!row.Running)
        return position + 1;
    const std::optional<DateTime> target = parseMoment(row.text(TaskField::Counter));
    if (!target)
        return position + 1;
    const int left = m_kelmu.timeDiff(m_now.toDays(), target->toDays());
    m_tasks.setText(position, TaskField::RemainingText, plainHms(left));

    if (atTimeDue(row.text(TaskField::Preset)))
        return runStep(position);
    return position + 1;
}

std::size_t TaskPass::handleLoop(std::size_t position)
{
    const std::optional<std::int32_t> counter = armedCount(position);
    if (!counter)
        return position + 1;
    if (*counter > 0) {
        countDown(position, *counter - 1, plainHms(*counter - 1));
        return position + 1;
    }
    // Reload before the run, so that a pass nested in the run does not start it again.
    m_tasks.setText(position, TaskField::Counter, m_tasks.row(position).text(TaskField::Preset));
    const TaskList::RowId id = runOperation(position);
    return m_tasks.positionAfter(id);
}

std::size_t TaskPass::handleUptime(std::size_t position)
{
    const TaskRow &row = m_tasks.row(position);
    const std::optional<std::int32_t> counter = parseRowNumber(row.text(TaskField::Counter));
    if (!counter)
        return position + 1;
    const std::int64_t due = std::int64_t { *counter } - m_kelmu.openTime();
    if (due <= 0 && row.Running)
        return runStep(position);
    // Stopped rows too: their remaining time keeps moving.
    m_tasks.setText(position, TaskField::RemainingText,
        plainHms(std::int64_t { *counter } - m_kelmu.openTime()));
    return position + 1;
}

std::size_t TaskPass::handleIdle(std::size_t position)
{
    const std::optional<std::int32_t> counter = armedCount(position);
    if (!counter)
        return position + 1;
    const std::int64_t due = std::int64_t { *counter } - m_kelmu.noAction();
    if (due > 0) {
        m_tasks.setText(position, TaskField::RemainingText,
            plainHms(std::int64_t { *counter } - m_kelmu.noAction()));
        return position + 1;
    }
    return runStep(position);
}

TaskList::RowId TaskPass::runOperation(std::size_t position)
{
    const TaskList::RowId id = m_tasks.idAt(position);
    const std::string operation = m_tasks.row(position).text(TaskField::OperationName);
    const std::string parameter = m_tasks.row(position).text(TaskField::ParamText);
    // The view shows the disarmed row while the run waits.
    m_tasks.flushChanges();
    const WaitingRun waiting(m_waiting, id);
    m_runner.ExeCute(operation, parameter);
    return id;
}

std::size_t TaskPass::runStep(std::size_t position)
{
    // Disarm before the run, so that a pass nested in the run does not start it again.
    m_tasks.setRunning(position, false);
    m_tasks.setRowImage(position, 1);
    const TaskList::RowId id = runOperation(position);

    // The run may have let other passes and commands through: find the row again by its id
    // rather than by the position it had, and leave it alone when it has gone.
    if (const std::optional<std::size_t> now = m_tasks.positionOf(id)) {
        if (m_tasks.row(*now).text(TaskField::AfterRun) == texts::deleteAfterRun())
            m_tasks.remove(*now);
    }
    return m_tasks.positionAfter(id);
}

} // namespace lunor
