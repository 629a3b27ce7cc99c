#pragma once

#include "kelmu/DateTime.h"

#include <string>

namespace lunor {

// What the scheduler and the windows need of the function library, behind an interface so
// that tests can set the running time, the idle time and the clock.
class KelmuFunctions
{
public:
    virtual ~KelmuFunctions() = default;

    virtual int openTime() = 0;
    virtual int noAction() = 0;
    virtual std::string intToTime(int seconds) = 0;
    // The weekday text of a day, worded as the library's GetWeek words today's: the tick
    // passes its own moment, so that the clock and the weekday never disagree at midnight.
    virtual std::string getWeek(const DateTime &day) = 0;
    virtual int timeDiff(double now, double target) = 0;
    virtual std::string getFileVer(const std::string &path) = 0;
    virtual std::string getFileName(const std::string &url) = 0;
};

// Calls the exports of libKelmu and copies their texts at once.
class LibraryKelmuFunctions final : public KelmuFunctions
{
public:
    int openTime() override;
    int noAction() override;
    std::string intToTime(int seconds) override;
    std::string getWeek(const DateTime &day) override;
    int timeDiff(double now, double target) override;
    std::string getFileVer(const std::string &path) override;
    std::string getFileName(const std::string &url) override;
};

} // namespace lunor
