// The real quillbee.exe, started in scratch folders and driven by window
// messages the way a user's actions reach it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

// A first run greets the user, writes the sample events and registers the
// program to start with the system. Everything of the shell a user reads is
// pictured, also at 144 dots per inch: the welcome box, the window, its
// menus, the reminder pop-up over it and the About box, whose keys come
// through the program's own message loop.
TEST(EndToEnd, FirstRunGreetsWritesTheSamplesAndPicturesItsWindows) {
    DeleteFileA(StartupLinkPath().c_str());
    Instance app("first");
    ASSERT_TRUE(app.Start());
    HWND box = WaitForMessageBox(app.Id(), kStartTimeout);
    ASSERT_NE(box, nullptr) << "no welcome box";
    EXPECT_EQ(MessageBoxCaption(box), "Welcome to Quillbee 1.41");
    EXPECT_NE(MessageBoxText(box).find("It seems this is your first time using Quillbee."), std::string::npos)
        << MessageBoxText(box);
    EXPECT_EQ(WaitForWindow(app.Id(), "QuillbeeClass", 0, false), nullptr)
        << "the box comes before the window";
    Picture(box, "welcome-box");
    ASSERT_TRUE(PressButton(box, IDOK));

    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    const std::string events = app.Read("quillbee.events");
    EXPECT_EQ(events.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n", 0), 0u);
    EXPECT_NE(events.find(" 01Y 000 000 Anniversary of your first Quillbee installation!\x1E"),
              std::string::npos);
    EXPECT_NE(events.find(" 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n"), std::string::npos);
    EXPECT_TRUE(PathExists(StartupLinkPath()))
        << "a first run registers the program to start with the system";
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == 2; }, 5000)) << RowCount(window);
    SetCursorPos(0, 0);
    Picture(window, "sample-events");
    ChooseFromMenu(app.Id(), window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1, 0, "context-menu");
    ChooseFromMenu(app.Id(), window, MSG_TRAY_NOTIFY, 130, WM_RBUTTONDOWN, 0, "tray-menu");
    ChooseFromMenu(app.Id(), window, WM_SYSCOMMAND, SC_KEYMENU, 'z', 0, "events-menu");
    ChooseFromMenu(app.Id(), window, WM_SYSCOMMAND, SC_KEYMENU, ' ', 0, "system-menu");

    // Over the title bar: the pop-up opens over the window, and the pointer
    // does not hover over the list (which would move the selection).
    RECT frame;
    GetWindowRect(window, &frame);
    SetCursorPos(frame.left + 200, frame.top + 8);
    EXPECT_EQ(OpenDialog(app.Id(), window, CMD_VIEW_NOTE, 1, 500), nullptr)
        << "George's birthday has no notes: no pop-up";
    HWND popup = OpenDialog(app.Id(), window, CMD_VIEW_NOTE, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(WindowText(GetDlgItem(popup, 1011)).find("Anniversary of your first"), std::string::npos);
    EXPECT_NE(WindowText(GetDlgItem(popup, 1012)).find(".\r\nRemember to visit"), std::string::npos);
    RECT place;
    ASSERT_TRUE(WaitUntil([&] { return GetWindowRect(popup, &place) && place.top > 0; }, 5000))
        << "out of sight";
    HWND seen = WindowFromPoint({(place.left + place.right) / 2, (place.top + place.bottom) / 2});
    EXPECT_TRUE(seen == popup || GetParent(seen) == popup) << "the pop-up is hidden behind another window";
    Picture(popup, "reminder-popup");
    Picture(window, "reminder-popup-over-list");
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(popup); }, 5000));

    HWND about = OpenDialog(app.Id(), window, CMD_ABOUT);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), "About");
    EXPECT_EQ(GetWindow(about, GW_OWNER), window);
    EXPECT_FALSE(IsWindowEnabled(window)) << "modal over the main window";
    Picture(about, "about");
    PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    EXPECT_TRUE(IsWindowEnabled(window));

    EXPECT_EQ(app.Quit(), 0u);
    EXPECT_TRUE(PathExists(app.File("quillbee.prefs")));
    DeleteFileA(StartupLinkPath().c_str());
}

// One instance per folder: a second start in the same folder brings the
// first forward and ends; one in another folder runs, numbered.
TEST(EndToEnd, OneInstancePerFolder) {
    Instance first("one", EventsFile(EventLine(0, "Today")));
    Instance other("two", EventsFile(EventLine(1, "Tomorrow")));
    HWND one = first.Run(1);
    ASSERT_NE(one, nullptr);
    PostMessageA(one, WM_CLOSE, 0, 0);  // with the tray icon on, this hides it
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(one); }, 5000));

    RunningProgram again;
    ASSERT_TRUE(StartProgram(quillbeeExe, "", first.Folder(), &again));
    EXPECT_EQ(WaitForExit(&again, 10000), kExitedWithMinusOne);
    StopProgram(&again);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(one) != 0; }, 5000)) << "the first one is shown again";

    HWND two = other.Run(1);
    ASSERT_NE(two, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(two).rfind("Quillbee [2] - ", 0) == 0; }, 5000))
        << WindowText(two);
    EXPECT_EQ(WindowText(one).rfind("Quillbee - ", 0), 0u) << WindowText(one);
    EXPECT_EQ(other.Quit(), 0u);
    EXPECT_EQ(first.Quit(), 0u);
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
        Instance app("close", EventsFile(EventLine(0, "Today")));
        if (running) {
            ASSERT_NE(app.Run(1), nullptr);
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
    const std::string file = "; my file\r\n" + EventLine(0, "Today");
    Instance app("fatal", file);
    ASSERT_TRUE(app.Start());
    int boxes = 0;
    for (HWND box; (box = WaitForMessageBox(app.Id(), 3000)) != nullptr; ++boxes) {
        EXPECT_EQ(MessageBoxCaption(box), "Quillbee 1.41");
        EXPECT_EQ(MessageBoxText(box), "Fatal error reading data file (invalid format)!\n( at line 1 )");
        PressButton(box, IDOK);
        WaitUntil([&] { return !IsWindow(box); }, 3000);
    }
    EXPECT_GE(boxes, 1);
    EXPECT_EQ(app.Exit(), 0u);
    EXPECT_FALSE(PathExists(app.File("quillbee.prefs")))
        << "a fatal error ends without saving the preferences";
    EXPECT_EQ(app.Read("quillbee.events"), file);
}
