#include "kelmu/DateTime.h"

#include "platform/Clock.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace lunor {
namespace {

constexpr long long MillisecondsPerDay = 86'400'000;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar (H. Hinnant's
// algorithm); signed arithmetic throughout so that no field value can overflow or wrap.
long long daysFromCivil(long long year, long long month, long long day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate
{
    long long year;
    int month;
    int day;
};

CivilDate civilFromDays(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra
        = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return { yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day };
}

// The date-time numbers count days from 1899-12-30.
const long long EpochDays = daysFromCivil(1899, 12, 30);
// Dates the numbers can stand for: 0001-01-01 to 9999-12-31.
const long long FirstDay = daysFromCivil(1, 1, 1) - EpochDays;
const long long LastDay = daysFromCivil(9999, 12, 31) - EpochDays;

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int Lengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && isLeapYear(year) ? 29 : Lengths[month - 1];
}

// Reads exactly `count` decimal digits at `position`; nothing when any of them is not a digit.
std::optional<int> digits(std::string_view text, std::size_t position, std::size_t count)
{
    int value = 0;
    for (std::size_t i = position; i < position + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "hh:mm:ss" at `position`, range-checked.
bool parseTimeOfDay(std::string_view text, std::size_t position, DateTime &moment)
{
    if (text[position + 2] != ':' || text[position + 5] != ':')
        return false;
    const auto hour = digits(text, position, 2);
    const auto minute = digits(text, position + 3, 2);
    const auto second = digits(text, position + 6, 2);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59)
        return false;
    moment.hour = *hour;
    moment.minute = *minute;
    moment.second = *second;
    return true;
}

} // namespace

double DateTime::toDays() const
{
    const double time = (hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0) / 86400.0;
    if (!hasDate())
        return time;
    const auto date = static_cast<double>(daysFromCivil(year, month, day) - EpochDays);
    // Before 1899-12-30 the whole part counts backwards but the fraction is still the time of
    // day, so it is added away from zero: 1899-12-29 06:00 is -1.25.
    return date >= 0 ? date + time : date - time;
}

DateTime DateTime::fromDays(double days)
{
    if (!std::isfinite(days) || days > static_cast<double>(LastDay + 1)
        || days < static_cast<double>(FirstDay - 1))
        return {};
    // Round the magnitude to whole milliseconds first, so that a value a hair below midnight
    // becomes the next day at 00:00:00.000 rather than 23:59:59.1000.
    const long long total = std::llround(std::fabs(days) * static_cast<double>(MillisecondsPerDay));
    const long long whole = (days < 0 ? -1 : 1) * (total / MillisecondsPerDay);
    const long long timeOfDay = total % MillisecondsPerDay;
    if (whole < FirstDay || whole > LastDay)
        return {};

    DateTime moment;
    moment.hour = static_cast<int>(timeOfDay / 3'600'000);
    moment.minute = static_cast<int>(timeOfDay / 60'000 % 60);
    moment.second = static_cast<int>(timeOfDay / 1000 % 60);
    moment.millisecond = static_cast<int>(timeOfDay % 1000);
    // A whole part of 0 is how a time of day without a date is stored; 1899-12-30 itself
    // cannot be told apart from it and reads back as a time of day.
    if (whole != 0) {
        const CivilDate date = civilFromDays(whole + EpochDays);
        moment.year = static_cast<int>(date.year);
        moment.month = date.month;
        moment.day = date.day;
    }
    return moment;
}

long long DateTime::wallSeconds() const
{
    const long long days = hasDate() ? daysFromCivil(year, month, day) : 0;
    return days * 86'400 + static_cast<long long>(hour) * 3'600
        + static_cast<long long>(minute) * 60 + second;
}

DateTime DateTime::fromWallSeconds(long long seconds)
{
    const long long days = seconds >= 0 ? seconds / 86'400 : -((-seconds + 86'399) / 86'400);
    const long long inDay = seconds - days * 86'400;
    const CivilDate date = civilFromDays(days);
    DateTime moment;
    moment.year = static_cast<int>(date.year);
    moment.month = date.month;
    moment.day = date.day;
    moment.hour = static_cast<int>(inDay / 3'600);
    moment.minute = static_cast<int>(inDay % 3'600 / 60);
    moment.second = static_cast<int>(inDay % 60);
    return moment;
}

DateTime DateTime::from(const platform::LocalTime &local)
{
    return { local.year, local.month, local.day, local.hour, local.minute, local.second,
        local.millisecond };
}

DateTime DateTime::now()
{
    return from(platform::systemClock().now());
}

std::string formatDateTime(const DateTime &moment)
{
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", moment.year, moment.month,
        moment.day, moment.hour, moment.minute, moment.second);
    return text;
}

std::string formatTimeOfDay(const DateTime &moment)
{
    char text[40];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", moment.hour, moment.minute, moment.second);
    return text;
}

std::optional<DateTime> parseMoment(std::string_view text)
{
    DateTime moment;
    if (text.size() == 8) {
        if (!parseTimeOfDay(text, 0, moment))
            return std::nullopt;
        return moment;
    }
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ')
        return std::nullopt;
    const auto year = digits(text, 0, 4);
    const auto month = digits(text, 5, 2);
    const auto day = digits(text, 8, 2);
    // Year 0 would read back as a time of day without a date.
    if (!year || !month || !day || *year < 1 || *month < 1 || *month > 12 || *day < 1
        || *day > daysInMonth(*year, *month))
        return std::nullopt;
    moment.year = *year;
    moment.month = *month;
    moment.day = *day;
    if (!parseTimeOfDay(text, 11, moment))
        return std::nullopt;
    return moment;
}

int weekdayOf(const DateTime &moment)
{
    // 1970-01-01 was a Thursday (3 when Monday is 0).
    const long long days = daysFromCivil(moment.year, moment.month, moment.day);
    const long long weekday = (days % 7 + 7 + 3) % 7;
    return static_cast<int>(weekday);
}

} // namespace lunor
