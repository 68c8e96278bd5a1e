// Adding and modifying one event through the real main window and its event
// editor, in both date orders.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "model/duty.h"
#include "resources/event_editor_ids.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {

// The messages of the rows the main window shows, read from its memory.
std::vector<std::string> RowMessages(HWND window, DWORD processId) {
    std::vector<std::string> messages;
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return messages;
    for (int i = 0; i < RowCount(window); ++i) {
        DWORD_PTR item = 0;
        SendMessageTimeoutA(ListBoxOf(window), LB_GETITEMDATA, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG,
                            2000, &item);
        Duty row;
        SIZE_T read = 0;
        if (ReadProcessMemory(process, reinterpret_cast<LPCVOID>(item), &row, sizeof row, &read) &&
            read == sizeof row) {
            messages.push_back(std::string(row.message, strnlen(row.message, sizeof row.message)));
        }
    }
    CloseHandle(process);
    return messages;
}

// Left edges of the day and month boxes, in screen coordinates.
bool DayBeforeMonth(HWND editor) {
    RECT day, month;
    GetWindowRect(GetDlgItem(editor, IDC_EDITOR_DAY), &day);
    GetWindowRect(GetDlgItem(editor, IDC_EDITOR_MONTH), &month);
    return day.left < month.left;
}

// The user's short date format, which the locale's date order follows, for
// one test; the regional settings keep it in the registry.
class ShortDateFormat {
public:
    explicit ShortDateFormat(const char* format) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        had_ = RegQueryValueExA(key_, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(old_), &size) == 0;
        Set(format);
    }
    ~ShortDateFormat() {
        if (had_) {
            Set(old_);
        } else {
            RegDeleteValueA(key_, kValue);
        }
        RegCloseKey(key_);
    }

private:
    static constexpr const char* kValue = "sShortDate";
    void Set(const char* format) {
        RegSetValueExA(key_, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(format),
                       static_cast<DWORD>(strlen(format) + 1));
    }
    HKEY key_ = nullptr;
    char old_[80] = "";
    bool had_ = false;
};

// Takes a picture once the window has had time to paint.
void Picture(HWND window, const char* name) {
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver((std::string("screenshots\\") + name + ".bmp").c_str())));
}

void Key(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// A click of the left button at a point of the screen.
void Click(POINT at) {
    INPUT inputs[3] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].type = inputs[2].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof *inputs);
}

}  // namespace

// A new event from the menu command: its line is appended, the backup
// refreshed and its row shown. Dates day first.
TEST(EditEvent, AddFromTheMainWindowAndPictureTheEditor) {
    Instance app("add");
    const std::string before = EventsFile(EventLine(0, "Dzisiaj"));
    app.Write("quillbee.events", before);
    ShortDateFormat dayFirst("dd.MM.yyyy");
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 1; }, 5000));

    PostMessageA(window, WM_COMMAND, CMD_ADD_EVENT, 0);
    HWND editor = WaitForDialog(app.Id(), "Quillbee - Nowe zdarzenie");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(DayBeforeMonth(editor));
    Picture(editor, "event-editor-add");
    SetText(GetDlgItem(editor, IDC_EDITOR_MESSAGE), "Nowe  wydarzenie ");
    ASSERT_TRUE(PressButton(editor, IDOK));

    const std::string after = before + EventLine(0, "Nowe wydarzenie");
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(app.File("quillbee.backup")) == after; }, 5000));
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.events")), after);
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 2; }, 5000));
    EXPECT_EQ(RowMessages(window, app.Id()), (std::vector<std::string>{"Dzisiaj", "Nowe wydarzenie"}));
    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}

// Ctrl + double-click on a row edits its event: the old line goes, the
// changed event is the file's last line. Dates month first.
TEST(EditEvent, ModifyARowWithCtrlDoubleClick) {
    Instance app("modify");
    app.Write("quillbee.events",
              EventsFile(EventLine(0, "Pierwsze") + EventLine(1, "Drugie") + EventLine(2, "Trzecie")));
    ShortDateFormat monthFirst("M/d/yyyy");
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000));

    DWORD_PTR rowHeight = 0;
    SendMessageTimeoutA(ListBoxOf(window), LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 2000, &rowHeight);
    POINT row = {12, static_cast<LONG>(rowHeight + rowHeight / 2)};  // the second row, in its days column
    ClientToScreen(ListBoxOf(window), &row);
    // A first click brings the window forward: Wine takes the keys' state
    // from the X server when a window gains the focus, which would drop Ctrl.
    Click(row);
    Sleep(GetDoubleClickTime() + 100);
    Key(VK_CONTROL, true);
    Click(row);
    Click(row);
    HWND editor = WaitForDialog(app.Id(), "Quillbee - Modifikuj zdarzenia");
    Key(VK_CONTROL, false);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(editor, IDC_EDITOR_MESSAGE)), "Drugie");
    EXPECT_FALSE(DayBeforeMonth(editor));
    Picture(editor, "event-editor-modify");
    SetText(GetDlgItem(editor, IDC_EDITOR_MESSAGE), "Drugie, zmienione");
    ASSERT_TRUE(PressButton(editor, IDOK));

    const std::string after =
        EventsFile(EventLine(0, "Pierwsze") + EventLine(2, "Trzecie") + EventLine(1, "Drugie, zmienione"));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(app.File("quillbee.backup")) == after; }, 5000));
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.events")), after);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return RowMessages(window, app.Id()) ==
                   std::vector<std::string>{"Pierwsze", "Drugie, zmienione", "Trzecie"};
        },
        5000));
    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}
