// The reminder pop-up and the About box, opened from the running program's
// main window; their keys come through the program's own message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/commands.h"
#include "tests/dialogs/helpers.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {
// The title line of the pop-up (control 1011).
std::string PopupTitle(HWND popup) {
    HWND title = GetDlgItem(popup, 1011);
    return title ? WindowText(title) : "";
}

// A text of another process as it is, Polish letters included: the driver's
// own code page has no room for them.
std::wstring WideText(HWND window) {
    wchar_t text[1024] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &length);
    return text;
}

void SelectRow(HWND mainWindow, int row) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(ListBoxOf(mainWindow), LB_SETCURSEL, row, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
}
}  // namespace

TEST(EndToEnd, PopupForARowWithNotesAndAboutBoxOpenAndCloseByKeys) {
    Instance app("popup");
    app.Write("quillbee.events",
              EventsFile(EventLine(0, "Urodziny Ani", "Tel. 600 100 200\x1E\x1Eul. Długa 5") +
                         EventLine(1, "Bez notatek")));
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 2; }, 5000));
    // Over the title bar: the pop-up opens over the window, and the pointer
    // does not hover over the list (which would move the selection).
    RECT frame;
    GetWindowRect(window, &frame);
    ASSERT_TRUE(MouseTo({frame.left + 200, frame.top + 8}));

    SelectRow(window, 1);
    PostMessageA(window, WM_COMMAND, CMD_VIEW_NOTE, 0);
    Sleep(500);
    EXPECT_EQ(WaitForWindow(app.Id(), "#32770", 0), nullptr) << "a row without notes has no pop-up";

    SelectRow(window, 0);
    PostMessageA(window, WM_COMMAND, CMD_VIEW_NOTE, 0);
    HWND popup = WaitForWindow(app.Id(), "#32770", 5000);
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(PopupTitle(popup).find("Urodziny Ani"), std::string::npos) << PopupTitle(popup);
    EXPECT_TRUE(WideText(GetDlgItem(popup, 1012)) == L"Tel. 600 100 200\r\nul. Długa 5");
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT box;
            GetWindowRect(popup, &box);
            return box.top > 0;
        },
        5000))
        << "still out of sight";
    POINT centre = Centre(popup);
    HWND seen = WindowFromPoint(centre);
    EXPECT_TRUE(seen == popup || GetParent(seen) == popup) << "the pop-up is hidden behind another window";
    Sleep(200);
    EXPECT_TRUE(SaveWindowPicture(popup, BesideDriver("screenshots\\reminder-popup.bmp")));
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver("screenshots\\reminder-popup-over-list.bmp")));

    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup); }, 5000));

    PostMessageA(window, WM_COMMAND, CMD_ABOUT, 0);
    HWND about = WaitForWindow(app.Id(), "#32770", 5000);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), "About");
    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window)) << "modal over the main window";
    Sleep(200);
    EXPECT_TRUE(SaveWindowPicture(about, BesideDriver("screenshots\\about.bmp")));
    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(window));
    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}
