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
        struct tm noon = {0, 0, 12, 15, month, 110, 0, 0, -1};  // 15 January and July 2010
        const time_t t = mktime(&noon);
        EXPECT_EQ(noon.tm_isdst, month == 6 ? 1 : 0);
        EXPECT_EQ(gmtime(&t)->tm_hour, month == 6 ? 10 : 11);
    }
}

TEST(PlatformWin32, ActiveCodePageIsUtf8) {
    // The manifest makes the A functions speak UTF-8 on any Windows locale.
    EXPECT_EQ(GetACP(), 65001u);
}
