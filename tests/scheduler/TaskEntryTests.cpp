#include "scheduler/TaskEntry.h"

#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using namespace lunor;

namespace {

std::string gbk(const char *utf8)
{
    return platform::utf8ToGbk(utf8);
}

TaskEntryValues entry(int mode, int h, int m, int s)
{
    TaskEntryValues values;
    values.modePosition = mode;
    values.modeText = modeLabels().at(static_cast<std::size_t>(mode));
    values.operationName = gbk("关机");
    values.hours = h;
    values.minutes = m;
    values.seconds = s;
    return values;
}

} // namespace

TEST(TaskEntry, SecondCountsAreStoredInCounterAndPreset)
{
    const struct
    {
        int mode, h, m, s;
        const char *count;
    } cases[] = {
        { ModeCountdown, 0, 1, 0, "60" },
        { ModeCountdown, 0, 90, 0, "5400" },
        { ModeLoop, 999, 999, 999, "3657339" },
        { ModeUptime, 0, 0, 0, "0" },
        { ModeIdle, 1, 0, 59, "3659" },
    };
    for (const auto &c : cases) {
        const TaskRow row = makeTaskRow(entry(c.mode, c.h, c.m, c.s), "p", 4);
        EXPECT_EQ(row.text(TaskField::Counter), c.count);
        EXPECT_EQ(row.text(TaskField::Preset), c.count);
        EXPECT_EQ(row.text(TaskField::ModeIndex), std::to_string(c.mode));
        // Only loop rows have no after-run choice.
        EXPECT_EQ(row.text(TaskField::AfterRun), c.mode == ModeLoop ? "" : gbk("保留"));
    }
}

TEST(TaskEntry, TheNewRowIsArmedAndCarriesTheEntryTexts)
{
    const TaskRow row = makeTaskRow(entry(ModeCountdown, 0, 0, 5), "", 3);
    EXPECT_EQ(row.SerialNo, "3");
    EXPECT_TRUE(row.Running);
    EXPECT_EQ(row.RowImage, 0);
    EXPECT_EQ(row.text(TaskField::ModeLabel), gbk("A - 倒计时方式"));
    EXPECT_EQ(row.text(TaskField::OperationName), gbk("关机"));
    EXPECT_EQ(row.text(TaskField::ParamText), "");
    EXPECT_EQ(row.text(TaskField::RemainingText), gbk("剩余时间"));
}

TEST(TaskEntry, AtTimeStoresATimeOfDayOrADateAndTime)
{
    TaskEntryValues values = entry(ModeAtTime, 5, 5, 5);
    values.date = { 2008, 12, 20, 1, 2, 3, 0 };
    values.time = { 2001, 1, 1, 14, 30, 5, 0 };

    values.withDate = false;
    EXPECT_EQ(makeTaskRow(values, "", 1).text(TaskField::Counter), "14:30:05");
    values.withDate = true;
    const TaskRow dated = makeTaskRow(values, "", 1);
    EXPECT_EQ(dated.text(TaskField::Counter), "2008-12-20 14:30:05");
    EXPECT_EQ(dated.text(TaskField::Preset), "2008-12-20 14:30:05");
    EXPECT_EQ(dated.text(TaskField::ModeIndex), "1");
}

TEST(TaskEntry, ModeLabelsAndHelpTexts)
{
    ASSERT_EQ(modeLabels().size(), 5u);
    EXPECT_EQ(modeLabels()[1], gbk("B - 定时方式"));
    EXPECT_EQ(modeHelpText(0), gbk("倒计时方式，例如几小时几分钟后执行相应操作"));
    EXPECT_EQ(modeHelpText(4), gbk("鼠标键盘多长时间没有相应动作执行相应操作"));
    EXPECT_EQ(modeHelpText(5), "");
    EXPECT_EQ(modeHelpText(-1), "");
}
