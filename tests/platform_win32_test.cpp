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

// The test process runs without TZ and must still see Polish local time, as
// the program's users in Poland do: the Windows zone is Central European.
TEST(PlatformWin32, LocalTimeFollowsTheWindowsZone) {
    for (int month : {0, 6}) {
        struct tm noon = {};
        noon.tm_year = 110;
        noon.tm_mon = month;
        noon.tm_mday = 15;
        noon.tm_hour = 12;
        noon.tm_isdst = -1;
        time_t t = mktime(&noon);
        EXPECT_EQ(noon.tm_isdst, month == 6 ? 1 : 0);
        EXPECT_EQ(gmtime(&t)->tm_hour, month == 6 ? 10 : 11);
    }
}

TEST(PlatformWin32, ActiveCodePageIsUtf8) {
    // The manifest makes the A functions speak UTF-8 on any Windows locale.
    EXPECT_EQ(GetACP(), 65001u);
}
