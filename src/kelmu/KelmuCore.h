#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The work behind the exports of libKelmu, free of any shared-library concerns so that it can
// be tested directly. Texts are code page 936 (GBK) bytes.
namespace lunor::kelmu {

// "H:MM:SS" below one day, "D天 H:MM:SS" from one day on, "-" in front when negative.
std::string durationText(std::int32_t seconds);

// "星期一" for 0 (Monday) to "星期日" for 6; empty for any other number.
std::string weekdayText(int weekday);

// Whole seconds from `now` until `target` (days since 1899-12-30, time of day as the
// fraction), rounded to the nearest second and kept within the 32-bit range. A target whose
// whole part is 0 is a time of day: the result is the time until its next occurrence, 0 to
// 86399, and 0 when `now` is that time of day. Values that are not finite give 0.
std::int32_t secondsUntil(double now, double target);

// The last path component of a URL (after its last "/") without its query and fragment;
// "." and ".." give an empty text, as they name no file.
std::string urlFileName(std::string_view url);

} // namespace lunor::kelmu
