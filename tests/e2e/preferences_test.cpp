// The Preferences dialog of the running program: what Apply changes in the
// main window, and pictures of the date column in two fonts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {
int ItemHeight(HWND mainWindow) {
    DWORD_PTR height = 0;
    SendMessageTimeoutA(ListBoxOf(mainWindow), LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &height);
    return static_cast<int>(height);
}
}  // namespace

TEST(EndToEnd, AppliedPreferencesChangeTheRunningProgram) {
    DeleteFileA(StartupLinkPath().c_str());
    Instance app("prefs");
    app.Write("quillbee.prefs", PrefsFile(PrefsLine()));
    app.Write("quillbee.events", EventsFile(EventLine(0, "Today") + EventLine(2, "Soon")));
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 2 && HasTrayIcon(window); }, 5000));
    const int itemHeight = ItemHeight(window);

    PostMessageA(window, WM_COMMAND, CMD_PREFERENCES, 0);
    HWND dialog = WaitForDialog(app.Id(), "Quillbee - Ustawienia");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
    // Always on top, no menu bar, no tray icon, start with the system, the user's colours.
    for (int id : {1660, 1670, 1672, 1674, 1760}) PressButton(dialog, id);
    SetText(GetDlgItem(dialog, 1630), "1");  // "Soon" is two days away

    PostMessageA(GetDlgItem(dialog, 1680), BM_CLICK, 0, 0);  // the background
    HWND chooser = WaitForDialog(app.Id(), "Color");
    ASSERT_NE(chooser, nullptr);
    for (int i = 0; i < 3; ++i)
        SetText(GetDlgItem(chooser, 706 + i), std::to_string(12 + 22 * i).c_str());  // red, green, blue
    PressButton(chooser, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, 5000));
    PostMessageA(GetDlgItem(dialog, 1790), BM_CLICK, 0, 0);
    chooser = WaitForDialog(app.Id(), "Font");
    ASSERT_NE(chooser, nullptr);
    HWND sizes = GetDlgItem(chooser, 1138);
    SendMessageA(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("20"));
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(1138, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
    PressButton(chooser, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, 5000));

    // Posted, as a click arrives: a dialog that ends inside a sent message
    // drops the messages its loop fetches next, the rebuild among them.
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 1; }, 5000)) << RowCount(window);
    EXPECT_GT(ItemHeight(window), itemHeight) << "the larger font";
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(HasTrayIcon(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(PathExists(StartupLinkPath()));

    // The new background, right of the row's text.
    SetCursorPos(0, 0);
    RECT list;
    GetWindowRect(ListBoxOf(window), &list);
    EXPECT_TRUE(WaitUntil(
        [&] {
            HDC screen = GetDC(nullptr);
            COLORREF colour = GetPixel(screen, list.right - 8, list.bottom - 4);
            ReleaseDC(nullptr, screen);
            return colour == RGB(12, 34, 56);
        },
        3000));
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver("screenshots\\after-preferences.bmp")));

    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
    DeleteFileA(StartupLinkPath().c_str());
}

// Events spread over the year in the default font and in a wide bold one,
// kept for a person to look at: every date whole, the messages in one column.
TEST(EndToEnd, PicturesOfTheDateColumn) {
    std::string rows;
    const char* messages[] = {"Renew magazine subscription", "Call Anna", "Wedding anniversary", "Żółw"};
    for (int days = -180, i = 0; days <= 180; days += 29, ++i) rows += EventLine(days, messages[i % 4]);
    struct Shot {
        const char* name;
        const char* font;
        int weekday;
    };
    const Shot shots[] = {
        {"date-column", "-14 0 0 0 0 0 0 0 0 0 0 0 0 'Comic Sans MS'", 0},
        {"date-column-weekday", "-14 0 0 0 0 0 0 0 0 0 0 0 0 'Comic Sans MS'", 1},
        {"date-column-wide", "-20 0 0 0 700 0 0 0 0 0 0 0 0 'DejaVu Sans'", 0},
        {"date-column-wide-weekday", "-20 0 0 0 700 0 0 0 0 0 0 0 0 'DejaVu Sans'", 1},
    };
    for (const Shot& shot : shots) {
        PrefsLine prefs;
        prefs.warnDaysBefore = prefs.warnDaysAfter = 182;
        prefs.listFont = shot.font;
        prefs.showWeekday = shot.weekday;
        prefs.windowWidth = 700;
        PictureOfMainWindow(prefs, EventsFile(rows), 13, shot.name);
    }
}
