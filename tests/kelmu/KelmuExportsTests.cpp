// Calls the function library through libKelmu.so itself, as the program does.
#include "kelmu/Kelmu.h"

#include "TempFolder.h"
#include "kelmu/DateTime.h"
#include "kelmu/KelmuCore.h"
#include "kelmu/KelmuFunctions.h"
#include "platform/SystemTimes.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace lunor {
namespace {

TEST(KelmuExports, NullTextArgumentsGiveEmptyTexts)
{
    ASSERT_NE(GetFileName(nullptr), nullptr);
    EXPECT_STREQ(GetFileName(nullptr), "");
    ASSERT_NE(GetFileVer(nullptr), nullptr);
    EXPECT_STREQ(GetFileVer(nullptr), "");
}

TEST(KelmuExports, ProgramViewCopiesTheLibrarysTexts)
{
    LibraryKelmuFunctions kelmu;
    EXPECT_EQ(kelmu.intToTime(90061), "1\xCC\xEC 1:01:01");
    EXPECT_EQ(kelmu.intToTime(-65), "-0:01:05");
    EXPECT_EQ(kelmu.getFileName("http://127.0.0.1/soft/lunortime/x.dll?v=2"), "x.dll");
    EXPECT_EQ(kelmu.getFileVer(KELMU_LIBRARY_FILE), LUNOR_PROJECT_VERSION);

    const DateTime now { 2008, 12, 20, 14, 30, 5, 0 };
    const DateTime later { 2008, 12, 20, 14, 31, 10, 0 };
    EXPECT_EQ(kelmu.timeDiff(now.toDays(), later.toDays()), 65);
    EXPECT_EQ(kelmu.timeDiff(now.toDays(), DateTime { 0, 0, 0, 14, 30, 0, 0 }.toDays()), 86395);
}

TEST(KelmuExports, WeekdayIsTodays)
{
    // Retried when the date changes between the two readings.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DateTime before = DateTime::now();
        const std::string weekday = platform::gbkToUtf8(GetWeek());
        const DateTime after = DateTime::now();
        if (before.day != after.day)
            continue;
        EXPECT_EQ(weekday, platform::gbkToUtf8(kelmu::weekdayText(weekdayOf(before))));
        // The program's view words any day as the library words today.
        EXPECT_EQ(LibraryKelmuFunctions().getWeek(before), kelmu::weekdayText(weekdayOf(before)));
        return;
    }
    FAIL() << "the date kept changing";
}

TEST(KelmuExports, RunningAndIdleTimesComeFromTheSystem)
{
    LibraryKelmuFunctions kelmu;
    const int uptime = kelmu.openTime();
    EXPECT_GT(uptime, 0);
    EXPECT_NEAR(uptime, platform::uptimeSeconds(), 1);
    // Without a display the idle time cannot be known and reads 0; with one it is some
    // non-negative number of seconds.
    EXPECT_GE(kelmu.noAction(), 0);
}

TEST(KelmuExports, PathsAreCodePage936)
{
    test::TempFolder folder;
    const std::string utf8Path = folder.file("插件模块.dll");
    std::filesystem::copy_file(KELMU_VERSIONED_FIXTURE,
        std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())));

    EXPECT_EQ(LibraryKelmuFunctions().getFileVer(utf8Path), "2.5.0.17");
    EXPECT_STREQ(GetFileVer(platform::utf8ToGbk(utf8Path).c_str()), "2.5.0.17");
    // The same bytes read as code page 936 name another file.
    EXPECT_STREQ(GetFileVer(utf8Path.c_str()), "0.0.0.0");
}

} // namespace
} // namespace lunor
