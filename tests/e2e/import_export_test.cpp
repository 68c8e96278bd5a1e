// "Importuj..." from the main window's right-click menu and "Eksportuj..."
// from its system menu, through the common file dialogs of the real program.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {

// "--MMDD" of the day `days` from today.
std::string BirthdayIn(int days) {
    const struct tm day = DayFromToday(days);
    char text[16];
    strftime(text, sizeof text, "--%m%d", &day);
    return text;
}

// Types `path` into the file name box of an open or save dialog and presses OK.
bool ChooseFile(HWND dialog, const std::string& path) {
    HWND name = GetDlgItem(dialog, 0x47C);  // the file name combo box of the Explorer-style dialog
    HWND edit = name ? FindWindowExA(name, nullptr, "Edit", nullptr) : GetDlgItem(dialog, 0x480);
    if (edit == nullptr) edit = name;
    SetText(edit, path.c_str());
    return edit != nullptr && PressButton(dialog, IDOK);
}
}  // namespace

TEST(EndToEnd, ImportThroughTheMenuAndExport) {
    Instance app("import", EventsFile(EventLine(0, "Today")));
    ASSERT_TRUE(CreateDirectoryA(app.File("contacts").c_str(), nullptr));
    const std::string friends = app.File("contacts") + "\\friends.vcf";
    WriteWholeFile(
        friends,
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ala Kot\r\nBDAY:1990" + BirthdayIn(2).substr(2) +
            "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Żaneta\r\nBDAY:" + BirthdayIn(2) +
            "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Who\r\nBDAY:someday\r\nEND:VCARD\r\n");
    HWND window = app.Run(1);
    ASSERT_NE(window, nullptr);
    // The right-click menu: add, edit, undo, a separator, then import.
    ChooseFromMenu(app.Id(), window, WM_CONTEXTMENU, 0, 0, 4, "import-menu");

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
    Picture(box, "import-summary");
    ASSERT_TRUE(PressButton(box, IDOK));
    // The dialog left the working directory alone: the list is still read from it.
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000)) << RowCount(window);
    Picture(window, "after-import");
    const std::string events = app.Read("quillbee.events");
    EXPECT_NE(events.find(" 01Y 000 000 Ala Kot's birthday! ($Age{1990} years old)\r\n"), std::string::npos)
        << events;
    EXPECT_EQ(app.Read("quillbee.backup"), events);

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
    EXPECT_EQ(app.Read("events.csv").rfind("date,message,notes,yearly,days before,days after\r\n", 0), 0u);

    // An import from a terminal shows in the running program at once.
    app.Write("more.csv", "date,message\r\n" + BirthdayIn(1).insert(4, "-") + ",From a terminal\r\n");
    EXPECT_EQ(app.RunTerminalCommand("import more.csv"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << RowCount(window);

    EXPECT_EQ(app.Quit(), 0u);
}
