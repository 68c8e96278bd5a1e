// The main window and start-up in-process under Wine: a fresh working
// directory, the clock at 15 March 2026, noon, default limits (10 days before,
// 3 after). A message box opened by mistake is dismissed and fails the test.
#include "app/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/directory_hash.h"
#include "app/list_drawing.h"
#include "app/platform_win32.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/tray_icon.h"
#include "app/win_state.h"
#include "model/calendar.h"
#include "model/due_list.h"
#include "storage/events_file.h"
#include "storage/events_save.h"
#include "storage/prefs_file.h"
#include "tests/canvas.h"
#include "tests/e2e/driver.h"
#include "tests/prefs_data_line.h"
#include "tests/scheme_colours.h"
#include "tests/scratch_dir.h"

namespace {
// Written by the watcher thread only; read after it has ended.
std::vector<std::string> dismissedBoxes;
volatile LONG watching = 0;
volatile LONG boxesExpected = 0;  // a test answers the boxes itself
HANDLE watcher = nullptr;

DWORD WINAPI WatchForBoxes(LPVOID) {
    while (InterlockedCompareExchange(&watching, 1, 1)) {
        if (HWND box = boxesExpected ? nullptr : WaitForMessageBox(GetCurrentProcessId(), 0)) {
            dismissedBoxes.push_back(MessageBoxText(box));
            PostMessageA(FindWindowExA(box, nullptr, "Button", nullptr), BM_CLICK, 0, 0);
        }
        Sleep(100);
    }
    return 0;
}

// A yearly event of 2010.
Duty MakeDuty(int day, int month, const char* message, const char* notes = "") {
    Duty duty{};
    duty.day = day;
    duty.month = month;
    duty.year = 2010;
    duty.yearly = 1;
    duty.repeatMark = 'Y';
    CopyText(duty.message, message, sizeof duty.message);
    CopyText(duty.notes, notes, sizeof duty.notes);
    return duty;
}

// An events file of `duties` after the raw `lines`.
void WriteEvents(const std::vector<Duty>& duties, const char* lines = "") {
    FILE* file = std::fopen(kEventsFileName, "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(WriteFileHeader(file), 1);
    std::fprintf(file, "\r\n%s", lines);
    for (const Duty& duty : duties) std::fputs(FormatDutyLine(duty), file);
    std::fclose(file);
}

void WriteUsualEvents() {
    WriteEvents({MakeDuty(20, 3, "Oddać książki"), MakeDuty(1, 6, "Not yet"),
                 MakeDuty(13, 3, "Zapłacić rachunek", "Konto 123"), MakeDuty(15, 3, "Urodziny Ani"),
                 MakeDuty(15, 3, "anniversary")});
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override {
        prefs = DefaultPrefs();
        silentStart = userPresent = 0;
        instanceNumber = dayFirst = 1;
        std::strcpy(languageCode, "pl");
        beepCount = 0;
        dayChangedKept = 99;
        PopupHandle = ListEditorHandle = FindDialogHandle = nullptr;
        struct tm noon = {0, 0, 12, 15, 2, 126, 0, 0, -1};
        platformNowOverride = mktime(&noon);
        dismissedBoxes.clear();
        InterlockedExchange(&watching, 1);
        watcher = CreateThread(nullptr, 0, WatchForBoxes, nullptr, 0, nullptr);
    }
    void TearDown() override {
        CloseMainWindow();
        MSG message;  // the next test starts with an empty queue: no WM_QUIT left over
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        platformNowOverride = 0;
        InterlockedExchange(&watching, 0);
        InterlockedExchange(&boxesExpected, 0);
        WaitForSingleObject(watcher, 2000);
        CloseHandle(watcher);
        EXPECT_TRUE(dismissedBoxes.empty()) << "an unexpected message box: " << dismissedBoxes.front();
    }
    // Shown, or hidden for a silent start; runs the first rebuild.
    HWND StartMainWindow() {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        RegisterMainWindowClass(instance);
        GetCurrentDirectoryA(sizeof workingDirectory, workingDirectory);
        dirHash = DirectoryHash(workingDirectory);
        HWND window = CreateMainWindow(instance);
        ShowWindow(window, silentStart ? SW_HIDE : SW_SHOWNORMAL);
        Pump(50);
        return window;
    }
    void CloseMainWindow() {
        if (mainWindow && IsWindow(mainWindow)) {
            ShutDown();
            DestroyWindow(mainWindow);
        }
        Pump();
        mainWindow = listBox = nullptr;
        if (listFontHandle) DeleteObject(listFontHandle);
        listFontHandle = nullptr;
    }
    void Pump(int ms = 30) {
        DWORD start = GetTickCount();
        for (int left = ms; left > 0; left = ms - static_cast<int>(GetTickCount() - start)) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    quitPosted_ = true;
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
        }
    }
    void Send(UINT message, WPARAM wParam) {
        SendMessageA(mainWindow, message, wParam, 0);
        Pump();
    }
    void Reload() {
        PostMessageA(mainWindow, WM_COMMAND, CMD_RELOAD_LIST, 0);
        Pump();
    }
    // "message daysLeft [notes]; " for each row.
    std::string RowsText() const {
        std::string text;
        for (int i = 0; i < SendMessageA(listBox, LB_GETCOUNT, 0, 0); ++i) {
            auto row = reinterpret_cast<const DueItem*>(SendMessageA(listBox, LB_GETITEMDATA, i, 0));
            text += std::string(row->message) + " " + std::to_string(row->daysLeft);
            text += (row->notes[0] ? std::string(" [") + row->notes + "]; " : "; ");
        }
        return text;
    }
    // Draws `row` as the list box would, into `dc`.
    BOOL DrawRow(Duty row, HDC dc, int width, int height) const {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = listBox;
        item.hDC = dc;
        item.rcItem = {0, 0, width, height};
        item.itemData = reinterpret_cast<ULONG_PTR>(&row);
        return DrawListItem(&item);
    }
    // Every row shows whole without scrolling, with no room left for another.
    testing::AssertionResult RowsFit() const {
        const int rows = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
        RECT client, last = {0, 0, 0, 0};
        GetClientRect(listBox, &client);
        SendMessageA(listBox, LB_GETITEMRECT, rows - 1, reinterpret_cast<LPARAM>(&last));
        const int below = client.bottom - last.bottom;  // room under the last row
        if (SendMessageA(listBox, LB_GETTOPINDEX, 0, 0) == 0 && below >= 0 &&
            below < SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << below << " pixels under the last of " << rows << " rows";
    }

    ScratchDir dir_;
    bool quitPosted_ = false;
};
}  // namespace

// The build count runs for the whole process, and only its first build beeps
// for a silent start: ctest runs this test in a process of its own.
TEST_F(MainWindow, FirstBuildOfASilentStartBeeps) {
    if (lastBuildCount != 0) GTEST_SKIP() << "needs a process of its own (--gtest_filter=*FirstBuild*)";
    WriteUsualEvents();
    silentStart = 1;
    EXPECT_TRUE(IsWindowVisible(StartMainWindow())) << "due rows bring a silent start forward";
    EXPECT_EQ(beepCount, 1);
    Reload();
    EXPECT_EQ(lastBuildCount, 2);
    EXPECT_EQ(beepCount, 1);
}

TEST_F(MainWindow, RebuildListsTheRowsInOrderAndFitsTheWindowToThem) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    EXPECT_EQ(RowsText(),
              "Zapłacić rachunek -2 [Konto 123]; anniversary 0; Urodziny Ani 0; Oddać książki 5; ");
    EXPECT_TRUE(RowsFit());

    WriteEvents({MakeDuty(16, 3, "Jutro")});
    prefs.hideMenuBar = 1;
    Reload();
    EXPECT_EQ(RowsText(), "Jutro 1; ");
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_TRUE(RowsFit());
    prefs.hideMenuBar = 0;
    Reload();
    EXPECT_NE(GetMenu(window), nullptr) << "the remembered menu bar comes back";
    EXPECT_TRUE(RowsFit());

    WriteEvents(std::vector<Duty>(40, MakeDuty(15, 3, "Wiele")));
    Reload();
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.bottom - frame.top, GetSystemMetrics(SM_CYFULLSCREEN)) << "no taller than the screen";
}

TEST_F(MainWindow, DayCheckAtMidnightRebuildsAndBeepsOnce) {
    platformNowOverride += 12 * 3600 - 10;  // 23:59:50
    WriteEvents({MakeDuty(16, 3, "Jutro")});
    StartMainWindow();
    int builds = lastBuildCount;
    Send(WM_TIMER, TIMER_DAY_CHECK);
    EXPECT_EQ(lastBuildCount, builds) << "still the same day";
    platformNowOverride += 30;  // 00:00:20 on 16 March
    // The clock and the loop run: the day check's own timer comes within half a minute.
    for (int i = 0; i < 320 && lastBuildCount == builds; ++i) Pump(100);
    EXPECT_EQ(RowsText(), "Jutro 0; ");
    EXPECT_EQ(beepCount, 1);
    char title[64];
    GetWindowTextA(mainWindow, title, sizeof title);
    EXPECT_STREQ(title, "Quillbee - Poniedziałek, 16 Marzec");
    Reload();  // as after an event was saved the same day
    EXPECT_EQ(lastBuildCount, builds + 2);
    EXPECT_EQ(beepCount, 1);
}

TEST_F(MainWindow, NothingDueWithoutTrayIconEndsTheProgramUnlessTheUserActed) {
    prefs.showTrayIcon = 0;
    WriteEvents({});
    HWND window = StartMainWindow();
    for (int i = 0; i < 50 && IsWindow(window); ++i) Pump(100);  // the clock and the loop run
    EXPECT_FALSE(IsWindow(window)) << "still open after 5 seconds";
    EXPECT_TRUE(quitPosted_);
    EXPECT_TRUE(FileExists(kPrefsFileName)) << "closing saves the preferences";

    quitPosted_ = false;
    window = StartMainWindow();
    Send(WM_NCLBUTTONDOWN, HTBORDER);  // a click on the frame (on the caption it would start a move)
    EXPECT_EQ(userPresent, 1);
    Send(WM_TIMER, TIMER_AUTO_CLOSE);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(quitPosted_);
}

TEST_F(MainWindow, SilentStartWithNothingDueStaysInTheTrayOrEnds) {
    WriteEvents({MakeDuty(1, 6, "Not yet")});
    silentStart = 1;
    HWND window = StartMainWindow();
    EXPECT_TRUE(IsWindow(window) && !IsWindowVisible(window));
    EXPECT_FALSE(quitPosted_) << "the tray icon keeps it";
    CloseMainWindow();
    prefs.showTrayIcon = 0;
    EXPECT_FALSE(IsWindow(StartMainWindow()));
    EXPECT_TRUE(quitPosted_);
    EXPECT_EQ(beepCount, 0);
}

// The undo item is open only with a version to put back, and never while the
// list editor is open: its own save would write over what the undo restored.
TEST_F(MainWindow, UndoIsGreyedWithNothingToUndoAndBesideTheListEditor) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, CMD_UNDO_CHANGE, "undo");
    auto greyed = [&] {
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return (GetMenuState(menu, CMD_UNDO_CHANGE, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_TRUE(greyed());
    ASSERT_EQ(AppendDuty(MakeDuty(16, 3, "Jutro")), 1);
    Pump();
    EXPECT_FALSE(greyed());

    const std::string changed = ReadFileBytes(kEventsFileName);
    ListEditorHandle = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(greyed());
    Send(WM_COMMAND, CMD_UNDO_CHANGE);  // an undo would ask first: the watcher would catch the box
    EXPECT_EQ(ReadFileBytes(kEventsFileName), changed);
    DestroyWindow(ListEditorHandle);
    ListEditorHandle = nullptr;
    EXPECT_FALSE(greyed());
    DestroyMenu(menu);
}

// Past, today's and coming rows are told apart by colour alone, on each
// scheme's background.
TEST_F(MainWindow, RowsDrawInTheColoursOfTheirScheme) {
    StartMainWindow();
    Canvas canvas(200, 24);
    SelectObject(canvas.dc(), listFontHandle);
    for (int scheme = 0; scheme < 4; ++scheme) {
        prefs.colourScheme = scheme;
        Reload();  // the background brush
        const SchemeColours& colours = kSchemeColours[scheme];
        const COLORREF ink[3] = {colours.past, colours.today, colours.coming};
        for (int days = -1; days <= 1; ++days) {
            SCOPED_TRACE("scheme " + std::to_string(scheme) + ", days " + std::to_string(days));
            Duty row = MakeDuty(15, 3, "Wiadomość");
            row.daysLeft = days;
            ASSERT_TRUE(DrawRow(row, canvas.dc(), 200, 24));
            EXPECT_EQ(canvas.At(199, 0), colours.background);
            int count[3] = {0, 0, 0};
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 200; ++x)
                    for (int i = 0; i < 3; ++i) count[i] += canvas.At(x, y) == ink[i];
            EXPECT_GT(count[days + 1], 0);
            for (int i = 0; i < 3; ++i) {
                if (ink[i] != ink[days + 1]) {
                    EXPECT_EQ(count[i], 0) << "drawn in the colour of " << i - 1;
                }
            }
        }
    }
}

// Every date the list can show fits its column whole, with a blank gap before
// the message, and the messages of all rows start at one place: in both date
// orders, with and without the weekday. On a black background (scheme 3)
// anything lit is ink.
TEST_F(MainWindow, DateColumnFitsEveryDateAndAlignsTheMessages) {
    prefs.colourScheme = 3;
    StartMainWindow();
    const int height = static_cast<int>(SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0));
    Canvas canvas(700, height);
    SelectObject(canvas.dc(), listFontHandle);
    // The picture's columns after drawing `row`.
    auto drawRow = [&](Duty row) {
        canvas.Clear();
        DrawRow(row, canvas.dc(), 700, height);
        std::vector<std::string> columns(700);
        for (int x = 0; x < 700; ++x)
            for (int y = 0; y < height; ++y) columns[x] += std::to_string(canvas.At(x, y)) + ",";
        return columns;
    };
    for (int order = 0; order < 4; ++order) {
        dayFirst = order & 1;
        prefs.showWeekday = order >> 1;
        int firstMessageStart = -1;
        for (int month = 1; month <= 12; ++month) {
            Duty row = MakeDuty(28, month, "");
            row.daysLeft = month % 7;  // every weekday name
            char date[128];
            RowDateText(28, month, prefs.showWeekday ? WeekdayShortName(row.daysLeft) : nullptr, date,
                        sizeof date);
            SCOPED_TRACE(date);
            canvas.Clear();
            SetTextColor(canvas.dc(), RGB(255, 255, 255));
            RECT unclipped = {noteRight + 1, 0, 700, height};
            DrawUtf8Text(canvas.dc(), date, &unclipped, DT_NOPREFIX);
            const int wholeDateEnd = canvas.RightmostInk(0, height);
            const std::vector<std::string> withoutMessage = drawRow(row);
            const int dateEnd = canvas.RightmostInk(0, height);
            EXPECT_EQ(dateEnd, wholeDateEnd) << "the date is cut";
            CopyText(row.message, "Wiadomość", sizeof row.message);
            const std::vector<std::string> withMessage = drawRow(row);
            int messageStart = 0;
            while (messageStart < 700 && withMessage[messageStart] == withoutMessage[messageStart])
                ++messageStart;
            EXPECT_GT(messageStart, dateEnd + 1) << "the date touches the message";
            if (firstMessageStart < 0) firstMessageStart = messageStart;
            EXPECT_EQ(messageStart, firstMessageStart) << "the messages are not aligned";
        }
    }
}

namespace {
// What a restarting Explorer does to the icons it held.
void ForgetTrayIcon(HWND window) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 130;
    Shell_NotifyIconA(NIM_DELETE, &data);
}

BOOL WINAPI RefuseIcon(DWORD, PNOTIFYICONDATAA) { return FALSE; }

// Popup menus this thread has shown, closed as soon as they are seen.
std::vector<RECT> menusSeen;

// Runs inside the menu's own loop, which dispatches the thread's timers.
void CALLBACK CloseMenus(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = WaitForWindow(GetCurrentProcessId(), "#32768", 0);
    RECT rect;
    if (menu == nullptr || !GetWindowRect(menu, &rect)) return;
    menusSeen.push_back(rect);
    EndMenu();
}

// The message boxes of this process, answered "Yes" one after another; each
// is left open a moment so that anything opened over it would be seen.
struct BoxAnswerer {
    int answered = 0;
    int mostOpenAtOnce = 0;
};

DWORD WINAPI AnswerBoxes(LPVOID data) {
    BoxAnswerer* run = static_cast<BoxAnswerer*>(data);
    DWORD start = GetTickCount();
    while (run->answered < 2 && GetTickCount() - start < 20000) {
        HWND box = WaitForMessageBox(GetCurrentProcessId(), 500);
        if (box == nullptr) continue;
        // The day timer, the tray menu or a dialog asks for a rebuild now.
        if (run->answered == 0) PostMessageA(mainWindow, WM_COMMAND, CMD_RELOAD_LIST, 0);
        Sleep(500);
        int open = 0;
        for (HWND other = nullptr; (other = FindWindowExA(nullptr, other, "#32770", nullptr)) != nullptr;) {
            DWORD process = 0;
            GetWindowThreadProcessId(other, &process);
            open += process == GetCurrentProcessId() && IsWindowVisible(other);
        }
        if (open > run->mostOpenAtOnce) run->mostOpenAtOnce = open;
        PressButton(box, IDYES);
        WaitUntil([&] { return !IsWindow(box); }, 3000);
        ++run->answered;
    }
    return 0;
}
}  // namespace

TEST_F(MainWindow, TrayIconComesBackAndClosingNeverStrandsTheWindow) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    ASSERT_TRUE(HasTrayIcon(window));
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ForgetTrayIcon(window);
    Send(taskbarCreated, 0);
    EXPECT_TRUE(HasTrayIcon(window)) << "added again when Explorer's taskbar is back";
    Send(taskbarCreated, 0);
    EXPECT_TRUE(HasTrayIcon(window)) << "an icon still there is no failure";

    // A taskbar that takes no icon yet: closing minimises instead of hiding.
    ForgetTrayIcon(window);
    notifyIcon = RefuseIcon;
    Send(taskbarCreated, 0);
    Send(WM_CLOSE, 0);
    EXPECT_TRUE(IsWindowVisible(window) && IsIconic(window));
    notifyIcon = Shell_NotifyIconA;
    Send(WM_TIMER, TIMER_TRAY_RETRY);
    EXPECT_TRUE(HasTrayIcon(window)) << "a later try succeeds";
    ShowWindow(window, SW_RESTORE);
    Send(WM_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(window)) << "with the icon there, closing hides the window";
    Send(MSG_TRAY_ICON, NIM_DELETE);  // as when the preferences turn it off
    EXPECT_FALSE(HasTrayIcon(window));
}

// Windows ends the process after WM_ENDSESSION; no WM_DESTROY follows.
TEST_F(MainWindow, EndOfSessionSavesThePreferencesOnce) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    SetWindowPos(window, nullptr, 312, 208, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    std::remove(kPrefsFileName);
    Send(WM_ENDSESSION, FALSE);
    EXPECT_FALSE(FileExists(kPrefsFileName)) << "the session goes on";
    Send(WM_ENDSESSION, TRUE);
    const std::string line = PrefsDataLine(ReadFileBytes(kPrefsFileName));
    EXPECT_EQ(line.rfind("10 3 1 1 0 0 1 1 312 208 600 ", 0), 0u) << line;
    std::remove(kPrefsFileName);
    Send(WM_ENDSESSION, TRUE);
    Send(WM_DESTROY, 0);
    EXPECT_FALSE(FileExists(kPrefsFileName)) << "saved once";
}

// The saved place and width come back; a place on no screen and a width
// nobody can use do not.
TEST_F(MainWindow, PlaceAndWidthComeBackOnlyWhereTheyCanBeUsed) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    MoveWindow(window, 320, 240, 640, 200, TRUE);
    ShowWindow(window, SW_MINIMIZE);
    Pump();
    ASSERT_EQ(SaveMainWindowPrefs(), 1);
    CloseMainWindow();
    prefs = DefaultPrefs();
    ASSERT_EQ(LoadPrefs(), 1);
    RECT frame;
    GetWindowRect(StartMainWindow(), &frame);
    EXPECT_EQ(frame.left, 320);
    EXPECT_EQ(frame.top, 240);
    EXPECT_EQ(frame.right - frame.left, 640);

    CloseMainWindow();
    prefs.windowX = 3000;  // a screen that has been unplugged
    prefs.windowWidth = 90;
    GetWindowRect(StartMainWindow(), &frame);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_LE(std::abs(frame.left - (desktop.right - frame.right)), 8) << "centred as with keepPosition off";
    EXPECT_LT(frame.top, desktop.bottom / 4);
    EXPECT_EQ(frame.right - frame.left, 600);
}

// A rebuild's message box runs a modal loop; a rebuild posted meanwhile runs
// after it, not inside it on the half-built list.
TEST_F(MainWindow, ARebuildPostedDuringAMessageBoxWaitsForTheRunningOne) {
    WriteEvents({MakeDuty(15, 3, "Dziś")}, "31-Feb-2010 01Y 000 000 No such day\r\n");
    InterlockedExchange(&boxesExpected, 1);
    BoxAnswerer answers;
    HANDLE answerer = CreateThread(nullptr, 0, AnswerBoxes, &answers, 0, nullptr);
    const int builds = lastBuildCount;
    StartMainWindow();
    for (int i = 0; i < 100 && WaitForSingleObject(answerer, 0) == WAIT_TIMEOUT; ++i) Pump(50);
    ASSERT_EQ(WaitForSingleObject(answerer, 5000), WAIT_OBJECT_0);
    CloseHandle(answerer);
    Pump();
    EXPECT_EQ(answers.answered, 2);
    EXPECT_EQ(answers.mostOpenAtOnce, 1) << "the second rebuild ran inside the first one's box";
    EXPECT_EQ(lastBuildCount, builds + 2);
    EXPECT_EQ(RowsText(), "Dziś 0; ");
}

TEST_F(MainWindow, MessagesReachTheirOwnHandlersOnly) {
    WriteUsualEvents();
    HWND window = StartMainWindow();
    UINT_PTR closer = SetTimer(nullptr, 0, 200, CloseMenus);
    menusSeen.clear();
    RECT frame;
    GetWindowRect(window, &frame);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(frame.left + 60, frame.top + 8));
    EXPECT_EQ(menusSeen.size(), 1u) << "a right click on the title bar shows one menu";

    // Shift+F10 or the menu key, with the mouse far from the list.
    SetCursorPos(frame.right + 40, frame.bottom + 40);
    SendMessageA(listBox, LB_SETCURSEL, 2, 0);
    RECT row;
    SendMessageA(listBox, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(listBox, nullptr, reinterpret_cast<POINT*>(&row), 2);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(listBox), -1);
    KillTimer(nullptr, closer);
    ASSERT_EQ(menusSeen.size(), 2u);
    EXPECT_EQ(menusSeen[1].left, row.left);
    EXPECT_EQ(menusSeen[1].top, row.bottom) << "the keyboard's menu opens under the selected row";
    EXPECT_EQ(SendMessageA(listBox, LB_GETCURSEL, 0, 0), 2);

    // An accelerator's notification code is 1, as a list's LBN_SELCHANGE is.
    Send(WM_COMMAND, MAKEWPARAM(CMD_CLOSE, 1));
    EXPECT_FALSE(IsWindowVisible(window)) << "the accelerator's command ran";
}
