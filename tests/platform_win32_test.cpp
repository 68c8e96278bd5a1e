// The Win32 platform operations against the real system (Wine here).
#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>

#include "app/platform.h"
#include "tests/scratch_dir.h"

TEST(PlatformWin32, FileOperationsReplaceAndReportFailures) {
    ScratchDir dir;
    WriteFileBytes("a", "first\r\n");
    WriteFileBytes("b", "old contents that are longer\r\n");
    EXPECT_EQ(PlatformCopyFile("a", "b"), 1);
    EXPECT_EQ(ReadFileBytes("b"), "first\r\n");
    EXPECT_EQ(PlatformCopyFile("missing", "c"), 0);
    EXPECT_FALSE(FileExists("c"));

    WriteFileBytes("new", "new\r\n");
    EXPECT_EQ(PlatformReplaceFile("new", "b"), 1) << "an existing target is replaced";
    EXPECT_EQ(ReadFileBytes("b"), "new\r\n");
    EXPECT_FALSE(FileExists("new"));
    EXPECT_EQ(PlatformReplaceFile("gone", "b"), 0);
    EXPECT_EQ(ReadFileBytes("b"), "new\r\n");

    EXPECT_EQ(PlatformDeleteFile("b"), 1);
    EXPECT_FALSE(FileExists("b"));
    EXPECT_EQ(PlatformDeleteFile("b"), 0);
}

TEST(PlatformWin32, ClockIsTheSystemClock) {
    time_t before = time(nullptr);
    time_t now = PlatformNow();
    EXPECT_LE(before, now);
    EXPECT_LE(now - before, 2);
}

// The test process runs without TZ and must still see Polish local time, as
// the program's users in Poland do: the Windows zone is Central European.
TEST(PlatformWin32, LocalTimeFollowsTheWindowsZone) {
    struct tm summer = {};
    summer.tm_year = 2010 - 1900;
    summer.tm_mon = 6;
    summer.tm_mday = 15;
    summer.tm_hour = 12;
    summer.tm_isdst = -1;
    time_t t = mktime(&summer);
    EXPECT_EQ(summer.tm_isdst, 1);
    struct tm* utc = gmtime(&t);
    EXPECT_EQ(utc->tm_hour, 10);
    struct tm winter = {};
    winter.tm_year = 2010 - 1900;
    winter.tm_mon = 0;
    winter.tm_mday = 15;
    winter.tm_hour = 12;
    winter.tm_isdst = -1;
    t = mktime(&winter);
    EXPECT_EQ(winter.tm_isdst, 0);
    EXPECT_EQ(gmtime(&t)->tm_hour, 11);
}

TEST(PlatformWin32, ActiveCodePageIsUtf8) {
    // The manifest makes the A functions speak UTF-8 on any Windows locale.
    EXPECT_EQ(GetACP(), 65001u);
}
