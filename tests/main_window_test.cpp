// The main window, its rows painted into a bitmap, and start-up, under Wine.
// The clock is 15 March 2026, noon, unless a test says otherwise; limits are
// the defaults (10 days before, 3 after).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "app/colours.h"
#include "app/directory_hash.h"
#include "app/list_drawing.h"
#include "app/list_layout.h"
#include "app/load_str.h"
#include "app/main_window.h"
#include "app/platform_win32.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/win_state.h"
#include "storage/prefs_file.h"
#include "tests/window_fixture.h"

namespace {
class MainWindow : public WindowTest {
protected:
    void Reload() {
        PostMessageA(mainWindow, WM_COMMAND, CMD_RELOAD_LIST, 0);
        Pump();
    }
    std::string Title() const {
        char title[256];
        GetWindowTextA(mainWindow, title, sizeof title);
        return title;
    }
    int Selection() const { return static_cast<int>(SendMessageA(listBox, LB_GETCURSEL, 0, 0)); }
    bool Topmost() const { return (GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

void WriteUsualEvents() {
    WriteEvents({MakeDuty(20, 3, "Oddać książki"), MakeDuty(1, 6, "Not yet"),
                 MakeDuty(13, 3, "Zapłacić rachunek", "Konto 123"), MakeDuty(15, 3, "Urodziny Ani"),
                 MakeDuty(15, 3, "anniversary")});
}

// Rows are as tall as the list font's lines; the 4 pixels are the list's edge.
int ExpectedHeight(int rows, bool menu) {
    HDC dc = GetDC(mainWindow);
    HGDIOBJ old = SelectObject(dc, listFontHandle);
    TEXTMETRICA font;
    GetTextMetricsA(dc, &font);
    SelectObject(dc, old);
    ReleaseDC(mainWindow, dc);
    return GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) + 4 +
           (font.tmHeight + font.tmExternalLeading) * rows + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
}

// Puts the mouse on the middle of row `row` (below the rows for -1), at
// `windowX` of the main window's client area if given. Under X a move takes
// a round trip to the server, and a late event of an earlier move can put
// the pointer back: wait until it has stayed put for 50 ms.
void PointAtRow(int row, int windowX = -1) {
    RECT cell;
    GetClientRect(listBox, &cell);
    if (row >= 0) SendMessageA(listBox, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    POINT point = {(cell.left + cell.right) / 2, row >= 0 ? (cell.top + cell.bottom) / 2 : cell.bottom - 1};
    ClientToScreen(listBox, &point);
    POINT origin = {windowX, 0};
    ClientToScreen(mainWindow, &origin);
    if (windowX >= 0) point.x = origin.x;
    for (int i = 0, settled = 0; i < 300 && settled < 5; ++i) {
        POINT now;
        GetCursorPos(&now);
        settled = now.x == point.x && now.y == point.y ? settled + 1 : 0;
        if (settled == 0) SetCursorPos(point.x, point.y);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

void RightClick() {
    SetTimer(nullptr, 0, 100, CloseMenuSoon);
    SendMessageA(mainWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(listBox), 0);
}
}  // namespace

// The build count runs for the whole process, and only its first build beeps
// for a silent start: ctest runs this test in a process of its own.
TEST_F(MainWindow, FirstBuildOfASilentStartBeeps) {
    if (lastBuildCount != 0) GTEST_SKIP() << "needs a process of its own (--gtest_filter=*FirstBuild*)";
    WriteUsualEvents();
    silentStart = 1;
    HWND window = StartMainWindow();
    ASSERT_EQ(lastBuildCount, 1);
    EXPECT_EQ(RowCount(), 4);
    EXPECT_TRUE(IsWindowVisible(window)) << "due rows bring a silent start forward";
    EXPECT_EQ(beepCount, 1);
    Reload();
    EXPECT_EQ(lastBuildCount, 2);
    EXPECT_EQ(beepCount, 1);
}

TEST_F(MainWindow, RebuildReadsTheFileAndAppliesTheWindowOptions) {
    WriteUsualEvents();
    prefs.alwaysOnTop = 1;
    prefs.colourScheme = kUserScheme;
    prefs.userBackground = 0x123456;
    HWND window = StartMainWindow();
    EXPECT_EQ(RowsText(),
              "Zapłacić rachunek -2 [Konto 123]; anniversary 0; Urodziny Ani 0; Oddać książki 5; ");
    EXPECT_EQ(Title(), "Quillbee - Niedziela, 15 Marzec");
    EXPECT_EQ(beepCount, 0);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
    EXPECT_EQ(frame.right - frame.left, 600);
    EXPECT_EQ(WindowHeight(), ExpectedHeight(4, true));
    EXPECT_TRUE(Topmost());
    EXPECT_EQ(SchemeBackground(kUserScheme), 0x123456u) << "user colours copied at creation";

    int builds = lastBuildCount;
    WriteEvents({MakeDuty(16, 3, "Jutro")});
    prefs.hideMenuBar = 1;
    prefs.alwaysOnTop = 0;
    prefs.userBackground = 0x654321;
    SendMessageA(window, WM_COMMAND, CMD_USER_COLOURS, 0);
    Reload();
    EXPECT_EQ(lastBuildCount, builds + 1);
    EXPECT_EQ(RowsText(), "Jutro 1; ");
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(WindowHeight(), ExpectedHeight(1, false));
    EXPECT_FALSE(Topmost());
    LOGBRUSH brush;
    ASSERT_TRUE(GetObjectA(backgroundBrush, sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, 0x654321u) << "the rebuild makes the background brush anew";

    prefs.hideMenuBar = 0;
    Reload();
    EXPECT_NE(GetMenu(window), nullptr) << "the remembered menu bar comes back";
    EXPECT_EQ(WindowHeight(), ExpectedHeight(1, true));
}

TEST_F(MainWindow, HeightStopsAtTheFullScreenHeight) {
    WriteEvents(std::vector<Duty>(40, MakeDuty(15, 3, "Wiele")));
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
    EXPECT_EQ(RowsText(), "Jutro 1; ");
    int builds = lastBuildCount;
    SendMessageA(window, WM_TIMER, TIMER_DAY_CHECK, 0);
    Pump();
    EXPECT_EQ(lastBuildCount, builds) << "still the same day";

    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    Pump();
    ASSERT_EQ(GetForegroundWindow(), other);
    platformNowOverride += 30;  // 00:00:20 on 16 March
    SendMessageA(window, WM_TIMER, TIMER_DAY_CHECK, 0);
    EXPECT_EQ(GetForegroundWindow(), window);
    Pump();
    EXPECT_EQ(lastBuildCount, builds + 1);
    EXPECT_EQ(RowsText(), "Jutro 0; ");
    EXPECT_EQ(beepCount, 1);
    EXPECT_EQ(Title(), "Quillbee - Poniedziałek, 16 Marzec");

    Reload();  // as after an event was saved the same day: no beep
    EXPECT_EQ(lastBuildCount, builds + 2);
    EXPECT_EQ(beepCount, 1);
    EXPECT_TRUE(KillTimer(window, TIMER_DAY_CHECK)) << "the day check runs all the time";
    DestroyWindow(other);
}

TEST_F(MainWindow, NothingDueHidesToTheTrayAfterThreeSeconds) {
    WriteEvents({MakeDuty(1, 6, "Not yet")});
    HWND window = StartMainWindow();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(TrayIconExists());
    Pump(2500);
    EXPECT_TRUE(IsWindowVisible(window)) << "not before 3 s";
    for (int i = 0; i < 75 && IsWindowVisible(window); ++i) Pump(20);
    EXPECT_FALSE(IsWindowVisible(window));
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
    // The commands added to the system menu count as user actions; the
    // command is taken off the queue before it opens its dialog.
    HMENU system = GetSystemMenu(window, FALSE);
    int n = GetMenuItemCount(system);
    const UINT added[] = {CMD_EDIT_EVENTS, CMD_PREFERENCES, CMD_ABOUT};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GetMenuItemID(system, n - 3 + i), added[i]) << i;
    SendMessageA(window, WM_SYSCOMMAND, CMD_ABOUT, 0);
    MSG posted = {};
    EXPECT_TRUE(PeekMessageA(&posted, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(CMD_ABOUT));
    EXPECT_EQ(userPresent, 1);
    userPresent = 0;
    SendMessageA(window, WM_NCLBUTTONDOWN, HTBORDER, 0);  // (on the caption it would start a move)
    EXPECT_EQ(userPresent, 1) << "a click on the frame";
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

TEST_F(MainWindow, SilentStartWithNothingDueEndsAtOnce) {
    WriteEvents({MakeDuty(1, 6, "Not yet")});
    silentStart = 1;
    prefs.showTrayIcon = 0;
    EXPECT_FALSE(IsWindow(StartMainWindow()));
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
    EXPECT_FALSE(KillTimer(window, TIMER_AUTO_CLOSE)) << "closed at once, without the timer";
}

TEST_F(MainWindow, CloseHidesWithTrayIconAndExitSavesThePlacement) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    SetWindowPos(window, nullptr, 123, 77, 640, WindowHeight(), SWP_NOZORDER);
    Pump();
    SendMessageA(window, WM_COMMAND, CMD_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(FileExists(kPrefsFileName));

    prefs.windowX = 1;  // a stale copy: the placement is read from the window
    prefs.windowWidth = 2;
    SendMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    Pump();
    EXPECT_TRUE(quitPosted_);
    EXPECT_TRUE(IsWindow(window)) << "the window outlives the loop; shut-down removes the tray icon";
    prefs = DefaultPrefs();
    ASSERT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(prefs.windowX, 123);
    EXPECT_EQ(prefs.windowY, 77);
    EXPECT_EQ(prefs.windowWidth, 640);
}

TEST(CentreWindow, LeftEdgeOnAMultipleOfEight) {
    // width, height, upper; expected x, y on a 1024 x 768 desktop: dx 112,
    // 113 and 116; 284 * 0.3 in the upper part; larger than the screen.
    const int cases[][5] = {{800, 200, 0, 112, 284},
                            {798, 200, 0, 112, 284},
                            {792, 200, 0, 120, 284},
                            {800, 200, 1, 112, 85},
                            {1100, 900, 0, 0, 0}};
    for (const auto& c : cases) {
        POINT origin = CentredOrigin({0, 0, 1024, 768}, c[0], c[1], c[2] != 0);
        EXPECT_EQ(origin.x, c[3]) << c[0] << " " << c[2];
        EXPECT_EQ(origin.y, c[4]) << c[0] << " " << c[2];
    }
    POINT shifted = CentredOrigin({100, 10, 1124, 778}, 800, 200, false);
    EXPECT_EQ(shifted.x, 216);
    EXPECT_EQ(shifted.y, 294);
}

TEST_F(MainWindow, MouseSelectsTheRowUnderIt) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    SetForegroundWindow(window);
    PointAtRow(2);
    SendMessageA(listBox, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Selection(), 2);
    EXPECT_EQ(userPresent, 0) << "moving the mouse is not a user action";
    PointAtRow(0, (noteLeft + noteRight) / 2);  // the note column of a row with notes
    SendMessageA(listBox, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Selection(), 0);
    EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(150)));
    SendMessageA(listBox, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Selection(), LB_ERR);

    PointAtRow(3);
    RightClick();
    EXPECT_EQ(Selection(), 3);
    EXPECT_EQ(userPresent, 1);
    PointAtRow(-1);
    RightClick();
    EXPECT_EQ(Selection(), LB_ERR) << "a right-click below the rows clears the selection";

    // The pop-up keeps the selection; a click on the title bar closes it.
    SendMessageA(listBox, LB_SETCURSEL, 1, 0);
    HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    PopupHandle = popup;
    SendMessageA(listBox, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Selection(), 1);
    PointAtRow(3);
    SendMessageA(listBox, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(Selection(), 1);
    SendMessageA(window, WM_NCLBUTTONUP, HTCAPTION, 0);
    EXPECT_EQ(PopupHandle, nullptr);
    EXPECT_FALSE(IsWindow(popup));
}

TEST(ReadSwitch, FirstSlashAndOneLetterOfAnUpperCasedLine) {
    // The command line, the letter, and the line after upper-casing.
    const char* cases[][3] = {
        {"quillbee.exe /s", "S", "QUILLBEE.EXE /S"},
        {"quillbee.exe /silent", "S", "QUILLBEE.EXE /SILENT"},
        {"quillbee.exe /c", "C", "QUILLBEE.EXE /C"},
        {"quillbee.exe", "", "QUILLBEE.EXE"},
        {"quillbee.exe /", "", "QUILLBEE.EXE /"},
        {"c:/tools/quillbee.exe /s", "T", "C:/TOOLS/QUILLBEE.EXE /S"},  // the path's slash is examined
        {"C:\\Zdj\xC4\x99"
         "cia\\q.exe /u",
         "U",
         "C:\\ZDJ\xC4\x99"
         "CIA\\Q.EXE /U"},  // UTF-8 stays intact
    };
    for (const auto& c : cases) {
        char line[64];
        CopyText(line, c[0], sizeof line);
        EXPECT_EQ(ReadSwitch(line), c[1][0]) << c[0];
        EXPECT_STREQ(line, c[2]);
    }
}

TEST_F(MainWindow, SecondStartFindsTheInstanceOfItsDirectoryAndCloseSwitchEndsIt) {
    WriteEvents({MakeDuty(15, 3, "Dzisiaj")});
    HWND window = StartMainWindow();
    uint32_t own = dirHash;
    EXPECT_EQ(FindSameDirectoryInstance(), window);
    EXPECT_EQ(instanceNumber, 2);
    dirHash = DirectoryHash("C:\\elsewhere");
    EXPECT_EQ(FindSameDirectoryInstance(), nullptr) << "another directory: counted, not the same";
    EXPECT_EQ(instanceNumber, 2);
    dirHash = own;
    Reload();
    EXPECT_EQ(Title(), "Quillbee [2] - Niedziela, 15 Marzec");
    RemovePropA(window, "PROP_HASH_CURDIR");
    EXPECT_EQ(FindSameDirectoryInstance(), nullptr) << "without the property nothing matches";

    ASSERT_TRUE(TrayIconExists());
    CloseRunningInstance();
    Pump();
    EXPECT_TRUE(quitPosted_);
    EXPECT_FALSE(TrayIconExists());
    EXPECT_TRUE(FileExists(kPrefsFileName));
    EXPECT_TRUE(IsWindow(window));
}

namespace {
constexpr int kWidth = 600;
constexpr int kHeight = 24;

class ListDrawing : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ApplyDefaultListFont(&prefs.listFont);
        listFontHandle = CreateListFont(prefs.listFont);
        backgroundBrush = CreateSolidBrush(SchemeBackground(0));
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
        ReleaseDC(nullptr, screen);
        SelectObject(dc_, bitmap_);
        SelectObject(dc_, listFontHandle);
    }
    void TearDown() override {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
        DeleteObject(backgroundBrush);
        backgroundBrush = nullptr;
        WindowTest::TearDown();
    }

    // Draws a row with `daysLeft` (no row data for -99) over the whole bitmap.
    BOOL Draw(int daysLeft, const char* message, const char* notes = "", bool selected = false) {
        Duty row = MakeDuty(15, 3, message, notes);
        row.daysLeft = daysLeft;
        DRAWITEMSTRUCT item;
        std::memset(&item, 0, sizeof item);
        item.CtlType = ODT_LISTBOX;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hDC = dc_;
        item.rcItem = {0, 0, kWidth, kHeight};
        item.itemData = daysLeft == -99 ? 0 : reinterpret_cast<ULONG_PTR>(&row);
        return DrawListItem(&item);
    }
    uint32_t At(int x, int y) const { return GetPixel(dc_, x, y); }
    int Count(uint32_t colour, int left, int right) const {
        int n = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = left; x < right; ++x) n += At(x, y) == colour;
        }
        return n;
    }
    // The right-most column with a pixel other than the background, or -1
    // (smoothed text has few pixels of its exact colour).
    int RightMost() const {
        int x = kWidth - 1;
        while (x >= 0 && Count(SchemeBackground(0), x, x + 1) == kHeight) --x;
        return x;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
};
}  // namespace

TEST_F(ListDrawing, TextColourByDaysLeftAndSelectionShade) {
    const uint32_t colours[3] = {ColourScheme.pastDays[0], ColourScheme.today[0], ColourScheme.futureDays[0]};
    for (int days = -1; days <= 1; ++days) {
        ASSERT_TRUE(Draw(days, "Wiadomość"));
        EXPECT_GT(Count(colours[days + 1], 0, TextWidth(dc_, LoadStr(1290))), 0) << days;
        EXPECT_EQ(At(kWidth - 1, kHeight - 1), SchemeBackground(0));
    }
    EXPECT_FALSE(Draw(-99, "")) << "a row without data is not drawn";

    ASSERT_TRUE(Draw(3, "Zaznaczony", "", true));
    uint32_t shade = SelectionColour(SchemeBackground(0));
    EXPECT_EQ(At(kWidth - 1, kHeight - 1), shade);
    EXPECT_EQ(At(0, 0), shade) << "no focus rectangle at the corner";
    EXPECT_EQ(Count(SchemeBackground(0), 0, kWidth), 0);

    prefs.colourScheme = 2;
    ASSERT_TRUE(Draw(3, "Zaznaczony"));
    EXPECT_GT(Count(Rgb(0, 0, 0xFF), 0, kWidth), 0) << "the future-days colour of scheme 2";
}

TEST_F(ListDrawing, NotePictogramOnlyForRowsWithNotes) {
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_LISTBOX;
    MeasureListItem(GetDesktopWindow(), &measure);
    EXPECT_EQ(noteLeft, TextWidth(dc_, "-188 dni:") + 1);
    EXPECT_EQ(noteRight, noteLeft + TextWidth(dc_, "M"));
    NoteIconShape sheet = NoteIconGeometry(noteLeft, 0, noteRight, kHeight);
    ASSERT_TRUE(Draw(2, "Bez notatek"));
    EXPECT_EQ(Count(SchemeBackground(0), noteLeft, noteRight), kHeight * (noteRight - noteLeft));
    ASSERT_TRUE(Draw(2, "Z notatką", "Pamiętaj"));
    EXPECT_EQ(At(sheet.left + 1, sheet.top + 1), Rgb(255, 255, 255));
    EXPECT_EQ(At(sheet.left, sheet.top), Rgb(0, 0, 0)) << "outline";
    ASSERT_GT(sheet.lineCount, 0);
    EXPECT_EQ(At(sheet.lineLeft, sheet.lineY[0]), Rgb(0, 0, 0)) << "first text line";
}

TEST_F(ListDrawing, WeekdayWidensTheDateColumnAndAmpersandsShow) {
    ASSERT_TRUE(Draw(4, "Tom & Jerry"));
    int plainEnd = RightMost();
    ListColumns columns =
        ListColumnBounds(TextWidth(dc_, LoadStr(1290)), TextWidth(dc_, "M"), TextWidth(dc_, LoadStr(1300)),
                         TextWidth(dc_, LoadStr(1310)), false);
    EXPECT_NEAR(plainEnd, columns.messageLeft + TextWidth(dc_, "Tom & Jerry") - 1, 2)
        << "the & is drawn, not taken as a prefix";
    prefs.showWeekday = 1;
    ASSERT_TRUE(Draw(4, "Tom & Jerry"));
    EXPECT_EQ(RightMost(), plainEnd + TextWidth(dc_, LoadStr(1310)));
}
