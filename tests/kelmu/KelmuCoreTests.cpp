#include "kelmu/KelmuCore.h"

#include "kelmu/DateTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>

namespace lunor::kelmu {
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

// Expected texts are written as code page 936 bytes: "天" is CC EC, "星期" is D0 C7 C6 DA.
#define GBK_DAY "\xCC\xEC"
#define GBK_WEEK "\xD0\xC7\xC6\xDA"

// --- IntToTime ---------------------------------------------------------------------------------

struct DurationCase
{
    std::int32_t seconds;
    const char *text;
};

void PrintTo(const DurationCase &row, std::ostream *out)
{
    *out << row.seconds;
}

class DurationText : public testing::TestWithParam<DurationCase>
{
};

TEST_P(DurationText, ShowsHoursMinutesSecondsAndDays)
{
    EXPECT_EQ(durationText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Durations, DurationText,
    testing::Values(DurationCase { 0, "0:00:00" }, DurationCase { 59, "0:00:59" },
        DurationCase { 65, "0:01:05" }, DurationCase { 3600, "1:00:00" },
        DurationCase { 86399, "23:59:59" }, DurationCase { 86400, "1" GBK_DAY " 0:00:00" },
        DurationCase { 90061, "1" GBK_DAY " 1:01:01" },
        DurationCase { 10 * 86400 + 36000, "10" GBK_DAY " 10:00:00" },
        DurationCase { -1, "-0:00:01" }, DurationCase { -65, "-0:01:05" },
        DurationCase { -90061, "-1" GBK_DAY " 1:01:01" },
        DurationCase { std::numeric_limits<std::int32_t>::max(), "24855" GBK_DAY " 3:14:07" },
        DurationCase { std::numeric_limits<std::int32_t>::min(), "-24855" GBK_DAY " 3:14:08" }));

// --- GetWeek -----------------------------------------------------------------------------------

TEST(WeekdayText, NamesEveryDayInCodePage936)
{
    const char *const expected[] = {
        GBK_WEEK "\xD2\xBB",
        GBK_WEEK "\xB6\xFE",
        GBK_WEEK "\xC8\xFD",
        GBK_WEEK "\xCB\xC4",
        GBK_WEEK "\xCE\xE5",
        GBK_WEEK "\xC1\xF9",
        GBK_WEEK "\xC8\xD5",
    };
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(weekdayText(day), expected[day]) << day;
    EXPECT_EQ(weekdayText(-1), "");
    EXPECT_EQ(weekdayText(7), "");
    // 2008-12-20 was a Saturday.
    EXPECT_EQ(weekdayText(weekdayOf({ 2008, 12, 20, 0, 0, 0, 0 })), GBK_WEEK "\xC1\xF9");
}

// --- TimeDiff ----------------------------------------------------------------------------------

struct DiffCase
{
    const char *name;
    DateTime now;
    DateTime target;
    std::int32_t seconds;
};

class TimeDifference : public testing::TestWithParam<DiffCase>
{
};

TEST_P(TimeDifference, CountsWholeSecondsUntilTheTarget)
{
    const DiffCase &c = GetParam();
    EXPECT_EQ(secondsUntil(c.now.toDays(), c.target.toDays()), c.seconds);
}

constexpr DateTime Now { 2008, 12, 20, 14, 30, 5, 0 };

DateTime nowWithMilliseconds(int millisecond)
{
    DateTime moment = Now;
    moment.millisecond = millisecond;
    return moment;
}

DateTime at(int hour, int minute, int second)
{
    return { 0, 0, 0, hour, minute, second, 0 };
}

constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Lowest = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(DateTargets, TimeDifference,
    testing::Values(DiffCase { "Equal", Now, Now, 0 },
        DiffCase { "Future", Now, { 2008, 12, 20, 14, 31, 10, 0 }, 65 },
        DiffCase { "Past", Now, { 2008, 12, 20, 14, 29, 0, 0 }, -65 },
        DiffCase { "NextDay", Now, { 2008, 12, 21, 14, 30, 5, 0 }, 86400 },
        DiffCase { "OverNewYear", { 2008, 12, 31, 23, 59, 59, 0 }, { 2009, 1, 1, 0, 0, 1, 0 }, 2 },
        DiffCase {
            "OverLeapDay", { 2000, 2, 28, 12, 0, 0, 0 }, { 2000, 3, 1, 12, 0, 0, 0 }, 172800 },
        // Before 1899-12-30 the numbers' fraction runs against their whole part.
        DiffCase {
            "BeforeEpoch", { 1899, 12, 29, 6, 0, 0, 0 }, { 1899, 12, 28, 18, 0, 0, 0 }, -43200 },
        DiffCase {
            "AcrossEpoch", { 1899, 12, 29, 23, 59, 59, 0 }, { 1899, 12, 31, 0, 0, 1, 0 }, 86402 },
        DiffCase { "RoundsUp", nowWithMilliseconds(400), { 2008, 12, 20, 14, 30, 10, 0 }, 5 },
        DiffCase { "RoundsDown", nowWithMilliseconds(600), { 2008, 12, 20, 14, 30, 10, 0 }, 4 },
        DiffCase { "RoundsPastAwayFromZero", nowWithMilliseconds(600),
            { 2008, 12, 20, 14, 30, 0, 0 }, -6 },
        DiffCase {
            "TooFarAhead", { 1900, 1, 1, 0, 0, 0, 0 }, { 9999, 12, 31, 0, 0, 0, 0 }, Highest },
        DiffCase {
            "TooFarBehind", { 9999, 12, 31, 0, 0, 0, 0 }, { 1900, 1, 1, 0, 0, 0, 0 }, Lowest }),
    [](const testing::TestParamInfo<DiffCase> &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(TimeOfDayTargets, TimeDifference,
    testing::Values(DiffCase { "LaterToday", Now, at(14, 30, 10), 5 },
        DiffCase { "EqualIsZero", Now, at(14, 30, 5), 0 },
        DiffCase { "EarlierMeansTomorrow", Now, at(14, 30, 0), 86395 },
        DiffCase { "OneSecondAgo", Now, at(14, 30, 4), 86399 },
        DiffCase { "Midnight", Now, at(0, 0, 0), 34195 },
        DiffCase { "LastSecondOfDay", { 2008, 12, 20, 0, 0, 0, 0 }, at(23, 59, 59), 86399 },
        DiffCase { "RoundsWithinTheDay", nowWithMilliseconds(600), at(14, 30, 5), 86399 },
        DiffCase { "AlmostADayRoundsToNow", nowWithMilliseconds(400), at(14, 30, 5), 0 },
        DiffCase { "NowBeforeEpoch", { 1899, 12, 29, 6, 0, 0, 0 }, at(7, 0, 0), 3600 },
        DiffCase { "NowTimeOfDayOnly", at(23, 0, 0), at(1, 0, 0), 7200 }),
    [](const testing::TestParamInfo<DiffCase> &info) { return std::string(info.param.name); });

TEST(TimeDifference, ValuesThatAreNoNumbersGiveZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(secondsUntil(nan, Now.toDays()), 0);
    EXPECT_EQ(secondsUntil(Now.toDays(), nan), 0);
    EXPECT_EQ(secondsUntil(Now.toDays(), infinity), 0);
    EXPECT_EQ(secondsUntil(-infinity, 0.5), 0);
}

// --- GetFileName -------------------------------------------------------------------------------

struct UrlCase
{
    const char *url;
    const char *fileName;
};

void PrintTo(const UrlCase &row, std::ostream *out)
{
    *out << '"' << row.url << '"';
}

class UrlFileName : public testing::TestWithParam<UrlCase>
{
};

TEST_P(UrlFileName, TakesTheLastPathComponent)
{
    EXPECT_EQ(urlFileName(GetParam().url), GetParam().fileName) << GetParam().url;
}

INSTANTIATE_TEST_SUITE_P(Urls, UrlFileName,
    testing::Values(UrlCase { "http://127.0.0.1/soft/lunortime/Shutdown.dll", "Shutdown.dll" },
        UrlCase { "http://127.0.0.1/soft/lunortime/", "" },
        UrlCase { "http://127.0.0.1/get/b.dll?x=1", "b.dll" },
        UrlCase { "http://127.0.0.1/get/b.dll?path=a/c.dll", "b.dll" },
        UrlCase { "http://127.0.0.1/get/b.dll#part/two", "b.dll" },
        UrlCase { "http://127.0.0.1/get/b.dll?x=1#top", "b.dll" },
        UrlCase { "http://127.0.0.1/get/?file=b.dll", "" }, UrlCase { "b.dll", "b.dll" },
        UrlCase { "", "" }, UrlCase { "http://127.0.0.1", "127.0.0.1" },
        UrlCase { "http://127.0.0.1/a/..", "" }, UrlCase { "http://127.0.0.1/a/.", "" },
        UrlCase { "http://127.0.0.1/a/...dll", "...dll" },
        // GBK "插件.dll", and a character whose second byte is a backslash.
        UrlCase { "http://127.0.0.1/a/\xB2\xE5\xBC\xFE.dll", "\xB2\xE5\xBC\xFE.dll" },
        UrlCase { "http://127.0.0.1/a/\x81\x5C.dll", "\x81\x5C.dll" }));

} // namespace
} // namespace lunor::kelmu
