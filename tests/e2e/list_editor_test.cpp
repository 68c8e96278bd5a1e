// The event list editor of the real program, opened from the main window,
// which stays disabled while it is open: a picture of it with a past one-off
// event struck through, and Exit, which asks before a change is lost.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {
// A one-off event `daysFromToday` days from today.
std::string OneOffLine(int daysFromToday, const char* message) {
    return EventLine(daysFromToday, message).replace(12, 3, "00N");
}
}  // namespace

TEST(EndToEnd, ListEditorPicture) {
    const std::string file =
        EventsFile(OneOffLine(-5, "Dentysta, gabinet 4") + EventLine(0, "Urodziny Ani") +
                   EventLine(1, "Rocznica ślubu", "Kwiaty!") + OneOffLine(30, "Przegląd auta") +
                   "28-Sep-2088 00N 000 000 Najszerszy miesiąc\r\n");
    Instance app("list-editor", file);
    HWND window = app.Run(2);
    ASSERT_NE(window, nullptr);
    HWND editor = OpenDialog(app.Id(), window, CMD_EDIT_EVENTS);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(WindowText(editor), "Quillbee - Edytuj zdarzenia");
    EXPECT_FALSE(IsWindowEnabled(window));
    HWND list = FindWindowExA(editor, nullptr, "SysListView32", nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 5; }, 3000));
    Picture(editor, "list-editor");

    // Exit from the tray menu while the list holds a change asks first.
    PostMessageA(editor, WM_COMMAND, 1830, 0);  // delete the row it opens on
    HWND box = MessageBoxOver(app.Id(), editor);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    ExitProgram(window);
    box = MessageBoxOver(app.Id(), editor);
    ASSERT_NE(box, nullptr) << "exit without asking";
    EXPECT_EQ(MessageBoxText(box), "Do you want to save the changes you've made?\n");
    PressButton(box, IDNO);
    EXPECT_EQ(app.Exit(), 0u);
    EXPECT_EQ(app.Read("quillbee.events"), file);
}
