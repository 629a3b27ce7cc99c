#include "platform/SystemTimes.h"

#include "platform/IdleTime.h"

#include <ctime>

namespace lunor::platform {

int uptimeSeconds()
{
    timespec ts {};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0)
        return 0;
    return static_cast<int>(ts.tv_sec);
}

int idleSeconds()
{
    // The source is chosen at the first question and kept for the life of the process.
    static IdleTime idle;
    return idle.seconds();
}

} // namespace lunor::platform
