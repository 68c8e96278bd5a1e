// Adding and modifying one event through the real main window and its event
// editor, with the date order of the user's regional settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/commands.h"
#include "resources/event_editor_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {
// Left edges of the day and month boxes, in screen coordinates.
bool DayBeforeMonth(HWND editor) {
    RECT day, month;
    GetWindowRect(GetDlgItem(editor, IDC_EDITOR_DAY), &day);
    GetWindowRect(GetDlgItem(editor, IDC_EDITOR_MONTH), &month);
    return day.left < month.left;
}

// The user's short date format, which the locale's date order follows, for
// one test.
class ShortDateFormat {
public:
    explicit ShortDateFormat(const char* format) {
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old_, sizeof old_);
        SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format);
    }
    ~ShortDateFormat() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old_); }

private:
    char old_[80] = "";
};

// Clicks of the left button at a point of the screen.
void Click(POINT at, int clicks) {
    INPUT inputs[5] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    inputs[0].mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    for (int i = 1; i < 5; ++i) inputs[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1 + 2 * clicks, inputs, sizeof *inputs);
}

void ControlKey(bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_CONTROL;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_CONTROL, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}
}  // namespace

// A new event from the menu command: its line is appended, the backup
// refreshed and its row shown. Dates day first.
TEST(EditEvent, AddFromTheMainWindowAndPictureTheEditor) {
    const std::string before = EventsFile(EventLine(0, "Dzisiaj"));
    Instance app("add", before);
    ShortDateFormat dayFirst("dd.MM.yyyy");
    HWND window = app.Run(1);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, CMD_ADD_EVENT, 0);
    HWND editor = WaitForDialog(app.Id(), "Quillbee - Nowe zdarzenie");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(DayBeforeMonth(editor));
    Picture(editor, "event-editor-add");
    SetText(GetDlgItem(editor, IDC_EDITOR_MESSAGE), "Nowe  wydarzenie ");
    ASSERT_TRUE(PressButton(editor, IDOK));

    const std::string after = before + EventLine(0, "Nowe wydarzenie");
    EXPECT_TRUE(WaitUntil([&] { return app.Read("quillbee.backup") == after; }, 5000));
    EXPECT_EQ(app.Read("quillbee.events"), after);
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 2; }, 5000)) << RowCount(window);
    EXPECT_EQ(app.Quit(), 0u);
}

// Ctrl + double-click on a row edits its event: the old line goes, the
// changed event is the file's last line. Dates month first.
TEST(EditEvent, ModifyARowWithCtrlDoubleClick) {
    Instance app("modify",
                 EventsFile(EventLine(0, "Pierwsze") + EventLine(1, "Drugie") + EventLine(2, "Trzecie")));
    ShortDateFormat monthFirst("M/d/yyyy");
    HWND window = app.Run(3);
    ASSERT_NE(window, nullptr);
    POINT row = {12, RowHeight(window) * 3 / 2};  // the second row, in its days column
    ClientToScreen(ListBoxOf(window), &row);
    // A first click brings the window forward: Wine takes the keys' state
    // from the X server when a window gains the focus, which would drop Ctrl.
    Click(row, 1);
    Sleep(GetDoubleClickTime() + 100);
    ControlKey(true);
    Click(row, 2);
    HWND editor = WaitForDialog(app.Id(), "Quillbee - Modifikuj zdarzenia");
    ControlKey(false);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(editor, IDC_EDITOR_MESSAGE)), "Drugie");
    EXPECT_FALSE(DayBeforeMonth(editor));
    Picture(editor, "event-editor-modify");
    SetText(GetDlgItem(editor, IDC_EDITOR_MESSAGE), "Drugie, zmienione");
    ASSERT_TRUE(PressButton(editor, IDOK));

    const std::string after =
        EventsFile(EventLine(0, "Pierwsze") + EventLine(2, "Trzecie") + EventLine(1, "Drugie, zmienione"));
    EXPECT_TRUE(WaitUntil([&] { return app.Read("quillbee.backup") == after; }, 5000));
    EXPECT_EQ(app.Read("quillbee.events"), after);
    EXPECT_EQ(app.Quit(), 0u);
}
