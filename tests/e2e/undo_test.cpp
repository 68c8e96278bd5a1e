// "Cofnij ostatnią zmianę..." of the real program: greyed while there is
// nothing to put back, then from the right-click menu and from the tray menu,
// after a change made from a terminal.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

namespace {

void PressKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    PostMessageA(window, WM_KEYUP, key, 0xC0000000);
    Sleep(100);
}

// Opens the menu with `open`, pictures it, and chooses its item `position`
// (1 for the first) by the keyboard, as a user may.
void ChooseFromMenu(const Instance& app, HWND window, UINT message, LPARAM lParam, int position,
                    const char* picture) {
    PostMessageA(window, message, 0, lParam);
    HWND menu = WaitForWindow(app.Id(), "#32768", 5000);
    ASSERT_NE(menu, nullptr) << "no menu";
    Sleep(300);
    SaveWindowPicture(menu, BesideDriver((std::string("screenshots\\") + picture + ".bmp").c_str()));
    for (int i = 0; i < position; ++i) PressKey(window, VK_DOWN);
    PressKey(window, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000)) << "the menu stays open";
}

std::vector<std::string> Versions(const Instance& app) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(app.File("quillbee.history\\*.events").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());  // oldest first
    return names;
}

// The start of the question for the version `name` ("2026-12-07_14-32-05.events"):
// its hour and minute and the day; the month's name is the string table's.
std::string QuestionStart(const std::string& name) {
    int year, month, day, hour, minute;
    if (std::sscanf(name.c_str(), "%4d-%2d-%2d_%2d-%2d", &year, &month, &day, &hour, &minute) != 5)
        return "?";
    char text[64];
    std::snprintf(text, sizeof text, "Restore the events as they were\nat %02d:%02d on %02d/", hour, minute,
                  day);
    return text;
}

void AnswerTheQuestion(const Instance& app, const std::string& version, int then, int now,
                       const char* picture) {
    HWND box = WaitForMessageBox(app.Id(), 10000);
    ASSERT_NE(box, nullptr) << "no question";
    const std::string text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(QuestionStart(version), 0), 0u) << text;
    const std::string counts = "?\n\nEvents then: " + std::to_string(then) +
                               "\nEvents now: " + std::to_string(now) +
                               "\n\nThe events as they are now are kept, so this can be undone as well.";
    EXPECT_NE(text.find(counts), std::string::npos) << text;
    Sleep(300);
    SaveWindowPicture(box, BesideDriver((std::string("screenshots\\") + picture + ".bmp").c_str()));
    ASSERT_TRUE(PressButton(box, IDYES));
}

}  // namespace

TEST(EndToEnd, UndoFromTheMenus) {
    Instance app("undo");
    const std::string start =
        EventsFile(EventLine(0, "Today") + EventLine(1, "Tomorrow") + EventLine(-1, "Yesterday"));
    app.Write("quillbee.events", start);
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000));

    // Nothing kept yet: the item (add, edit, undo) is greyed and does nothing.
    ChooseFromMenu(app, window, WM_CONTEXTMENU, 0, 3, "undo-greyed-menu");
    EXPECT_EQ(WaitForMessageBox(app.Id(), 1000), nullptr);

    // A change from a terminal keeps the file it replaced.
    time_t now = time(nullptr);
    char today[64];
    strftime(today, sizeof today, "date,message\r\n--%m-%d,Also today\r\n", localtime(&now));
    app.Write("more.csv", today);
    EXPECT_EQ(app.RunTerminalCommand("import more.csv"), 0u);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << RowCount(window);
    const std::string imported = ReadWholeFile(app.File("quillbee.events"));
    ASSERT_NE(imported, start);
    std::vector<std::string> versions = Versions(app);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(ReadWholeFile(app.File(("quillbee.history\\" + versions[0]).c_str())), start);

    ChooseFromMenu(app, window, WM_CONTEXTMENU, 0, 3, "undo-menu");
    AnswerTheQuestion(app, versions[0], 3, 4, "undo-question");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000)) << "the list is not rebuilt";
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.events")), start);
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.backup")), start);
    versions = Versions(app);
    ASSERT_EQ(versions.size(), 2u);  // the undone state is kept too

    // From the tray menu (show, edit, undo): the undo is undone.
    ChooseFromMenu(app, window, MSG_TRAY_NOTIFY, WM_RBUTTONDOWN, 3, "undo-tray-menu");
    AnswerTheQuestion(app, versions[1], 4, 3, "undo-question-again");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << "the list is not rebuilt";
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.events")), imported);
    EXPECT_EQ(Versions(app).size(), 3u);

    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}

// Events deleted in the list editor and saved come back with an undo.
TEST(EndToEnd, UndoAfterTheListEditorSaved) {
    Instance app("undo-list");
    const std::string start = EventsFile(EventLine(0, "Today") + EventLine(1, "Tomorrow") +
                                         EventLine(-1, "Yesterday") + EventLine(2, "Later"));
    app.Write("quillbee.events", start);
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000));

    HWND editor = OpenEventList(app.Id(), window);
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < 2; ++i) {  // the row it opens on, then the one selected after it
        PostMessageA(editor, WM_COMMAND, 1830, 0);
        HWND box = MessageBoxOver(app.Id(), editor);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box).rfind("Czy jeste", 0), 0u);  // read in the driver's code page
        PressButton(box, IDYES);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    }
    PostMessageA(editor, WM_COMMAND, 1840, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 2; }, 5000)) << RowCount(window);
    EXPECT_TRUE(IsWindowEnabled(window));
    std::vector<std::string> versions = Versions(app);
    ASSERT_EQ(versions.size(), 1u);

    ChooseFromMenu(app, window, WM_CONTEXTMENU, 0, 3, "undo-after-list-menu");
    AnswerTheQuestion(app, versions[0], 4, 2, "undo-after-list-question");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << "the deleted events come back";
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.events")), start);
    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}
