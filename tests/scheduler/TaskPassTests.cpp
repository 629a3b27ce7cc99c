#include "scheduler/TaskPass.h"

#include "FakeKelmu.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace lunor;
using lunor::test::FakeKelmu;
using lunor::test::TestClock;

namespace {

std::string gbk(const char *utf8)
{
    return platform::utf8ToGbk(utf8);
}

struct RecordingRunner final : OperationRunner
{
    std::vector<std::string> runs; // "operation|parameter"
    std::function<void(const std::string &operation)> during;

    void ExeCute(const std::string &operationName, const std::string &parameter) override
    {
        runs.push_back(operationName + "|" + parameter);
        if (during)
            during(operationName);
    }
};

class TaskPassTest : public ::testing::Test
{
protected:
    // Adds an armed row; returns its position.
    std::size_t add(int mode, const std::string &counter, const std::string &preset,
        const std::string &afterRun, const std::string &operation = "op", bool running = true)
    {
        TaskRow row;
        row.SerialNo = std::to_string(tasks.size() + 1);
        row.text(TaskField::OperationName) = operation;
        row.text(TaskField::ParamText) = "param-" + operation;
        row.text(TaskField::RemainingText) = gbk("剩余时间");
        row.text(TaskField::AfterRun) = afterRun;
        row.text(TaskField::Counter) = counter;
        row.text(TaskField::Preset) = preset;
        row.text(TaskField::ModeIndex) = std::to_string(mode);
        row.Running = running;
        row.RowImage = running ? 0 : 1;
        tasks.append(row);
        return tasks.size() - 1;
    }

    const TaskRow &at(std::size_t position) const { return tasks.row(position); }
    const std::string &remaining(std::size_t position) const
    {
        return at(position).text(TaskField::RemainingText);
    }

    // Runs passes until the row's operation has run once; returns the number of passes.
    int passesUntilRun(int limit = 100)
    {
        for (int pass = 1; pass <= limit; ++pass) {
            this->pass.liebiao_caozuo(clock.current);
            if (!runner.runs.empty())
                return pass;
        }
        return -1;
    }

    const std::string keep = gbk("保留");
    const std::string remove = gbk("删除");

    TaskList tasks;
    FakeKelmu kelmu;
    TestClock clock;
    RecordingRunner runner;
    TaskPass pass { tasks, kelmu, runner };
};

} // namespace

TEST(PlainHms, PartsAreTruncatedAndKeepTheSign)
{
    const struct
    {
        std::int64_t seconds;
        const char *text;
    } cases[] = {
        { 0, "0:0:0" },
        { 59, "0:0:59" },
        { 125, "0:2:5" },
        { 90061, "25:1:1" },
        { -65, "0:-1:-5" },
        { -3600, "-1:0:0" },
        { -3661, "-1:-1:-1" },
        { 4294967296LL, "1193046:28:16" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(plainHms(c.seconds), c.text) << c.seconds;
}

TEST(ParseRowNumber, AcceptsPlainDecimalTextOnly)
{
    const struct
    {
        const char *text;
        std::optional<std::int32_t> value;
    } cases[] = {
        { "0", 0 },
        { "60", 60 },
        { "-5", -5 },
        { "+7", 7 },
        { "2147483647", 2147483647 },
        { "-2147483648", -2147483647 - 1 },
        { "2147483648", std::nullopt },
        { "", std::nullopt },
        { "-", std::nullopt },
        { "12a", std::nullopt },
        { " 1", std::nullopt },
        { "1.5", std::nullopt },
        { "0x10", std::nullopt },
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseRowNumber(c.text), c.value) << c.text;
}

TEST_F(TaskPassTest, CountdownRunsOnThePassAfterItsCountAndShowsTheTimeLeft)
{
    for (int count : { 0, 1, 3 }) {
        tasks.clear();
        runner.runs.clear();
        const std::string n = std::to_string(count);
        add(ModeCountdown, n, n, keep);
        EXPECT_EQ(passesUntilRun(), count + 1) << count;
        EXPECT_FALSE(at(0).Running);
        EXPECT_EQ(at(0).RowImage, 1);
        EXPECT_EQ(at(0).text(TaskField::Counter), "0");
        EXPECT_EQ(at(0).text(TaskField::Preset), n);
        // With nothing to count, the text from task entry stays.
        EXPECT_EQ(remaining(0), count == 0 ? gbk("剩余时间") : "T0");
        EXPECT_EQ(runner.runs, (std::vector<std::string> { "op|param-op" }));
        pass.liebiao_caozuo(clock.current);
        EXPECT_EQ(runner.runs.size(), 1u) << "a stopped row does not run again";
    }
}

TEST_F(TaskPassTest, CountdownShowsIntToTimeOfTheNewCount)
{
    add(ModeCountdown, "60", "60", keep);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(at(0).text(TaskField::Counter), "59");
    EXPECT_EQ(remaining(0), "T59");
}

TEST_F(TaskPassTest, LoopRunsEveryPresetPlusOnePassesAndStaysArmed)
{
    for (int preset : { 0, 2 }) {
        tasks.clear();
        runner.runs.clear();
        const std::string p = std::to_string(preset);
        // "删除" must not make the pass delete or disarm a loop row.
        add(ModeLoop, p, p, remove);
        std::vector<std::string> shown;
        std::vector<int> runPasses;
        for (int passNo = 1; passNo <= 3 * (preset + 1); ++passNo) {
            const std::size_t before = runner.runs.size();
            pass.liebiao_caozuo(clock.current);
            if (runner.runs.size() != before)
                runPasses.push_back(passNo);
            shown.push_back(remaining(0));
        }
        const std::vector<int> expectedPasses = { preset + 1, 2 * (preset + 1), 3 * (preset + 1) };
        EXPECT_EQ(runPasses, expectedPasses) << preset;
        ASSERT_EQ(tasks.size(), 1u);
        EXPECT_TRUE(at(0).Running);
        EXPECT_EQ(at(0).RowImage, 0);
        EXPECT_EQ(at(0).text(TaskField::Counter), p);
        if (preset == 2) {
            EXPECT_EQ(shown,
                (std::vector<std::string> { "0:0:1", "0:0:0", "0:0:0", "0:0:1", "0:0:0", "0:0:0",
                    "0:0:1", "0:0:0", "0:0:0" }));
        }
    }
}

TEST_F(TaskPassTest, AtTimeRunsOnlyWhenTheClockShowsItsPreset)
{
    clock.current = { 2008, 12, 20, 14, 30, 5, 0 };
    add(ModeAtTime, "14:30:06", "14:30:06", keep, "daily");
    add(ModeAtTime, "2008-12-20 14:30:06", "2008-12-20 14:30:06", keep, "dated");
    add(ModeAtTime, "2008-12-20 14:30:04", "2008-12-20 14:30:04", keep, "past");

    pass.liebiao_caozuo(clock.current);
    EXPECT_TRUE(runner.runs.empty());
    EXPECT_EQ(remaining(0), "0:0:1");
    EXPECT_EQ(remaining(1), "0:0:1");
    EXPECT_EQ(remaining(2), "0:0:-1");

    clock.current.second = 6;
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs, (std::vector<std::string> { "daily|param-daily", "dated|param-dated" }));
    EXPECT_FALSE(at(0).Running);
    EXPECT_FALSE(at(1).Running);
    EXPECT_TRUE(at(2).Running);

    // A pass that misses the target second does not make up for it.
    clock.current.second = 8;
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs.size(), 2u);
}

TEST_F(TaskPassTest, AtTimeMilliSecondsOfTheClockDoNotBlurTheTimeLeft)
{
    clock.current = { 2008, 12, 20, 14, 30, 5, 999 };
    add(ModeAtTime, "2008-12-20 14:31:05", "2008-12-20 14:31:05", keep);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(remaining(0), "0:1:0");
}

TEST_F(TaskPassTest, UptimeRunsOnceDueAndStoppedRowsKeepCounting)
{
    kelmu.uptime = 1000;
    add(ModeUptime, "1005", "1005", keep, "later");
    add(ModeUptime, "900", "900", keep, "passed"); // armed after the moment: runs at once
    add(ModeUptime, "990", "990", keep, "stopped", false);

    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs, (std::vector<std::string> { "passed|param-passed" }));
    EXPECT_EQ(remaining(0), "0:0:5");
    EXPECT_EQ(remaining(2), "0:0:-10");

    kelmu.uptime = 1065;
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs.back(), "later|param-later");
    EXPECT_EQ(remaining(2), "0:-1:-15");
    EXPECT_EQ(runner.runs.size(), 2u);
}

TEST_F(TaskPassTest, IdleRunsWhenTheIdleTimeReachesItsCount)
{
    kelmu.idle = 10;
    add(ModeIdle, "12", "12", keep);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(remaining(0), "0:0:2");
    EXPECT_TRUE(runner.runs.empty());
    kelmu.idle = 12;
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs.size(), 1u);
    EXPECT_FALSE(at(0).Running);
}

TEST_F(TaskPassTest, StoppedRowsOfTheOtherModesKeepTheirTextsFrozen)
{
    add(ModeCountdown, "5", "5", keep, "a", false);
    add(ModeLoop, "5", "5", "", "b", false);
    add(ModeIdle, "5", "5", keep, "c", false);
    add(ModeAtTime, "14:30:05", "14:30:05", keep, "d", false);
    pass.liebiao_caozuo(clock.current);
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        EXPECT_EQ(remaining(i), gbk("剩余时间")) << i;
        EXPECT_EQ(at(i).text(TaskField::Counter), i == 3 ? "14:30:05" : "5") << i;
    }
    EXPECT_TRUE(runner.runs.empty());
}

TEST_F(TaskPassTest, DueRowsRunInListOrderAndADeletedRowLetsTheNextOneBeHandled)
{
    add(ModeCountdown, "0", "0", remove, "first");
    add(ModeCountdown, "0", "0", keep, "second");
    add(ModeCountdown, "3", "3", keep, "third");
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(
        runner.runs, (std::vector<std::string> { "first|param-first", "second|param-second" }));
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(at(0).text(TaskField::OperationName), "second");
    EXPECT_EQ(at(1).text(TaskField::Counter), "2");
}

TEST_F(TaskPassTest, AfterRunIsReadOnlyWhenTheRunHasReturned)
{
    add(ModeCountdown, "0", "0", keep);
    runner.during = [this](const std::string &) { tasks.setText(0, TaskField::AfterRun, remove); };
    pass.liebiao_caozuo(clock.current);
    EXPECT_TRUE(tasks.empty());
}

TEST_F(TaskPassTest, RowsThatDoNotReadAreSkippedEveryPassAndTheRestIsHandled)
{
    const struct
    {
        const char *mode;
        const char *counter;
        const char *preset;
    } damaged[] = {
        { "x", "0", "0" }, // mode not a number
        { "", "0", "0" }, // mode empty
        { "7", "0", "0" }, // mode out of range
        { "-1", "0", "0" }, // negative mode
        { "0", "soon", "5" }, // countdown count not a number
        { "2", "", "5" }, // loop count empty
        { "3", "1e3", "5" }, // uptime count not an integer
        { "4", "9999999999", "5" }, // idle count beyond 32 bits
        { "1", "25:00:00", "25:00:00" }, // not a time of day
        { "1", "2008-02-30 10:00:00", "x" }, // not a date
    };
    for (const auto &d : damaged) {
        TaskRow row;
        row.SerialNo = "9";
        row.text(TaskField::Counter) = d.counter;
        row.text(TaskField::Preset) = d.preset;
        row.text(TaskField::ModeIndex) = d.mode;
        row.text(TaskField::RemainingText) = "untouched";
        row.Running = true;
        tasks.append(row);
    }
    add(ModeCountdown, "1", "1", keep, "healthy");
    const std::size_t healthy = tasks.size() - 1;

    pass.liebiao_caozuo(clock.current);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs, (std::vector<std::string> { "healthy|param-healthy" }));
    for (std::size_t i = 0; i < healthy; ++i) {
        EXPECT_EQ(remaining(i), "untouched") << i;
        EXPECT_TRUE(at(i).Running) << i;
        EXPECT_EQ(at(i).text(TaskField::Counter), damaged[i].counter) << i;
    }
}

TEST_F(TaskPassTest, ANestedPassDoesNotRunTheWaitingRowAgain)
{
    add(ModeCountdown, "0", "0", keep, "waiting");
    add(ModeCountdown, "1", "1", keep, "other");
    int nested = 0;
    runner.during = [&](const std::string &operation) {
        // The message loop runs while the first operation waits: three more seconds pass.
        if (operation == "waiting")
            for (; nested < 3; ++nested)
                pass.liebiao_caozuo(clock.current);
    };
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(
        runner.runs, (std::vector<std::string> { "waiting|param-waiting", "other|param-other" }));
    // One count per pass, the outer pass included: the second row ran in the nested passes.
    EXPECT_FALSE(at(1).Running);
}

TEST_F(TaskPassTest, TheOuterPassDeletesTheRowThatRanEvenWhenRowsBeforeItWentMeanwhile)
{
    add(ModeCountdown, "9", "9", keep, "before");
    add(ModeCountdown, "0", "0", remove, "due");
    add(ModeCountdown, "9", "9", keep, "after");
    runner.during = [this](const std::string &) { tasks.remove(0); }; // the user deletes row 1

    pass.liebiao_caozuo(clock.current);
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(at(0).text(TaskField::OperationName), "after");
    // Handled exactly once in this pass, not skipped and not twice.
    EXPECT_EQ(at(0).text(TaskField::Counter), "8");
}

TEST_F(TaskPassTest, TheOuterPassLeavesTheListAloneWhenTheRowThatRanHasGone)
{
    add(ModeCountdown, "0", "0", remove, "due");
    add(ModeCountdown, "9", "9", keep, "next");
    add(ModeCountdown, "9", "9", keep, "last");
    runner.during = [this](const std::string &) { tasks.remove(0); };

    pass.liebiao_caozuo(clock.current);
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(at(0).text(TaskField::OperationName), "next");
    EXPECT_EQ(at(0).text(TaskField::Counter), "8");
    EXPECT_EQ(at(1).text(TaskField::Counter), "8");
}

TEST_F(TaskPassTest, RowsAddedDuringARunAreHandledInTheSamePass)
{
    add(ModeCountdown, "0", "0", keep, "due");
    runner.during = [this](const std::string &operation) {
        if (operation == "due")
            add(ModeCountdown, "5", "5", keep, "added");
    };
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(at(1).text(TaskField::Counter), "4");
}

TEST_F(TaskPassTest, ARowWhoseRunStillWaitsIsLeftAloneByNestedPasses)
{
    // A loop row whose box stays open over several seconds, and one that fails every second:
    // the nested passes neither run it again nor count it down.
    add(ModeLoop, "0", "0", "", "loop");
    add(ModeCountdown, "5", "5", keep, "counting");
    int nested = 0;
    runner.during = [&](const std::string &operation) {
        if (operation != "loop")
            return;
        for (; nested < 3; ++nested) {
            clock.advance(1);
            pass.liebiao_caozuo(clock.current);
        }
    };
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs, (std::vector<std::string> { "loop|param-loop" }));
    EXPECT_EQ(at(0).text(TaskField::Counter), "0");
    // The other rows still count every pass, nested ones included.
    EXPECT_EQ(at(1).text(TaskField::Counter), "1");

    // Once the run has returned the row is due again, on the next pass.
    clock.advance(1);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs.size(), 2u);
    EXPECT_TRUE(at(0).Running);
}

TEST_F(TaskPassTest, AtTimeTargetsInSkippedSecondsRunOnceOnTheNextPass)
{
    clock.current = { 2008, 12, 20, 23, 59, 58, 0 };
    add(ModeAtTime, "2008-12-21 00:00:02", "2008-12-21 00:00:02", keep, "dated");
    add(ModeAtTime, "00:00:01", "00:00:01", keep, "daily");
    add(ModeAtTime, "23:59:58", "23:59:58", keep, "now");
    add(ModeAtTime, "23:59:57", "23:59:57", keep, "before-start");
    add(ModeAtTime, "00:00:09", "00:00:09", keep, "later");
    add(ModeCountdown, "9", "9", keep, "countdown");
    // The first pass of the program: a target that passed before it started never runs.
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs, (std::vector<std::string> { "now|param-now" }));

    // The computer sleeps across midnight: five seconds go by without a pass.
    clock.advance(5);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs,
        (std::vector<std::string> { "now|param-now", "dated|param-dated", "daily|param-daily" }));
    EXPECT_TRUE(at(4).Running);
    // Countdowns count passes, not seconds.
    EXPECT_EQ(at(5).text(TaskField::Counter), "7");

    // Resumed rows whose moment already passed wait for their next occurrence.
    tasks.setRunning(1, true);
    clock.advance(1);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs.size(), 3u);
}

TEST_F(TaskPassTest, AtTimeAfterTheClockWasSetBackLooksAtItsOwnSecondOnly)
{
    clock.current = { 2008, 12, 20, 14, 0, 0, 0 };
    add(ModeAtTime, "13:59:59", "13:59:59", keep, "back");
    add(ModeAtTime, "13:00:00", "13:00:00", keep, "between");
    pass.liebiao_caozuo(clock.current);
    clock.advance(-1);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs, (std::vector<std::string> { "back|param-back" }));
    // A whole day skipped runs every daily row once.
    clock.advance(86'400);
    pass.liebiao_caozuo(clock.current);
    EXPECT_EQ(runner.runs.size(), 2u);
    EXPECT_EQ(runner.runs.back(), "between|param-between");
}

TEST_F(TaskPassTest, AnEmptyListIsFine)
{
    pass.liebiao_caozuo(clock.current);
    EXPECT_TRUE(runner.runs.empty());
}

TEST(StatusTexts, ClockRunningTimeAndIdleTime)
{
    FakeKelmu kelmu;
    TestClock clock;
    clock.current = { 2008, 1, 2, 3, 4, 5, 0 };
    kelmu.uptime = 3600;
    kelmu.idle = 7;
    const StatusTexts texts = makeStatusTexts(kelmu, clock.current);
    EXPECT_EQ(texts.clock, gbk(" 2008年01月02日 03:04:05 W"));
    EXPECT_EQ(texts.uptime, gbk("操作系统已连续运行：T3600"));
    EXPECT_EQ(texts.idle, gbk("鼠标键盘无操作时间：T7"));
}
