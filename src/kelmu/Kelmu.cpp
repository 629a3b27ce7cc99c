#include "kelmu/Kelmu.h"

#include "kelmu/DateTime.h"
#include "kelmu/FileVersion.h"
#include "kelmu/KelmuCore.h"
#include "platform/SystemTimes.h"
#include "platform/TextCodec.h"

#include <string>
#include <utility>

// Nothing may leave an extern "C" function as an exception: a failure gives the neutral
// result (0, an empty text or "0.0.0.0").

namespace {

// Each text export has its own buffer, so that one call does not overwrite the text of
// another; a caller copies the text before its next call of the same export.
const char *keep(std::string &buffer, std::string text)
{
    buffer = std::move(text);
    return buffer.c_str();
}

} // namespace

std::int32_t KELMU_CALL OpenTime(void)
{
    return lunor::platform::uptimeSeconds();
}

std::int32_t KELMU_CALL NoAction(void)
{
    return lunor::platform::idleSeconds();
}

const char *KELMU_CALL IntToTime(std::int32_t seconds)
{
    thread_local std::string buffer;
    try {
        return keep(buffer, lunor::kelmu::durationText(seconds));
    } catch (...) {
        return keep(buffer, {});
    }
}

const char *KELMU_CALL GetWeek(void)
{
    thread_local std::string buffer;
    try {
        return keep(buffer, lunor::kelmu::weekdayText(lunor::weekdayOf(lunor::DateTime::now())));
    } catch (...) {
        return keep(buffer, {});
    }
}

std::int32_t KELMU_CALL TimeDiff(double now, double target)
{
    return lunor::kelmu::secondsUntil(now, target);
}

const char *KELMU_CALL GetFileVer(const char *path)
{
    thread_local std::string buffer;
    try {
        if (!path)
            return keep(buffer, {});
        // The caller's path is code page 936; the file system here speaks UTF-8.
        return keep(buffer, lunor::kelmu::readFileVersion(lunor::platform::gbkToUtf8(path)));
    } catch (...) {
        return keep(buffer, std::string(lunor::kelmu::NoFileVersion));
    }
}

const char *KELMU_CALL GetFileName(const char *url)
{
    thread_local std::string buffer;
    try {
        return keep(buffer, url ? lunor::kelmu::urlFileName(url) : std::string());
    } catch (...) {
        return keep(buffer, {});
    }
}
