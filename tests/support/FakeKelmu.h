#pragma once

#include "kelmu/KelmuCore.h"
#include "kelmu/KelmuFunctions.h"
#include "platform/Clock.h"

#include <string>

namespace lunor::test {

// Function library stand-in whose running time and idle time the test sets. The texts are
// deliberately simple so that tests can predict them.
class FakeKelmu final : public KelmuFunctions
{
public:
    int uptime = 0;
    int idle = 0;
    int openTimeCalls = 0;
    int noActionCalls = 0;

    int openTime() override
    {
        ++openTimeCalls;
        return uptime;
    }
    int noAction() override
    {
        ++noActionCalls;
        return idle;
    }
    std::string intToTime(int seconds) override { return "T" + std::to_string(seconds); }
    std::string getWeek(const DateTime &) override { return "W"; }
    // The library's own arithmetic: the time-of-day rule is part of what callers rely on.
    int timeDiff(double now, double target) override { return kelmu::secondsUntil(now, target); }
    std::string getFileVer(const std::string &) override { return "1.2.3.4"; }
    std::string getFileName(const std::string &url) override
    {
        return url.substr(url.rfind('/') + 1);
    }
};

// A clock that stands still until the test moves it: seconds pass without waiting.
class TestClock final : public platform::Clock
{
public:
    DateTime current { 2008, 12, 20, 14, 30, 5, 0 };

    platform::LocalTime now() override
    {
        return { current.year, current.month, current.day, current.hour, current.minute,
            current.second, current.millisecond };
    }
    // Moves the clock on by whole seconds (back for a negative count).
    void advance(long long seconds)
    {
        const int millisecond = current.millisecond;
        current = DateTime::fromWallSeconds(current.wallSeconds() + seconds);
        current.millisecond = millisecond;
    }
};

} // namespace lunor::test
