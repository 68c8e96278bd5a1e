// "Importuj..." from the main window's right-click menu and "Eksportuj..."
// from its system menu, through the common file dialogs of the real program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {

// "--MMDD" of the day `days` from today.
std::string BirthdayIn(int days) {
    time_t now = time(nullptr);
    struct tm day = *localtime(&now);
    day.tm_mday += days;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    mktime(&day);
    char text[16];
    snprintf(text, sizeof text, "--%02d%02d", day.tm_mon + 1, day.tm_mday);
    return text;
}

// Types `path` into the file name box of an open or save dialog and presses OK.
bool ChooseFile(HWND dialog, const std::string& path) {
    HWND name = GetDlgItem(dialog, 0x47C);  // the file name combo box of the Explorer-style dialog
    HWND edit = name ? FindWindowExA(name, nullptr, "Edit", nullptr) : nullptr;
    if (edit == nullptr) edit = name ? name : GetDlgItem(dialog, 0x480);
    DWORD_PTR ignored = 0;
    if (edit == nullptr || !SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                                SMTO_ABORTIFHUNG, 2000, &ignored)) {
        return false;
    }
    return PressButton(dialog, IDOK);
}

void PressKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    PostMessageA(window, WM_KEYUP, key, 0xC0000000);
    Sleep(100);
}

}  // namespace

TEST(EndToEnd, ImportThroughTheMenuAndExport) {
    Instance app("import");
    app.Write("quillbee.events", EventsFile(EventLine(0, "Today")));
    ASSERT_TRUE(CreateDirectoryA(app.File("contacts").c_str(), nullptr));
    const std::string friends = app.File("contacts") + "\\friends.vcf";
    WriteWholeFile(
        friends,
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ala Kot\r\nBDAY:1990" + BirthdayIn(2).substr(2) +
            "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Żaneta\r\nBDAY:" + BirthdayIn(2) +
            "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Who\r\nBDAY:someday\r\nEND:VCARD\r\n");
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 1; }, 5000));

    // The right-click menu: add, edit, undo, a separator, then import.
    PostMessageA(window, WM_CONTEXTMENU, 0, 0);
    HWND menu = WaitForWindow(app.Id(), "#32768", 5000);
    ASSERT_NE(menu, nullptr) << "no right-click menu";
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(menu, BesideDriver("screenshots\\import-menu.bmp")));
    for (int i = 0; i < 4; ++i) PressKey(window, VK_DOWN);
    PressKey(window, VK_RETURN);

    HWND open = WaitForWindow(app.Id(), "#32770", 10000);
    ASSERT_NE(open, nullptr) << "no open dialog";
    EXPECT_EQ(WindowText(open), "Importuj zdarzenia");
    ASSERT_TRUE(ChooseFile(open, friends));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }, 5000)) << "the open dialog stays";

    HWND box = WaitForMessageBox(app.Id(), 10000);
    ASSERT_NE(box, nullptr) << "no summary";
    EXPECT_EQ(MessageBoxCaption(box), "Importuj zdarzenia");
    EXPECT_EQ(MessageBoxText(box),
              "Imported from friends.vcf:\n\n2 added\n0 skipped as duplicates\n1 not understood\n"
              "line 14: a birthday not understood: someday");
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(box, BesideDriver("screenshots\\import-summary.bmp")));
    ASSERT_TRUE(PressButton(box, IDOK));
    // The dialog left the working directory alone: the list is still read from it.
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000)) << RowCount(window);
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver("screenshots\\after-import.bmp")));
    const std::string events = ReadWholeFile(app.File("quillbee.events"));
    EXPECT_NE(events.find(" 01Y 000 000 Ala Kot's birthday! ($Age{1990} years old)\r\n"), std::string::npos)
        << events;
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.backup")), events);

    // The system menu's export, to a CSV file.
    PostMessageA(window, WM_SYSCOMMAND, CMD_EXPORT, 0);
    HWND save = WaitForWindow(app.Id(), "#32770", 10000);
    ASSERT_NE(save, nullptr) << "no save dialog";
    EXPECT_EQ(WindowText(save), "Eksportuj zdarzenia");
    ASSERT_TRUE(ChooseFile(save, app.File("events.csv")));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(save); }, 5000));
    box = WaitForMessageBox(app.Id(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Exported to events.csv:\n\n3 events");
    PressButton(box, IDOK);
    EXPECT_EQ(ReadWholeFile(app.File("events.csv"))
                  .rfind("date,message,notes,yearly,days before,days after\r\n", 0),
              0u);

    // An import from a terminal shows in the running program at once.
    app.Write("more.csv", "date,message\r\n" + BirthdayIn(1).insert(4, "-") + ",From a terminal\r\n");
    EXPECT_EQ(app.RunTerminalCommand("import more.csv"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << RowCount(window);

    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}
