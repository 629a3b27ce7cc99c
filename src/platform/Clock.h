#pragma once

namespace lunor::platform {

// A moment of the local wall clock, broken down.
struct LocalTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The local wall clock. The program reads it once per tick and hands the moment on as a
// value; tests give a clock of their own that moves only when told to.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
};

// The system's clock.
Clock &systemClock();

} // namespace lunor::platform
