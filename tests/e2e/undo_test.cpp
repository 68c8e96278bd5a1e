// "Cofnij ostatnią zmianę..." of the real program: greyed while there is
// nothing to put back, then from the right-click menu and from the tray menu,
// after a change made from a terminal and after the list editor saved.
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
// The kept versions' names ("2026-12-07_14-32-05.events"), oldest first.
std::vector<std::string> Versions(const Instance& app) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(app.File("quillbee.history\\*.events").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        names.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// The question for the newest version: its hour, minute and day (the month's
// name is the string table's) and the counts of events then and now.
void AnswerTheQuestion(const Instance& app, int then, int now, const char* picture) {
    const std::vector<std::string> versions = Versions(app);
    ASSERT_FALSE(versions.empty());
    int year, month, day, hour, minute;
    ASSERT_EQ(
        std::sscanf(versions.back().c_str(), "%4d-%2d-%2d_%2d-%2d", &year, &month, &day, &hour, &minute), 5);
    char start[64];
    std::snprintf(start, sizeof start, "Restore the events as they were\nat %02d:%02d on %02d/", hour, minute,
                  day);
    HWND box = WaitForMessageBox(app.Id(), 10000);
    ASSERT_NE(box, nullptr) << "no question";
    const std::string text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(start, 0), 0u) << text;
    EXPECT_NE(text.find("?\n\nEvents then: " + std::to_string(then) + "\nEvents now: " + std::to_string(now) +
                        "\n\nThe events as they are now are kept, so this can be undone as well."),
              std::string::npos)
        << text;
    Picture(box, picture);
    ASSERT_TRUE(PressButton(box, IDYES));
}
}  // namespace

TEST(EndToEnd, UndoFromTheMenus) {
    const std::string start =
        EventsFile(EventLine(0, "Today") + EventLine(1, "Tomorrow") + EventLine(-1, "Yesterday"));
    Instance app("undo", start);
    HWND window = app.Run(3);
    ASSERT_NE(window, nullptr);

    // Nothing kept yet: the item (add, edit, undo) is greyed and does nothing.
    ChooseFromMenu(app.Id(), window, WM_CONTEXTMENU, 0, 0, 3, "undo-greyed-menu");
    EXPECT_EQ(WaitForMessageBox(app.Id(), 1000), nullptr);

    // A change from a terminal keeps the file it replaced.
    const struct tm today = DayFromToday(0);
    char csv[64];
    strftime(csv, sizeof csv, "date,message\r\n--%m-%d,Also today\r\n", &today);
    app.Write("more.csv", csv);
    EXPECT_EQ(app.RunTerminalCommand("import more.csv"), 0u);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << RowCount(window);
    const std::string imported = app.Read("quillbee.events");
    ASSERT_NE(imported, start);
    std::vector<std::string> versions = Versions(app);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(app.Read(("quillbee.history\\" + versions[0]).c_str()), start);

    ChooseFromMenu(app.Id(), window, WM_CONTEXTMENU, 0, 0, 3, "undo-menu");
    AnswerTheQuestion(app, 3, 4, "undo-question");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000)) << "the list is not rebuilt";
    EXPECT_EQ(app.Read("quillbee.events"), start);
    EXPECT_EQ(app.Read("quillbee.backup"), start);
    EXPECT_EQ(Versions(app).size(), 2u) << "the undone state is kept too";

    // From the tray menu (show, edit, undo): the undo is undone.
    ChooseFromMenu(app.Id(), window, MSG_TRAY_NOTIFY, 0, WM_RBUTTONDOWN, 3, "undo-tray-menu");
    AnswerTheQuestion(app, 4, 3, "undo-question-again");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << "the list is not rebuilt";
    EXPECT_EQ(app.Read("quillbee.events"), imported);
    EXPECT_EQ(Versions(app).size(), 3u);

    // Events deleted in the list editor and saved come back with an undo.
    HWND editor = OpenDialog(app.Id(), window, CMD_EDIT_EVENTS);
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
    ASSERT_EQ(Versions(app).size(), 4u);
    ChooseFromMenu(app.Id(), window, WM_CONTEXTMENU, 0, 0, 3, "undo-after-list-menu");
    AnswerTheQuestion(app, 4, 2, "undo-after-list-question");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 4; }, 5000)) << "the deleted events come back";
    EXPECT_EQ(app.Read("quillbee.events"), imported);
    EXPECT_EQ(app.Quit(), 0u);
}
