#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace lunor::platform {
namespace {

class SystemClock final : public Clock
{
public:
    LocalTime now() override
    {
        using namespace std::chrono;
        const auto current = system_clock::now();
        const auto wholeSeconds = floor<seconds>(current);
        const std::time_t seconds = system_clock::to_time_t(wholeSeconds);
        std::tm local {};
        localtime_r(&seconds, &local);
        LocalTime moment;
        moment.year = local.tm_year + 1900;
        moment.month = local.tm_mon + 1;
        moment.day = local.tm_mday;
        moment.hour = local.tm_hour;
        moment.minute = local.tm_min;
        // A leap second shows as :59 rather than :60, which no moment text accepts.
        moment.second = local.tm_sec > 59 ? 59 : local.tm_sec;
        moment.millisecond
            = static_cast<int>(duration_cast<milliseconds>(current - wholeSeconds).count());
        return moment;
    }
};

} // namespace

Clock &systemClock()
{
    static SystemClock clock;
    return clock;
}

} // namespace lunor::platform
