// The Preferences dialog of the running program: what Apply changes in the
// main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

TEST(EndToEnd, AppliedPreferencesChangeTheRunningProgram) {
    DeleteFileA(StartupLinkPath().c_str());
    Instance app("prefs", EventsFile(EventLine(0, "Today") + EventLine(2, "Soon")));
    app.Write("quillbee.prefs", PrefsFile(PrefsLine()));
    HWND window = app.Run(2);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return HasTrayIcon(window); }, 5000));
    const int itemHeight = RowHeight(window);

    HWND dialog = OpenDialog(app.Id(), window, CMD_PREFERENCES);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "Quillbee - Ustawienia");
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
    EXPECT_GT(RowHeight(window), itemHeight) << "the larger font";
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(HasTrayIcon(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(PathExists(StartupLinkPath()));

    // The new background, right of the row's text.
    SetCursorPos(0, 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const WindowPixels list = CaptureWindow(ListBoxOf(window));
            return !list.bits.empty() && list.At(list.width - 8, list.height - 4) == RGB(12, 34, 56);
        },
        3000));
    Picture(window, "after-preferences");
    EXPECT_EQ(app.Quit(), 0u);
    DeleteFileA(StartupLinkPath().c_str());
}
