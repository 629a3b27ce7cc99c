#include "kelmu/KelmuFunctions.h"

#include "kelmu/KelmuCore.h"

#include "kelmu/Kelmu.h"
#include "platform/TextCodec.h"

namespace lunor {
namespace {

// The library keeps its texts only until the next call: copy at once.
std::string copyText(const char *text)
{
    return text ? std::string(text) : std::string();
}

} // namespace

int LibraryKelmuFunctions::openTime()
{
    return OpenTime();
}

int LibraryKelmuFunctions::noAction()
{
    return NoAction();
}

std::string LibraryKelmuFunctions::intToTime(int seconds)
{
    return copyText(IntToTime(seconds));
}

std::string LibraryKelmuFunctions::getWeek(const DateTime &day)
{
    // GetWeek words today's weekday with the same function; it only reads the clock itself.
    return kelmu::weekdayText(weekdayOf(day));
}

int LibraryKelmuFunctions::timeDiff(double now, double target)
{
    return TimeDiff(now, target);
}

std::string LibraryKelmuFunctions::getFileVer(const std::string &path)
{
    // The library takes code page 936 paths, like every text that crosses its boundary.
    return copyText(GetFileVer(platform::utf8ToGbk(path).c_str()));
}

std::string LibraryKelmuFunctions::getFileName(const std::string &url)
{
    return copyText(GetFileName(url.c_str()));
}

} // namespace lunor
