#include "scheduler/TaskEntry.h"

#include "common/SystemTexts.h"
#include "platform/TextCodec.h"

namespace lunor {
namespace {

std::vector<std::string> toGbk(std::initializer_list<const char *> texts)
{
    std::vector<std::string> converted;
    for (const char *text : texts)
        converted.push_back(platform::utf8ToGbk(text));
    return converted;
}

} // namespace

const std::vector<std::string> &modeLabels()
{
    static const std::vector<std::string> labels = toGbk({
        "A - 倒计时方式",
        "B - 定时方式",
        "A - 循环方式",
        "A - 系统运行方式",
        "A - 系统无操作方式",
    });
    return labels;
}

std::string modeHelpText(int position)
{
    static const std::vector<std::string> texts = toGbk({
        "倒计时方式，例如几小时几分钟后执行相应操作",
        "到指定的时间或者日期执行相应操作",
        "每隔一段时间执行相应操作",
        "操作系统连续工作多长时间执行相应操作",
        "鼠标键盘多长时间没有相应动作执行相应操作",
    });
    if (position < 0 || position >= static_cast<int>(texts.size()))
        return {};
    return texts[static_cast<std::size_t>(position)];
}

int entrySeconds(const TaskEntryValues &values)
{
    return values.hours * 3600 + values.minutes * 60 + values.seconds;
}

TaskRow makeTaskRow(
    const TaskEntryValues &values, const std::string &parameter, std::size_t rowCountWithNewRow)
{
    static const std::string remaining = platform::utf8ToGbk("剩余时间");

    TaskRow row;
    row.Running = true;
    row.SerialNo = std::to_string(rowCountWithNewRow);
    row.text(TaskField::ModeLabel) = values.modeText;
    row.text(TaskField::OperationName) = values.operationName;
    row.RowImage = 0;
    row.text(TaskField::ParamText) = parameter;
    row.text(TaskField::RemainingText) = remaining;
    row.text(TaskField::AfterRun)
        = values.modePosition == ModeLoop ? std::string() : texts::keepAfterRun();

    std::string counter;
    if (values.modePosition == ModeAtTime) {
        if (values.withDate) {
            DateTime moment = values.date;
            moment.hour = values.time.hour;
            moment.minute = values.time.minute;
            moment.second = values.time.second;
            counter = formatDateTime(moment);
        } else {
            counter = formatTimeOfDay(values.time);
        }
    } else {
        counter = std::to_string(entrySeconds(values));
    }
    row.text(TaskField::Counter) = counter;
    row.text(TaskField::Preset) = counter;
    row.text(TaskField::ModeIndex) = std::to_string(values.modePosition);
    return row;
}

} // namespace lunor
