#include "gui/SecondTimer.h"

#include <QDateTime>
#include <QTest>

#include <gtest/gtest.h>

namespace lunor::test {
namespace {

struct DelayCase
{
    qint64 nowMs;
    int delay;
};

class SecondTimerDelayTest : public ::testing::TestWithParam<DelayCase>
{
};

TEST_P(SecondTimerDelayTest, AimsJustPastTheNextSecond)
{
    EXPECT_EQ(gui::SecondTimer::delayToNextSecond(GetParam().nowMs), GetParam().delay);
}

INSTANTIATE_TEST_SUITE_P(Moments, SecondTimerDelayTest,
    ::testing::Values(DelayCase { 1'000, 1'005 }, DelayCase { 1'001, 1'004 },
        DelayCase { 1'500, 505 }, DelayCase { 1'999, 6 }, DelayCase { 1'700'000'000'998, 7 },
        DelayCase { -1, 6 }, DelayCase { -1'000, 1'005 }));

TEST(SecondTimerTest, EverySecondGetsOneTickSoonAfterItsStart)
{
    gui::SecondTimer timer;
    QList<qint64> ticks;
    QObject::connect(&timer, &gui::SecondTimer::tick,
        [&] { ticks.append(QDateTime::currentMSecsSinceEpoch()); });
    QTest::qWait(3'300);
    ASSERT_GE(ticks.size(), 3);
    ASSERT_LE(ticks.size(), 4);
    for (int i = 0; i < ticks.size(); ++i) {
        // Within the first part of its second, and each in a second of its own.
        EXPECT_LT(ticks[i] % 1000, 500) << i;
        if (i > 0) {
            EXPECT_EQ(ticks[i] / 1000, ticks[i - 1] / 1000 + 1) << i;
        }
    }
}

} // namespace
} // namespace lunor::test
