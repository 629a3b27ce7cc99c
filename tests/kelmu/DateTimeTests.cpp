#include "kelmu/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace lunor {
namespace {

// A failing row shows its name rather than its raw bytes.
template <typename Row>
requires requires(const Row &row)
{
    row.name;
}
void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

DateTime timeOfDay(int hour, int minute, int second, int millisecond = 0)
{
    return { 0, 0, 0, hour, minute, second, millisecond };
}

// --- Days since 1899-12-30 -----------------------------------------------------------------

struct DaysCase
{
    const char *name;
    DateTime moment;
    double days;
};

class DaysRoundTrip : public testing::TestWithParam<DaysCase>
{
};

TEST_P(DaysRoundTrip, EncodesAndDecodes)
{
    const DaysCase &c = GetParam();
    EXPECT_NEAR(c.moment.toDays(), c.days, 1e-9);
    EXPECT_EQ(DateTime::fromDays(c.days), c.moment);
    EXPECT_EQ(DateTime::fromDays(c.moment.toDays()), c.moment);
}

INSTANTIATE_TEST_SUITE_P(Moments, DaysRoundTrip,
    testing::Values(DaysCase { "Midnight", timeOfDay(0, 0, 0), 0.0 },
        DaysCase { "Noon", timeOfDay(12, 0, 0), 0.5 },
        DaysCase { "LastMillisecond", timeOfDay(23, 59, 59, 999), 86399.999 / 86400 },
        DaysCase { "DayAfterEpoch", { 1899, 12, 31, 0, 0, 0, 0 }, 1.0 },
        DaysCase { "DayBeforeEpoch", { 1899, 12, 29, 0, 0, 0, 0 }, -1.0 },
        // Before 1899-12-30 the fraction is still the time of day, counted away from zero.
        DaysCase { "MorningBeforeEpoch", { 1899, 12, 29, 6, 0, 0, 0 }, -1.25 },
        DaysCase { "EveningTwoDaysBefore", { 1899, 12, 28, 18, 0, 0, 0 }, -2.75 },
        DaysCase { "CenturyBefore", { 1800, 1, 1, 0, 0, 0, 0 }, -36522.0 },
        DaysCase { "LeapDay", { 2000, 2, 29, 18, 0, 0, 0 }, 36585.75 },
        DaysCase { "WithSeconds", { 2008, 12, 20, 14, 30, 5, 0 }, 39802 + 52205.0 / 86400 },
        DaysCase { "WithMilliseconds", { 2008, 12, 20, 14, 30, 5, 250 }, 39802 + 52205.25 / 86400 },
        DaysCase { "FirstDay", { 1, 1, 1, 0, 0, 0, 0 }, -693593.0 },
        DaysCase { "LastSecond", { 9999, 12, 31, 23, 59, 59, 0 }, 2958465 + 86399.0 / 86400 }),
    [](const testing::TestParamInfo<DaysCase> &info) { return std::string(info.param.name); });

TEST(DateTimeDays, EpochDayReadsBackAsTimeOfDay)
{
    // A whole part of 0 is how a time of day is stored, so 1899-12-30 cannot be told apart.
    const DateTime epochNoon { 1899, 12, 30, 12, 0, 0, 0 };
    EXPECT_DOUBLE_EQ(epochNoon.toDays(), 0.5);
    EXPECT_EQ(DateTime::fromDays(0.5), timeOfDay(12, 0, 0));
}

struct RoundingCase
{
    const char *name;
    double days;
    DateTime expected;
};

class DaysRounding : public testing::TestWithParam<RoundingCase>
{
};

TEST_P(DaysRounding, RoundsToWholeMillisecondsWithCarry)
{
    EXPECT_EQ(DateTime::fromDays(GetParam().days), GetParam().expected);
}

constexpr double Millisecond = 1.0 / 86'400'000;

INSTANTIATE_TEST_SUITE_P(Values, DaysRounding,
    testing::Values(
        RoundingCase { "JustBelowNextDay", 1.0 - 0.1 * Millisecond, { 1899, 12, 31, 0, 0, 0, 0 } },
        RoundingCase { "JustAboveDay", 1.0 + 0.1 * Millisecond, { 1899, 12, 31, 0, 0, 0, 0 } },
        RoundingCase {
            "NegativeCarriesAwayFromZero", -2.0 + 0.1 * Millisecond, { 1899, 12, 28, 0, 0, 0, 0 } },
        RoundingCase { "HalfMillisecondDown", 0.5 + 0.4 * Millisecond, timeOfDay(12, 0, 0, 0) },
        RoundingCase { "HalfMillisecondUp", 0.5 + 0.6 * Millisecond, timeOfDay(12, 0, 0, 1) },
        RoundingCase {
            "LeapDayLateEvening", 36585 + (86399.9996 / 86400), { 2000, 3, 1, 0, 0, 0, 0 } },
        RoundingCase { "NegativeFractionOfDayZero", -0.25, timeOfDay(6, 0, 0) },
        RoundingCase { "NotANumber", std::numeric_limits<double>::quiet_NaN(), {} },
        RoundingCase { "Infinite", std::numeric_limits<double>::infinity(), {} },
        RoundingCase { "AfterYear9999", 2958466.5, {} },
        RoundingCase { "BeforeYear1", -693594.5, {} }, RoundingCase { "Huge", 1e300, {} }),
    [](const testing::TestParamInfo<RoundingCase> &info) { return std::string(info.param.name); });

// --- Moment texts ----------------------------------------------------------------------------

struct ParseCase
{
    const char *text;
    std::optional<DateTime> expected;
};

void PrintTo(const ParseCase &row, std::ostream *out)
{
    *out << '"' << row.text << '"';
}

class MomentParsing : public testing::TestWithParam<ParseCase>
{
};

TEST_P(MomentParsing, ReadsOnlyWellFormedMoments)
{
    const ParseCase &c = GetParam();
    const auto parsed = parseMoment(c.text);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
    if (!parsed)
        return;
    EXPECT_EQ(*parsed, *c.expected);
    // What was read writes back to the same text.
    EXPECT_EQ(parsed->hasDate() ? formatDateTime(*parsed) : formatTimeOfDay(*parsed), c.text);
}

INSTANTIATE_TEST_SUITE_P(Valid, MomentParsing,
    testing::Values(ParseCase { "2008-12-20 14:30:05", DateTime { 2008, 12, 20, 14, 30, 5, 0 } },
        ParseCase { "2000-02-29 00:00:00", DateTime { 2000, 2, 29, 0, 0, 0, 0 } },
        ParseCase { "2024-02-29 12:00:00", DateTime { 2024, 2, 29, 12, 0, 0, 0 } },
        ParseCase { "0001-01-01 00:00:00", DateTime { 1, 1, 1, 0, 0, 0, 0 } },
        ParseCase { "9999-12-31 23:59:59", DateTime { 9999, 12, 31, 23, 59, 59, 0 } },
        ParseCase { "1899-12-30 08:00:00", DateTime { 1899, 12, 30, 8, 0, 0, 0 } },
        ParseCase { "2008-04-30 01:02:03", DateTime { 2008, 4, 30, 1, 2, 3, 0 } },
        ParseCase { "00:00:00", timeOfDay(0, 0, 0) },
        ParseCase { "23:59:59", timeOfDay(23, 59, 59) },
        ParseCase { "07:08:09", timeOfDay(7, 8, 9) }));

INSTANTIATE_TEST_SUITE_P(Invalid, MomentParsing,
    testing::Values(ParseCase { "1900-02-29 00:00:00", {} },
        ParseCase { "2001-02-29 00:00:00", {} }, ParseCase { "2100-02-29 00:00:00", {} },
        ParseCase { "2008-02-30 00:00:00", {} }, ParseCase { "2008-04-31 00:00:00", {} },
        ParseCase { "2008-13-01 00:00:00", {} }, ParseCase { "2008-00-10 00:00:00", {} },
        ParseCase { "2008-12-00 00:00:00", {} }, ParseCase { "2008-12-32 00:00:00", {} },
        ParseCase { "0000-01-01 00:00:00", {} }, ParseCase { "2008-12-20 24:00:00", {} },
        ParseCase { "2008-12-20 12:60:00", {} }, ParseCase { "2008-12-20 12:00:60", {} },
        ParseCase { "24:00:00", {} }, ParseCase { "12:60:00", {} }, ParseCase { "12:00:60", {} },
        ParseCase { "2008-12-20T14:30:05", {} }, ParseCase { "2008/12/20 14:30:05", {} },
        ParseCase { "2008-12-20 14:30:5", {} }, ParseCase { "2008-12-20  4:30:05", {} },
        ParseCase { "2008-12-20 14:30:05 ", {} }, ParseCase { " 14:30:05", {} },
        ParseCase { "14:30:05 ", {} }, ParseCase { "14-30-05", {} }, ParseCase { "+4:30:05", {} },
        ParseCase { "1:2:3", {} }, ParseCase { "2008-12-20", {} }, ParseCase { "", {} },
        ParseCase { "-008-12-20 14:30:05", {} }, ParseCase { "14:3a:05", {} }));

TEST(MomentText, PadsEveryField)
{
    const DateTime moment { 987, 1, 2, 3, 4, 5, 678 };
    EXPECT_EQ(formatDateTime(moment), "0987-01-02 03:04:05");
    EXPECT_EQ(formatTimeOfDay(moment), "03:04:05");
}

// --- Weekday ---------------------------------------------------------------------------------

struct WeekdayCase
{
    DateTime date;
    int weekday;
};

void PrintTo(const WeekdayCase &row, std::ostream *out)
{
    *out << formatDateTime(row.date);
}

class Weekday : public testing::TestWithParam<WeekdayCase>
{
};

TEST_P(Weekday, CountsFromMonday)
{
    EXPECT_EQ(weekdayOf(GetParam().date), GetParam().weekday);
}

INSTANTIATE_TEST_SUITE_P(Dates, Weekday,
    testing::Values(WeekdayCase { { 2008, 12, 20, 14, 30, 5, 0 }, 5 },
        WeekdayCase { { 1899, 12, 30, 0, 0, 0, 0 }, 5 },
        WeekdayCase { { 1899, 12, 25, 0, 0, 0, 0 }, 0 },
        WeekdayCase { { 1970, 1, 1, 0, 0, 0, 0 }, 3 },
        WeekdayCase { { 2000, 2, 29, 0, 0, 0, 0 }, 1 },
        WeekdayCase { { 2024, 3, 3, 0, 0, 0, 0 }, 6 }, WeekdayCase { { 1, 1, 1, 0, 0, 0, 0 }, 0 },
        WeekdayCase { { 9999, 12, 31, 0, 0, 0, 0 }, 4 }));

TEST(DateTimeNow, GivesAValidLocalMomentWithMilliseconds)
{
    const DateTime now = DateTime::now();
    EXPECT_TRUE(parseMoment(formatDateTime(now)).has_value()) << formatDateTime(now);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    EXPECT_GE(now.year, 2000);
}

} // namespace
} // namespace lunor
