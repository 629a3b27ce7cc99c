#include "scheduler/TaskPass.h"

#include "common/SystemTexts.h"
#include "platform/TextCodec.h"

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

StatusTexts makeStatusTexts(KelmuFunctions &kelmu, Clock &clock)
{
    static const std::string year = platform::utf8ToGbk("年");
    static const std::string month = platform::utf8ToGbk("月");
    static const std::string day = platform::utf8ToGbk("日");
    static const std::string uptimeLabel = platform::utf8ToGbk("操作系统已连续运行：");
    static const std::string idleLabel = platform::utf8ToGbk("鼠标键盘无操作时间：");

    const DateTime now = clock.now();
    char date[8][8];
    std::snprintf(date[0], sizeof date[0], "%04d", now.year);
    std::snprintf(date[1], sizeof date[1], "%02d", now.month);
    std::snprintf(date[2], sizeof date[2], "%02d", now.day);
    std::snprintf(date[3], sizeof date[3], "%02d", now.hour);
    std::snprintf(date[4], sizeof date[4], "%02d", now.minute);
    std::snprintf(date[5], sizeof date[5], "%02d", now.second);

    StatusTexts texts;
    texts.clock = std::string(" ") + date[0] + year + date[1] + month + date[2] + day + " "
        + date[3] + ":" + date[4] + ":" + date[5] + " " + kelmu.getWeek();
    texts.uptime = uptimeLabel + kelmu.intToTime(kelmu.openTime());
    texts.idle = idleLabel + kelmu.intToTime(kelmu.noAction());
    return texts;
}

TaskPass::TaskPass(TaskList &tasks, KelmuFunctions &kelmu, Clock &clock, OperationRunner &runner)
    : m_tasks(tasks)
    , m_kelmu(kelmu)
    , m_clock(clock)
    , m_runner(runner)
{ }

void TaskPass::readClock()
{
    m_now = m_clock.now();
    m_now.millisecond = 0;
    m_nowDateTimeText = formatDateTime(m_now);
    m_nowTimeText = formatTimeOfDay(m_now);
}

void TaskPass::liebiao_caozuo()
{
    readClock();
    // The row count is read afresh before every row: runs may add or remove rows meanwhile.
    std::size_t position = 0;
    while (position < m_tasks.size()) {
        const std::optional<std::int32_t> mode
            = parseRowNumber(m_tasks.row(position).text(TaskField::ModeIndex));
        if (!mode) {
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

    const std::string &preset = row.text(TaskField::Preset);
    const std::string &now = preset.size() > 8 ? m_nowDateTimeText : m_nowTimeText;
    if (now == preset)
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
    m_runner.ExeCute(operation, parameter);
    readClock();
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
