#include "kelmu/KelmuCore.h"

#include "platform/TextCodec.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace lunor::kelmu {
namespace {

constexpr long long MillisecondsPerDay = 86'400'000;

// A date-time number as milliseconds on a straight time line (0 = 1899-12-30 00:00). Before
// that day the whole part counts backwards while the fraction still runs forwards (-1.25 is
// 1899-12-29 06:00), so the two parts are taken apart before they are put on the line.
std::optional<long long> toTimeLine(double days)
{
    // Far beyond any date the numbers stand for (9999-12-31 is 2958465).
    constexpr double Limit = 1e8;
    if (!std::isfinite(days) || std::fabs(days) > Limit)
        return std::nullopt;
    const long long magnitude
        = std::llround(std::fabs(days) * static_cast<double>(MillisecondsPerDay));
    const long long whole = magnitude / MillisecondsPerDay;
    const long long timeOfDay = magnitude % MillisecondsPerDay;
    return (days < 0 ? -whole : whole) * MillisecondsPerDay + timeOfDay;
}

long long roundToSeconds(long long milliseconds)
{
    return milliseconds >= 0 ? (milliseconds + 500) / 1000 : -((-milliseconds + 500) / 1000);
}

} // namespace

std::string durationText(std::int32_t seconds)
{
    static const std::string day = platform::utf8ToGbk("天");
    const long long value = seconds;
    const long long magnitude = value < 0 ? -value : value;
    const long long days = magnitude / 86400;
    const long long rest = magnitude % 86400;

    std::string text = value < 0 ? "-" : "";
    if (days > 0)
        text += std::to_string(days) + day + " ";
    char clock[32];
    std::snprintf(
        clock, sizeof clock, "%lld:%02lld:%02lld", rest / 3600, rest / 60 % 60, rest % 60);
    return text + clock;
}

std::string weekdayText(int weekday)
{
    static const std::array<std::string, 7> names = {
        platform::utf8ToGbk("星期一"),
        platform::utf8ToGbk("星期二"),
        platform::utf8ToGbk("星期三"),
        platform::utf8ToGbk("星期四"),
        platform::utf8ToGbk("星期五"),
        platform::utf8ToGbk("星期六"),
        platform::utf8ToGbk("星期日"),
    };
    if (weekday < 0 || weekday > 6)
        return {};
    return names[static_cast<std::size_t>(weekday)];
}

std::int32_t secondsUntil(double now, double target)
{
    const auto from = toTimeLine(now);
    const auto to = toTimeLine(target);
    if (!from || !to)
        return 0;

    long long seconds = 0;
    if (*to >= 0 && *to < MillisecondsPerDay) {
        // A time of day: measure to its next occurrence from now's own time of day.
        const long long nowOfDay
            = (*from % MillisecondsPerDay + MillisecondsPerDay) % MillisecondsPerDay;
        const long long ahead
            = ((*to - nowOfDay) % MillisecondsPerDay + MillisecondsPerDay) % MillisecondsPerDay;
        // Less than half a second before a full day rounds to the moment itself.
        seconds = roundToSeconds(ahead) % 86400;
    } else {
        seconds = roundToSeconds(*to - *from);
    }
    constexpr long long Lowest = std::numeric_limits<std::int32_t>::min();
    constexpr long long Highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(seconds < Lowest ? Lowest
            : seconds > Highest                       ? Highest
                                                      : seconds);
}

std::string urlFileName(std::string_view url)
{
    url = url.substr(0, url.find_first_of("?#"));
    // Only "/" separates: in code page 936 a backslash byte can be the second half of a
    // character, so it is no separator here.
    const auto separator = url.rfind('/');
    if (separator != std::string_view::npos)
        url.remove_prefix(separator + 1);
    if (url == "." || url == "..")
        return {};
    return std::string(url);
}

} // namespace lunor::kelmu
