// Start-up pieces under Wine: the switch, the single-instance test and "/C".
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "app/directory_hash.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/win_state.h"
#include "storage/prefs_file.h"
#include "tests/window_fixture.h"

TEST(ReadSwitch, FirstSlashAndOneLetterOfAnUpperCasedLine) {
    char silent[] = "quillbee.exe /s";
    EXPECT_EQ(ReadSwitch(silent), 'S');
    EXPECT_STREQ(silent, "QUILLBEE.EXE /S");
    char longer[] = "quillbee.exe /silent";
    EXPECT_EQ(ReadSwitch(longer), 'S');
    char close[] = "quillbee.exe /c";
    EXPECT_EQ(ReadSwitch(close), 'C');
    char none[] = "quillbee.exe";
    EXPECT_EQ(ReadSwitch(none), '\0');
    char bare[] = "quillbee.exe /";
    EXPECT_EQ(ReadSwitch(bare), '\0');
    // A slash in the program's path is the one examined.
    char path[] = "c:/tools/quillbee.exe /s";
    EXPECT_EQ(ReadSwitch(path), 'T');
    // Only ASCII letters change: a UTF-8 path stays intact.
    char polish[] = "C:\\Zdj\xC4\x99" "cia\\q.exe /u";
    EXPECT_EQ(ReadSwitch(polish), 'U');
    EXPECT_STREQ(polish, "C:\\ZDJ\xC4\x99" "CIA\\Q.EXE /U");
}

namespace {
class Startup : public WindowTest {};
}  // namespace

TEST_F(Startup, SecondStartFindsTheInstanceOfItsDirectory) {
    WriteEvents({MakeDuty(15, 3, "Dzisiaj")});
    HWND window = StartMainWindow();
    uint32_t own = dirHash;
    EXPECT_EQ(FindSameDirectoryInstance(), window);
    EXPECT_EQ(instanceNumber, 2);

    // Another directory: counted, not the same.
    dirHash = DirectoryHash("C:\\elsewhere");
    EXPECT_EQ(FindSameDirectoryInstance(), nullptr);
    EXPECT_EQ(instanceNumber, 2);
    dirHash = own;

    // The second instance's title carries its number.
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    char title[256];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Quillbee [2] - Niedziela, 15 Marzec");

    // Without a property nothing matches.
    RemovePropA(window, "PROP_HASH_CURDIR");
    EXPECT_EQ(FindSameDirectoryInstance(), nullptr);
}

TEST_F(Startup, CloseSwitchEndsTheRunningInstance) {
    WriteEvents({MakeDuty(15, 3, "Dzisiaj")});
    HWND window = StartMainWindow();
    ASSERT_TRUE(TrayIconExists());
    CloseRunningInstance();
    Pump();
    EXPECT_TRUE(quitPosted_);
    EXPECT_FALSE(TrayIconExists());
    EXPECT_TRUE(FileExists(kPrefsFileName));
    EXPECT_TRUE(IsWindow(window));
}
