#pragma once

// The function library libKelmu: time arithmetic, system running time, idle time, weekday
// text and file versions. Text results point into buffers the library keeps; a caller copies
// the text before its next call into the library and never frees it. Text arguments are
// NUL-terminated and need to stay valid during the call only. All texts are code page 936.

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define KELMU_CALL __stdcall
#else
#define KELMU_CALL
#endif

#if defined(_WIN32)
#define KELMU_EXPORT __declspec(dllexport)
#else
#define KELMU_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Whole seconds the operating system has been running.
KELMU_EXPORT std::int32_t KELMU_CALL OpenTime(void);
// Whole seconds since the last mouse or keyboard input; 0 where that cannot be known.
KELMU_EXPORT std::int32_t KELMU_CALL NoAction(void);
// Display text of a duration: "H:MM:SS" below one day, "D天 H:MM:SS" from one day on, with a
// leading "-" for a negative duration. Examples: 0:01:05, 23:59:59, 1天 0:00:01.
KELMU_EXPORT const char *KELMU_CALL IntToTime(std::int32_t seconds);
// Today's weekday: "星期一" to "星期日".
KELMU_EXPORT const char *KELMU_CALL GetWeek(void);
// Whole seconds from `now` until `target`, both days since 1899-12-30 with the time of day as
// the fraction, rounded to the nearest second. A target without a date (a whole part of 0)
// means a time of day: the result is the time until its next occurrence, 0 to 86399, so the
// remaining time of a daily task counts down to 0 at the moment it runs.
KELMU_EXPORT std::int32_t KELMU_CALL TimeDiff(double now, double target);
// The file's version as four decimal numbers joined by "." ("1.0.0.0"), read from a PE file's
// version resource or from our ELF version note; "0.0.0.0" for a file without one.
KELMU_EXPORT const char *KELMU_CALL GetFileVer(const char *path);
// The last path component of a URL (the text after its last "/"), with the query ("?...")
// and fragment ("#...") left off first: "http://h/a/b.dll?x=1" gives "b.dll".
KELMU_EXPORT const char *KELMU_CALL GetFileName(const char *url);

#ifdef __cplusplus
}
#endif
