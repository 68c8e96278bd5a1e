// The real quillbee.exe, started in scratch folders and driven by window
// messages the way a user's actions reach it.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"
#include "tests/scheme_colours.h"

namespace {
constexpr DWORD kExitedWithMinusOne = static_cast<DWORD>(-1);

// Opens a menu of the program by `message`, pictures it and closes it again.
void PictureMenu(const Instance& app, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 const char* name) {
    PostMessageA(window, message, wParam, lParam);
    HWND menu = WaitForWindow(app.Id(), "#32768", 5000);
    ASSERT_NE(menu, nullptr) << name;
    Sleep(300);  // let it paint
    EXPECT_TRUE(
        SaveWindowPicture(menu, BesideDriver((std::string("screenshots\\") + name + ".bmp").c_str())));
    PostMessageA(window, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return WaitForWindow(app.Id(), "#32768", 0) == nullptr; }, 5000)) << name;
}
}  // namespace

// Everything of the shell a user reads is also pictured, for a person to look
// at (also at 144 dots per inch): the welcome box, the window, its menus.
TEST(EndToEnd, FirstRunGreetsWritesTheSamplesAndPicturesItsMenus) {
    DeleteFileA(StartupLinkPath().c_str());
    Instance app("first");
    ASSERT_TRUE(app.Start());
    HWND box = WaitForMessageBox(app.Id(), kStartTimeout);
    ASSERT_NE(box, nullptr) << "no welcome box";
    EXPECT_EQ(MessageBoxCaption(box), "Welcome to Quillbee 1.41");
    EXPECT_NE(MessageBoxText(box).find("It seems this is your first time using Quillbee."), std::string::npos)
        << MessageBoxText(box);
    EXPECT_EQ(WaitForWindow(app.Id(), "QuillbeeClass", 0, false), nullptr) << "the box comes before the window";
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(box, BesideDriver("screenshots\\welcome-box.bmp")));
    ASSERT_TRUE(PressButton(box, IDOK));

    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    std::string events = ReadWholeFile(app.File("quillbee.events"));
    EXPECT_EQ(events.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n", 0), 0u);
    EXPECT_NE(events.find(" 01Y 000 000 Anniversary of your first Quillbee installation!\x1E"), std::string::npos);
    EXPECT_NE(events.find(" 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n"), std::string::npos);
    EXPECT_TRUE(PathExists(StartupLinkPath())) << "a first run registers the program to start with the system";
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 2; }, 5000)) << RowCount(window);
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver("screenshots\\sample-events.bmp")));
    PictureMenu(app, window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1, "context-menu");
    PictureMenu(app, window, MSG_TRAY_NOTIFY, 130, WM_RBUTTONDOWN, "tray-menu");
    PictureMenu(app, window, WM_SYSCOMMAND, SC_KEYMENU, 'z', "events-menu");
    PictureMenu(app, window, WM_SYSCOMMAND, SC_KEYMENU, ' ', "system-menu");

    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
    EXPECT_TRUE(PathExists(app.File("quillbee.prefs")));
    DeleteFileA(StartupLinkPath().c_str());
}

// An events file without preferences: default place and size, no welcome;
// an edited file shows its new rows after a reload.
TEST(EndToEnd, DefaultGeometryAndReload) {
    Instance app("reload");
    app.Write("quillbee.events", EventsFile(EventLine(0, "Today")));
    ASSERT_TRUE(app.Start());
    HWND window = nullptr, box = nullptr;  // whichever comes first: a welcome comes before the window
    WaitUntil([&] { return (window = app.MainWindow(0)) || (box = WaitForWindow(app.Id(), "#32770", 0)); },
              kStartTimeout);
    EXPECT_EQ(box, nullptr) << "a lost preferences file is not a first run";
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 1; }, 5000));
    RECT before;
    GetWindowRect(window, &before);
    EXPECT_EQ(before.left, 40);
    EXPECT_EQ(before.top, 50);
    EXPECT_EQ(before.right - before.left, 600);

    app.Write("quillbee.events",
              EventsFile(EventLine(-2, "Past") + EventLine(0, "Today") + EventLine(5, "Coming") + EventLine(40, "Far")));
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    EXPECT_TRUE(WaitUntil([&] { return RowCount(window) == 3; }, 5000)) << RowCount(window);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top) << "taller for its new rows";
    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}

// One instance per folder: a second start in the same folder brings the
// first forward and ends; one in another folder runs, numbered.
TEST(EndToEnd, OneInstancePerFolder) {
    Instance first("one");
    Instance other("two");
    first.Write("quillbee.events", EventsFile(EventLine(0, "Today")));
    other.Write("quillbee.events", EventsFile(EventLine(1, "Tomorrow")));
    ASSERT_TRUE(first.Start());
    HWND one = first.MainWindow();
    ASSERT_NE(one, nullptr);
    PostMessageA(one, WM_CLOSE, 0, 0);  // with the tray icon on, this hides it
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(one); }, 5000));

    RunningProgram again;
    ASSERT_TRUE(StartProgram(quillbeeExe, "", first.Folder(), &again));
    EXPECT_EQ(WaitForExit(&again, 10000), kExitedWithMinusOne);
    StopProgram(&again);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(one) != 0; }, 5000)) << "the first one is shown again";

    ASSERT_TRUE(other.Start());
    HWND two = other.MainWindow();
    ASSERT_NE(two, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(two).rfind("Quillbee [2] - ", 0) == 0; }, 5000))
        << WindowText(two);
    EXPECT_EQ(WindowText(one).rfind("Quillbee - ", 0), 0u) << WindowText(one);
    ExitProgram(two);
    ExitProgram(one);
    EXPECT_EQ(other.Exit(), 0u);
    EXPECT_EQ(first.Exit(), 0u);
}

// "/C" from anywhere ends the running instance, which saves its preferences;
// "/U" also deletes the shortcut, whether one runs or not.
TEST(EndToEnd, CloseAndUninstallSwitches) {
    const struct {
        const char* argument;
        bool running;
    } cases[] = {{"/c", true}, {"/U", true}, {"/U", false}};
    for (const auto& [argument, running] : cases) {
        SCOPED_TRACE(argument);
        WriteWholeFile(StartupLinkPath(), "not really a link");
        Instance app("close");
        app.Write("quillbee.events", EventsFile(EventLine(0, "Today")));
        if (running) {
            ASSERT_TRUE(app.Start());
            ASSERT_NE(app.MainWindow(), nullptr);
        }
        Instance closer("closer");
        ASSERT_TRUE(closer.Start(argument));
        EXPECT_EQ(closer.Exit(), kExitedWithMinusOne);
        EXPECT_EQ(app.Exit(), 0u) << "ended and saved its preferences";
        EXPECT_EQ(PathExists(app.File("quillbee.prefs")), running);
        EXPECT_EQ(PathExists(StartupLinkPath()), argument[1] == 'c');
    }
    DeleteFileA(StartupLinkPath().c_str());
}

TEST(EndToEnd, AnUnrecognisedEventsFileIsFatal) {
    Instance app("fatal");
    app.Write("quillbee.events", "; my file\r\n" + EventLine(0, "Today"));
    ASSERT_TRUE(app.Start());
    int boxes = 0;
    for (;;) {
        HWND box = WaitForMessageBox(app.Id(), 3000);
        if (!box) break;
        ++boxes;
        EXPECT_EQ(MessageBoxCaption(box), "Quillbee 1.41");
        EXPECT_EQ(MessageBoxText(box), "Fatal error reading data file (invalid format)!\n( at line 1 )");
        PressButton(box, IDOK);
        WaitUntil([&] { return !IsWindow(box); }, 3000);
    }
    EXPECT_GE(boxes, 1);
    EXPECT_EQ(app.Exit(), 0u);
    EXPECT_FALSE(PathExists(app.File("quillbee.prefs"))) << "a fatal error ends without saving the preferences";
    EXPECT_EQ(ReadWholeFile(app.File("quillbee.events")), "; my file\r\n" + EventLine(0, "Today"));
}

// Pictures of the main window in each colour scheme, kept for a person to
// look at: every row in its scheme's colour for past, today's and coming
// events, on the scheme's background; the weekday widens the date column.
TEST(EndToEnd, PicturesOfTheColourSchemes) {
    const std::string rows = EventLine(-2, "Renew magazine subscription") +
                             EventLine(0, "Call Anna & Tom", "Bring the tickets") +
                             EventLine(1, "Żółw: zażółć gęślą jaźń") + EventLine(7, "George's birthday! ($Age{1968} years old)");
    ListPicture plain;
    for (int scheme = 0; scheme <= 4; ++scheme) {
        PrefsLine prefs;
        prefs.colourScheme = scheme == 4 ? 0 : scheme;
        prefs.showWeekday = scheme == 4 ? 1 : 0;
        prefs.alwaysOnTop = 1;
        ListPicture shot;
        PictureOfMainWindow(prefs, EventsFile(rows), 4, scheme == 4 ? "weekday-column" : "scheme-" + std::to_string(scheme),
                            &shot);
        const SchemeColours& colours = kSchemeColours[prefs.colourScheme];
        const COLORREF ink[4] = {colours.past, colours.today, colours.coming, colours.coming};
        if (scheme == 0) plain = shot;
        for (int row = 0; row < 4; ++row) {
            SCOPED_TRACE("scheme " + std::to_string(scheme) + ", row " + std::to_string(row));
            EXPECT_GT(shot.Count(row, ink[row]), 0);
            EXPECT_EQ(shot.picture.At(shot.right - 2, shot.top + row * shot.rowHeight + 1), colours.background);
            if (scheme == 4) {
                EXPECT_GT(shot.RightmostInk(row, colours.background), plain.RightmostInk(row, colours.background))
                    << "the weekday widens the date column";
            }
        }
    }
}
