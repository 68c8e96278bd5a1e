// The main window under Wine: rebuilds, height, timers, closing, menus and
// the window options. The clock is 15 March 2026, noon, unless a test says
// otherwise; limits are the defaults (10 days before, 3 after).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "app/colours.h"
#include "app/list_drawing.h"
#include "app/load_str.h"
#include "app/main_window.h"
#include "app/platform_win32.h"
#include "app/state.h"
#include "app/win_state.h"
#include "app/window_title.h"
#include "storage/prefs_file.h"
#include "tests/window_fixture.h"

namespace {
class MainWindow : public WindowTest {};

void WriteUsualEvents() {
    WriteEvents({MakeDuty(20, 3, "Oddać książki"), MakeDuty(1, 6, "Not yet"),
                 MakeDuty(13, 3, "Zapłacić rachunek", "Konto 123"), MakeDuty(15, 3, "Urodziny Ani"),
                 MakeDuty(15, 3, "anniversary")});
}

int ExpectedHeight(int rows, bool menu) {
    int itemHeight = static_cast<int>(SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0));
    int height = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) + 4 + itemHeight * rows;
    if (menu) height += GetSystemMetrics(SM_CYMENU);
    return height;
}

// Line 4 of the preferences file, split at blanks.
std::vector<std::string> SavedPrefsFields() {
    std::istringstream in(ReadFileBytes(kPrefsFileName));
    std::string line;
    for (int i = 0; i < 4; ++i) std::getline(in, line);
    std::istringstream fields(line);
    std::vector<std::string> out;
    std::string field;
    while (fields >> field) out.push_back(field);
    return out;
}

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// Moves the mouse and waits until the system reports it there: under X the
// move takes a round trip to the server.
void MoveMouseTo(POINT point) {
    SetCursorPos(point.x, point.y);
    for (int i = 0; i < 200; ++i) {
        POINT now;
        GetCursorPos(&now);
        if (now.x == point.x && now.y == point.y) return;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

// Puts the mouse over the middle of row `row` (or below the rows for -1).
void PointAtRow(int row) {
    RECT cell;
    if (row >= 0) {
        SendMessageA(listBox, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    } else {
        GetClientRect(listBox, &cell);
        cell.top = cell.bottom - 2;
    }
    POINT point = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(listBox, &point);
    MoveMouseTo(point);
}
}  // namespace

// The build count of the due list runs for the whole process, and only its
// first build beeps for a silent start: ctest runs this test in a process of
// its own.
TEST_F(MainWindow, FirstBuildOfASilentStartBeeps) {
    if (lastBuildCount != 0) GTEST_SKIP() << "needs a process of its own (--gtest_filter=*FirstBuild*)";
    WriteUsualEvents();
    silentStart = 1;
    HWND window = StartMainWindow();
    ASSERT_EQ(lastBuildCount, 1);
    EXPECT_EQ(RowCount(), 4);
    EXPECT_TRUE(IsWindowVisible(window)) << "due rows bring a silent start forward";
    EXPECT_EQ(beepCount, 1);
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    EXPECT_EQ(lastBuildCount, 2);
    EXPECT_EQ(beepCount, 1);
}

TEST_F(MainWindow, RebuildShowsTheDueRowsInOrder) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    int first = lastBuildCount;
    ASSERT_EQ(RowCount(), 4);
    const char* expected[4] = {"Zapłacić rachunek", "anniversary", "Urodziny Ani", "Oddać książki"};
    const int days[4] = {-2, 0, 0, 5};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(Row(i), nullptr);
        EXPECT_STREQ(Row(i)->message, expected[i]) << i;
        EXPECT_EQ(Row(i)->daysLeft, days[i]) << i;
    }
    EXPECT_STREQ(Row(0)->notes, "Konto 123");
    char title[256];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Quillbee - Niedziela, 15 Marzec");
    EXPECT_EQ(beepCount, 0);

    // Every rebuild reads the file again.
    WriteEvents({MakeDuty(16, 3, "Jutro")});
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    EXPECT_EQ(lastBuildCount, first + 1);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_STREQ(Row(0)->message, "Jutro");
    EXPECT_EQ(Row(0)->daysLeft, 1);
    EXPECT_EQ(GetPropA(window, "PROP_HASH_CURDIR"), reinterpret_cast<HANDLE>(static_cast<uintptr_t>(dirHash)));
}

TEST_F(MainWindow, HeightFollowsRowsAndMenuBar) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    ASSERT_EQ(RowCount(), 4);
    // Rows are as tall as the list font's lines.
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, listFontHandle);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    EXPECT_EQ(SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight + metrics.tmExternalLeading);
    EXPECT_EQ(WindowHeight(), ExpectedHeight(4, true));
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 600);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
    EXPECT_NE(GetMenu(window), nullptr);

    prefs.hideMenuBar = 1;
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(WindowHeight(), ExpectedHeight(4, false));

    prefs.hideMenuBar = 0;
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    EXPECT_NE(GetMenu(window), nullptr) << "the remembered menu bar comes back";
    EXPECT_EQ(WindowHeight(), ExpectedHeight(4, true));
}

TEST_F(MainWindow, HeightStopsAtTheFullScreenHeight) {
    std::vector<Duty> many;
    for (int i = 0; i < 40; ++i) many.push_back(MakeDuty(15, 3, "Wiele"));
    WriteEvents(many);
    StartMainWindow();
    EXPECT_EQ(RowCount(), 40);
    ASSERT_GT(ExpectedHeight(40, true), GetSystemMetrics(SM_CYFULLSCREEN));
    EXPECT_EQ(WindowHeight(), GetSystemMetrics(SM_CYFULLSCREEN));
    EXPECT_TRUE(GetWindowLongA(listBox, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(MainWindow, DayCheckAcrossMidnightRebuildsBringsForwardAndBeeps) {
    platformNowOverride = LocalClock(2026, 3, 15, 23, 59, 50);
    WriteEvents({MakeDuty(16, 3, "Jutro"), MakeDuty(1, 6, "Not yet")});
    HWND window = StartMainWindow();
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Row(0)->daysLeft, 1);
    int builds = lastBuildCount;

    // Still the same day: nothing happens.
    SendMessageA(window, WM_TIMER, TIMER_DAY_CHECK, 0);
    Pump();
    EXPECT_EQ(lastBuildCount, builds);

    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    Pump();
    ASSERT_EQ(GetForegroundWindow(), other);

    platformNowOverride += 30;  // 00:00:20 on 16 March
    SendMessageA(window, WM_TIMER, TIMER_DAY_CHECK, 0);
    EXPECT_EQ(GetForegroundWindow(), window);
    Pump();
    EXPECT_EQ(lastBuildCount, builds + 1);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Row(0)->daysLeft, 0);
    EXPECT_EQ(beepCount, 1);
    char title[256];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Quillbee - Poniedziałek, 16 Marzec");

    // A rebuild later the same day (an event saved) does not beep.
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    EXPECT_EQ(lastBuildCount, builds + 2);
    EXPECT_EQ(beepCount, 1);
    EXPECT_TRUE(KillTimer(window, TIMER_DAY_CHECK)) << "the day check runs all the time";
    DestroyWindow(other);
}

TEST_F(MainWindow, NothingDueHidesToTheTrayAfterThreeSeconds) {
    WriteEvents({MakeDuty(1, 6, "Not yet")});
    HWND window = StartMainWindow();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(TrayIconExists());
    Pump(2500);
    EXPECT_TRUE(IsWindowVisible(window)) << "not before 3 s";
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }, 1500));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(TrayIconExists());
    EXPECT_FALSE(quitPosted_);

    // A left click on the tray icon shows the window again, a second hides it.
    SendMessageA(window, MSG_TRAY_NOTIFY, 130, WM_LBUTTONDOWN);
    Pump();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(userPresent, 1);
    SendMessageA(window, MSG_TRAY_NOTIFY, 130, WM_LBUTTONDOWN);
    Pump();
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(MainWindow, NothingDueWithoutTrayIconEndsTheProgramUnlessTheUserActed) {
    prefs.showTrayIcon = 0;
    WriteEvents({});
    HWND window = StartMainWindow();
    EXPECT_FALSE(TrayIconExists());
    EXPECT_TRUE(KillTimer(window, TIMER_AUTO_CLOSE)) << "nothing due starts the auto-close timer";

    SendMessageA(window, WM_NCLBUTTONDOWN, HTBORDER, 0);  // (on the caption it would start a move)
    EXPECT_EQ(userPresent, 1);
    SendMessageA(window, WM_TIMER, TIMER_AUTO_CLOSE, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(quitPosted_);

    userPresent = 0;
    SendMessageA(window, WM_TIMER, TIMER_AUTO_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(quitPosted_);
    EXPECT_TRUE(FileExists(kPrefsFileName)) << "closing saves the preferences";
}

TEST_F(MainWindow, SilentStartWithNothingDue) {
    WriteEvents({MakeDuty(1, 6, "Not yet")});
    silentStart = 1;
    prefs.showTrayIcon = 0;
    HWND window = StartMainWindow();
    EXPECT_FALSE(IsWindow(window)) << "the program ends at once";
    EXPECT_TRUE(quitPosted_);
    EXPECT_EQ(beepCount, 0);
}

TEST_F(MainWindow, SilentStartWithNothingDueStaysInTheTray) {
    WriteEvents({});
    silentStart = 1;
    HWND window = StartMainWindow();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(TrayIconExists());
    EXPECT_FALSE(quitPosted_);
    EXPECT_FALSE(KillTimer(window, TIMER_AUTO_CLOSE)) << "a silent start closes at once, without the timer";
}

TEST_F(MainWindow, AlwaysOnTopFollowsThePreference) {
    WriteUsualEvents();
    prefs.alwaysOnTop = 1;
    HWND window = StartMainWindow();
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    prefs.alwaysOnTop = 0;
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindow, MenuBarAndSystemMenu) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    HMENU bar = GetMenu(window);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    char text[64];
    GetMenuStringA(bar, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Pomoc");
    struct Item {
        HMENU menu;
        int position;
        int id;
        const char* text;
    } items[] = {{bar, 0, -1, "&Zdarzenia"},
                 {GetSubMenu(bar, 0), 0, CMD_ADD_EVENT, "&Dodaj nowe..."},
                 {GetSubMenu(bar, 0), 1, CMD_EDIT_EVENTS, "&Edytuj zdarzenia..."},
                 {GetSubMenu(bar, 0), 3, CMD_PREFERENCES, "&Ustawienia..."},
                 {GetSubMenu(bar, 0), 5, CMD_CLOSE, "&Zamknij"},
                 {GetSubMenu(bar, 1), 0, CMD_ABOUT, "O progr&amie"}};
    for (const Item& item : items) {
        EXPECT_EQ(static_cast<int>(GetMenuItemID(item.menu, item.position)), item.id) << item.text;
        GetMenuStringA(item.menu, item.position, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, item.text);
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 6);

    HMENU system = GetSystemMenu(window, FALSE);
    int n = GetMenuItemCount(system);
    EXPECT_EQ(GetMenuItemID(system, n - 3), static_cast<UINT>(CMD_EDIT_EVENTS));
    EXPECT_EQ(GetMenuItemID(system, n - 2), static_cast<UINT>(CMD_PREFERENCES));
    GetMenuStringA(system, n - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About");

    // A system-menu command marks the user present and runs as a command.
    SendMessageA(listBox, LB_SETCURSEL, 1, 0);
    SendMessageA(window, WM_SYSCOMMAND, CMD_PREFERENCES, 0);
    EXPECT_EQ(userPresent, 1);
    Pump();
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(MainWindow, CloseHidesWithTrayIconAndExitSavesThePlacement) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    SetWindowPos(window, nullptr, 123, 77, 640, WindowHeight(), SWP_NOZORDER);
    Pump();
    EXPECT_EQ(prefs.windowX, 123);
    EXPECT_EQ(prefs.windowY, 77);
    EXPECT_EQ(prefs.windowWidth, 640);

    SendMessageA(window, WM_COMMAND, CMD_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(FileExists(kPrefsFileName));

    // The placement is saved even when the memory copy went stale.
    prefs.windowX = 1;
    prefs.windowWidth = 2;
    SendMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    Pump();
    EXPECT_TRUE(quitPosted_);
    EXPECT_TRUE(IsWindow(window)) << "the window outlives the loop; shut-down removes the tray icon";
    std::vector<std::string> fields = SavedPrefsFields();
    ASSERT_GE(fields.size(), 11u);
    EXPECT_EQ(fields[8], "123");
    EXPECT_EQ(fields[9], "77");
    EXPECT_EQ(fields[10], "640");
}

TEST(CentreWindow, LeftEdgeOnAMultipleOfEight) {
    RECT desktop = {0, 0, 1024, 768};
    EXPECT_EQ(CentredOrigin(desktop, 800, 200, false).x, 112);  // dx 112
    EXPECT_EQ(CentredOrigin(desktop, 798, 200, false).x, 112);  // dx 113
    EXPECT_EQ(CentredOrigin(desktop, 792, 200, false).x, 120);  // dx 116
    EXPECT_EQ(CentredOrigin(desktop, 800, 200, false).y, 284);
    EXPECT_EQ(CentredOrigin(desktop, 800, 200, true).y, 85);  // 284 * 0.3
    // Larger than the screen: the corner stays on it.
    POINT big = CentredOrigin(desktop, 1100, 900, false);
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 0);
    RECT shifted = {100, 10, 1124, 778};
    EXPECT_EQ(CentredOrigin(shifted, 800, 200, false).x, 216);
    EXPECT_EQ(CentredOrigin(shifted, 800, 200, false).y, 294);
}

TEST_F(MainWindow, HoverSelectsTheRowUnderTheMouse) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    SetForegroundWindow(window);
    PointAtRow(2);
    SendMessageA(listBox, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(userPresent, 0) << "moving the mouse is not a user action";

    // Over the note column of a row with notes the hand appears.
    RECT cell;
    SendMessageA(listBox, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    POINT point = {(noteLeft + noteRight) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(window, &point);
    MoveMouseTo(point);
    SendMessageA(listBox, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(150)));

    SendMessageA(listBox, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), LB_ERR);

    // While the reminder pop-up is open the selection stays.
    SendMessageA(listBox, LB_SETCURSEL, 1, 0);
    HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    PopupHandle = popup;
    SendMessageA(listBox, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), 1);
    PointAtRow(3);
    SendMessageA(listBox, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), 1);
    // A click on the title bar closes it.
    SendMessageA(window, WM_NCLBUTTONUP, HTCAPTION, 0);
    EXPECT_EQ(PopupHandle, nullptr);
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(MainWindow, RightClickSelectsTheRowUnderTheMouse) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    SetForegroundWindow(window);
    PointAtRow(3);
    SetTimer(nullptr, 0, 100, CloseMenuSoon);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(listBox), 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(userPresent, 1);

    PointAtRow(-1);
    SetTimer(nullptr, 0, 100, CloseMenuSoon);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(listBox), 0);
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), LB_ERR) << "below the rows clears the selection";
}

TEST_F(MainWindow, UserColoursReachTheFifthSchemeOnCommand) {
    WriteUsualEvents();
    prefs.colourScheme = 4;
    prefs.userBackground = 0x123456;
    HWND window = StartMainWindow();
    EXPECT_EQ(SchemeBackground(4), 0x123456u) << "copied at creation";
    prefs.userBackground = 0x654321;
    SendMessageA(window, WM_COMMAND, CMD_USER_COLOURS, 0);
    PostMessageA(window, WM_COMMAND, CMD_RELOAD_LIST, 0);
    Pump();
    LOGBRUSH brush;
    ASSERT_TRUE(GetObjectA(backgroundBrush, sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, 0x654321u) << "the rebuild makes the background brush anew";
}
