#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lunor::platform {
struct LocalTime;
}

namespace lunor {

// A local date and time as the program shows and stores it. A value without a date (year 0)
// stands for a time of day only.
struct DateTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    bool hasDate() const { return year != 0; }

    // Days since 1899-12-30 with the time of day as the fraction; a value without a date
    // gives the fraction alone.
    double toDays() const;
    static DateTime fromDays(double days);

    // Whole seconds since 1970-01-01 00:00 on the wall clock's own scale (no time zone): the
    // distance between two moments as the clock shows them. A time of day alone counts from
    // midnight.
    long long wallSeconds() const;
    static DateTime fromWallSeconds(long long seconds);

    static DateTime from(const platform::LocalTime &local);
    // The current local date and time of the system's clock.
    static DateTime now();

    bool operator==(const DateTime &) const = default;
};

// "yyyy-mm-dd hh:mm:ss"
std::string formatDateTime(const DateTime &moment);
// "hh:mm:ss"
std::string formatTimeOfDay(const DateTime &moment);
// Reads "yyyy-mm-dd hh:mm:ss" (a date and time) or "hh:mm:ss" (a time of day, year 0); any
// other text, or a field out of range (month 13, 25 o'clock, 30 February), gives nothing.
std::optional<DateTime> parseMoment(std::string_view text);

// The weekday of a date, 0 for Monday to 6 for Sunday.
int weekdayOf(const DateTime &moment);

} // namespace lunor
