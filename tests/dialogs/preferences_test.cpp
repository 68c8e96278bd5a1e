// The Preferences dialog on a thread of its own, driven as a user would:
// buttons clicked, edits typed into, the choosers and message boxes it opens
// answered. The main window is a stand-in at (100, 120), 500 pixels wide,
// that records the commands posted to it; files go to a scratch directory.
#include "dialogs/preferences.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/colours.h"
#include "app/commands.h"
#include "app/list_drawing.h"
#include "app/state.h"
#include "app/win_state.h"
#include "resources/preferences_ids.h"
#include "storage/prefs_file.h"
#include "tests/canvas.h"
#include "tests/modal_run.h"
#include "tests/scratch_dir.h"

namespace {
// Controls of the Windows colour and font choosers.
constexpr int kChooserRed = 706, kChooserAddCustom = 712, kChooserCustomArea = 721;
constexpr int kFontFaces = 1136, kFontSizes = 1138;

const int kColourButtons[] = {IDC_PREFS_BACKGROUND, IDC_PREFS_PAST_DAYS, IDC_PREFS_TODAY,
                              IDC_PREFS_FUTURE_DAYS};
const int kOtherButtons[] = {IDOK, IDCANCEL, IDC_PREFS_DEFAULT, IDC_PREFS_FONT};
const uint32_t kDeepBlueSea = Rgb(0x10, 0x10, 0x40);
const uint32_t kUserBackground = Rgb(10, 200, 30);

std::vector<int> postedCommands;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) postedCommands.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
std::string Text(HWND dialog, int id) { return WindowText(Item(dialog, id)); }
bool Checked(HWND dialog, int id) { return SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// For controls that open nothing: returns once the click is handled.
void Click(HWND dialog, int id) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(Item(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &ignored);
}

// For buttons that open a modal window or end the dialog.
void Press(HWND dialog, int id) { PostMessageA(Item(dialog, id), BM_CLICK, 0, 0); }

HWND Opened(const ModalRun& run, HWND dialog, int button) {
    Press(dialog, button);
    return run.OpenedOver(dialog);
}

template <typename Condition>
bool Soon(Condition condition) {
    return WaitUntil(condition, 3000);
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// The preview's bottom right corner, where no sample text reaches.
COLORREF PreviewBackground(HWND dialog) {
    RECT area;
    GetClientRect(Item(dialog, IDC_PREFS_PREVIEW), &area);
    return ScreenPixel(Item(dialog, IDC_PREFS_PREVIEW), area.right - 3, area.bottom - 3);
}

bool ShowsBackground(HWND dialog, uint32_t colour) {
    return Soon([&] { return PreviewBackground(dialog) == colour; });
}

bool ShowsFont(HWND dialog, const std::string& text) {
    return Soon([&] { return Text(dialog, IDC_PREFS_FONT_TEXT) == text; });
}

// The preview's pixels along its first row; empty while only the background shows.
std::string FirstRowPixels(HWND dialog) {
    HWND preview = Item(dialog, IDC_PREFS_PREVIEW);
    COLORREF background = PreviewBackground(dialog);
    std::string pixels;
    bool drawn = false;
    for (int x = 0; x < 300; ++x) {
        COLORREF colour = ScreenPixel(preview, x, 8);
        drawn = drawn || colour != background;
        pixels += std::to_string(colour) + ",";
    }
    return drawn ? pixels : "";
}

// Whether the colour buttons, and the other buttons, come to be enabled as said.
bool ButtonsEnabled(HWND dialog, bool colour, bool others) {
    return Soon([&] {
        for (int id : kColourButtons)
            if ((IsWindowEnabled(Item(dialog, id)) != FALSE) != colour) return false;
        for (int id : kOtherButtons)
            if ((IsWindowEnabled(Item(dialog, id)) != FALSE) != others) return false;
        return true;
    });
}

// Picks a face and a size in the open font chooser as its lists report a choice.
void PickFont(HWND chooser, const char* face, const char* size) {
    for (auto pick : {std::make_pair(kFontFaces, face), std::make_pair(kFontSizes, size)}) {
        HWND list = GetDlgItem(chooser, pick.first);
        SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pick.second));
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(pick.first, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
}

// The picture is taken once the rows are drawn over the repainted preview.
void Picture(HWND dialog, const std::string& name) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    CreateDirectoryA(BesideDriver("screenshots").c_str(), nullptr);
    EXPECT_TRUE(SaveWindowPicture(dialog, BesideDriver(("screenshots\\" + name + ".bmp").c_str())));
}

INT_PTR ShowPreferences() { return RunPreferences(nullptr); }

class PreferencesDialog : public testing::Test {
protected:
    void SetUp() override {
        appInstance = GetModuleHandleA(nullptr);
        prefs = DefaultPrefs();
        ApplyDefaultListFont(&prefs.listFont);
        prefs.userBackground = static_cast<int32_t>(kUserBackground);
        listFontHandle = CreateListFont(prefs.listFont);
        dayFirst = 1;
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordCommands;
        windowClass.hInstance = appInstance;
        windowClass.lpszClassName = "PreferencesTestMain";
        RegisterClassA(&windowClass);
        mainWindow = CreateWindowExA(0, "PreferencesTestMain", "", WS_OVERLAPPEDWINDOW, 100, 120, 500, 200,
                                     nullptr, nullptr, appInstance, nullptr);
        postedCommands.clear();
    }
    void TearDown() override {
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        DeleteObject(listFontHandle);
        listFontHandle = nullptr;
    }
    std::vector<int> Posted() {
        PumpMessages(50);
        return postedCommands;
    }

    ScratchDir dir_;
};
}  // namespace

TEST_F(PreferencesDialog, OpensOnThePreferencesAndCancelLeavesThemAlone) {
    prefs.colourScheme = 9;  // not a scheme: the first is taken
    prefs.warnDaysBefore = 12;
    prefs.warnDaysAfter = 0;
    prefs.keepWidth = 0;
    prefs.hideMenuBar = 1;
    Prefs before = prefs;
    HFONT font = listFontHandle;
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_BEFORE) + "/" + Text(dialog, IDC_PREFS_DAYS_AFTER), "12/0");
    EXPECT_EQ(SendMessageA(Item(dialog, IDC_PREFS_DAYS_AFTER), EM_GETLIMITTEXT, 0, 0), 3);
    const std::pair<int, bool> boxes[] = {
        {IDC_PREFS_KEEP_WIDTH, false}, {IDC_PREFS_KEEP_POSITION, true}, {IDC_PREFS_ON_TOP, false},
        {IDC_PREFS_HIDE_MENU, true},   {IDC_PREFS_WEEKDAY, false},      {IDC_PREFS_SCHEME_BLUE, true},
    };
    for (const auto& box : boxes) EXPECT_EQ(Checked(dialog, box.first), box.second) << box.first;
    EXPECT_TRUE(ButtonsEnabled(dialog, false, true));
    EXPECT_TRUE(ShowsBackground(dialog, kDeepBlueSea));
    EXPECT_TRUE(ShowsFont(dialog, " Comic Sans MS, 11 pt ")) << Text(dialog, IDC_PREFS_FONT_TEXT);

    for (int id : {IDC_PREFS_ON_TOP, IDC_PREFS_SCHEME_USER, IDC_PREFS_WEEKDAY}) Click(dialog, id);
    SetDlgItemTextA(dialog, IDC_PREFS_DAYS_BEFORE, "100");
    Press(dialog, IDCANCEL);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(run.Result(), 2);
    EXPECT_EQ(std::memcmp(&prefs, &before, sizeof prefs), 0);
    EXPECT_EQ(listFontHandle, font);
    EXPECT_FALSE(FileExists(kPrefsFileName));
    EXPECT_TRUE(Posted().empty());
}

// Also the pictures of the dialog in every scheme and with the weekday.
TEST_F(PreferencesDialog, EachSchemeColoursThePreviewAndOnlyTheUsersHasColourButtons) {
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    const uint32_t backgrounds[kSchemeCount] = {kDeepBlueSea, Rgb(0xFF, 0xFF, 0x00), Rgb(0xCC, 0xFF, 0xFF),
                                                Rgb(0, 0, 0), kUserBackground};
    for (int scheme : {3, 4, 1, 0, 2}) {
        Click(dialog, IDC_PREFS_SCHEME_BLUE + 10 * scheme);
        EXPECT_TRUE(ShowsBackground(dialog, backgrounds[scheme])) << scheme;
        EXPECT_TRUE(ButtonsEnabled(dialog, scheme == kUserScheme, true)) << scheme;
        Picture(dialog, "preferences-scheme-" + std::to_string(scheme));
    }
    std::string withoutWeekday;
    ASSERT_TRUE(Soon([&] { return !(withoutWeekday = FirstRowPixels(dialog)).empty(); }));
    Click(dialog, IDC_PREFS_WEEKDAY);
    EXPECT_TRUE(Soon([&] {
        std::string row = FirstRowPixels(dialog);
        return !row.empty() && row != withoutWeekday;
    })) << "the weekday shows in the preview at once";
    Picture(dialog, "preferences-weekday");
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(run.Wait());
}

TEST_F(PreferencesDialog, ApplyRefusesLimitsOfNothingAndOverHalfAYear) {
    const char* kNothing = "Invalid warning limits: at least one limit must be greater than zero!";
    const char* kTooMany =
        "Invalid warning limits: the number of days cannot be greater than 182 (half a year)!";
    struct Case {
        const char* before;
        const char* after;
        const char* refusal;  // null when accepted
        int focus;
    } const cases[] = {
        {"0", "0", kNothing, IDC_PREFS_DAYS_BEFORE},
        {"", "", kNothing, IDC_PREFS_DAYS_BEFORE},
        {"183", "5", kTooMany, IDC_PREFS_DAYS_BEFORE},
        {"5", "183", kTooMany, IDC_PREFS_DAYS_AFTER},
        {"183", "999", kTooMany, IDC_PREFS_DAYS_BEFORE},
        {"0", "5", nullptr, 0},
        {"182", "182", nullptr, 0},
        {"", "7", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " before, " + c.after + " after");
        prefs.warnDaysBefore = prefs.warnDaysAfter = 44;
        ModalRun run(ShowPreferences);
        HWND dialog = run.Active();
        ASSERT_NE(dialog, nullptr);
        SetDlgItemTextA(dialog, IDC_PREFS_DAYS_BEFORE, c.before);
        SetDlgItemTextA(dialog, IDC_PREFS_DAYS_AFTER, c.after);
        if (c.refusal == nullptr) {
            Press(dialog, IDOK);
            ASSERT_TRUE(run.Wait());
            EXPECT_EQ(run.Result(), 1);
            EXPECT_EQ(prefs.warnDaysBefore, std::atoi(c.before));
            EXPECT_EQ(prefs.warnDaysAfter, std::atoi(c.after));
            continue;
        }
        HWND box = Opened(run, dialog, IDOK);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxCaption(box), "Error");
        EXPECT_EQ(MessageBoxText(box), c.refusal);
        PressButton(box, IDOK);
        EXPECT_TRUE(Soon([&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(run.ThreadId(), &info) && info.hwndFocus == Item(dialog, c.focus);
        }));
        EXPECT_FALSE(run.Wait(100)) << "the dialog stays open";
        EXPECT_EQ(prefs.warnDaysBefore, 44);
        Press(dialog, IDCANCEL);
        EXPECT_TRUE(run.Wait());
    }
}

TEST_F(PreferencesDialog, ApplyStoresEverySettingSavesThemAndAsksForARebuild) {
    HFONT oldFont = listFontHandle;
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    for (int id :
         {IDC_PREFS_KEEP_WIDTH, IDC_PREFS_KEEP_POSITION, IDC_PREFS_ON_TOP, IDC_PREFS_HIDE_MENU,
          IDC_PREFS_TRAY_ICON, IDC_PREFS_START_WITH_SYSTEM, IDC_PREFS_WEEKDAY, IDC_PREFS_SCHEME_DARK}) {
        Click(dialog, id);
    }
    SetDlgItemTextA(dialog, IDC_PREFS_DAYS_BEFORE, "7");
    SetDlgItemTextA(dialog, IDC_PREFS_DAYS_AFTER, "2");
    Press(dialog, IDOK);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(run.Result(), 1);
    // Limits, the six window options, the main window's place, the scheme,
    // the user colours, the weekday and the font.
    EXPECT_EQ(
        ReadFileBytes(kPrefsFileName).substr(ReadFileBytes(kPrefsFileName).rfind('\n') + 1),
        "7 2 0 0 1 1 0 0 100 120 500 3 2017290 208 0 32768 1 -14 0 0 0 0 0 0 0 0 0 0 0 0 'Comic Sans MS'");
    EXPECT_EQ(Posted(), std::vector<int>{CMD_RELOAD_LIST});
    EXPECT_NE(listFontHandle, nullptr);
    EXPECT_EQ(GetObjectType(oldFont), 0u) << "the font replaced is released";
}

TEST_F(PreferencesDialog, DefaultAsksFirstAndKeepsTheUserColours) {
    prefs.colourScheme = kUserScheme;
    prefs.warnDaysBefore = 50;
    prefs.alwaysOnTop = 1;
    prefs.showTrayIcon = 0;
    prefs.showWeekday = 1;
    std::strcpy(prefs.listFont.faceName, "Tahoma");
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    HWND box = Opened(run, dialog, IDC_PREFS_DEFAULT);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxCaption(box), "Warning");
    EXPECT_EQ(MessageBoxText(box), "Preferences will be set to their default values.\n\nAre you sure?");
    PressButton(box, IDNO);
    ASSERT_TRUE(Soon([&] { return run.Active(0) == dialog; }));
    EXPECT_TRUE(Checked(dialog, IDC_PREFS_SCHEME_USER));
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_BEFORE), "50");

    box = Opened(run, dialog, IDC_PREFS_DEFAULT);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    EXPECT_TRUE(ButtonsEnabled(dialog, false, true));
    EXPECT_TRUE(Checked(dialog, IDC_PREFS_SCHEME_BLUE));
    EXPECT_FALSE(Checked(dialog, IDC_PREFS_SCHEME_USER));
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_BEFORE) + "/" + Text(dialog, IDC_PREFS_DAYS_AFTER), "10/3");
    for (int id :
         {IDC_PREFS_KEEP_WIDTH, IDC_PREFS_KEEP_POSITION, IDC_PREFS_TRAY_ICON, IDC_PREFS_START_WITH_SYSTEM})
        EXPECT_TRUE(Checked(dialog, id)) << id;
    for (int id : {IDC_PREFS_ON_TOP, IDC_PREFS_HIDE_MENU, IDC_PREFS_WEEKDAY})
        EXPECT_FALSE(Checked(dialog, id)) << id;
    EXPECT_TRUE(ShowsBackground(dialog, kDeepBlueSea));
    EXPECT_TRUE(ShowsFont(dialog, " Comic Sans MS, 11 pt "));

    Click(dialog, IDC_PREFS_SCHEME_USER);
    EXPECT_TRUE(ShowsBackground(dialog, kUserBackground)) << "the user colours come back";
    EXPECT_TRUE(ButtonsEnabled(dialog, true, true));
    Press(dialog, IDOK);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(prefs.userBackground, static_cast<int32_t>(kUserBackground));
    EXPECT_EQ(prefs.showTrayIcon, 1);
    EXPECT_STREQ(prefs.listFont.faceName, "Comic Sans MS");
}

// The chooser starts on the colour of the button's role; only OK changes it,
// and the custom colours are offered again at the next opening.
TEST_F(PreferencesDialog, ColourChooserSetsTheUserColourOfItsRole) {
    prefs.colourScheme = kUserScheme;
    for (int opening = 1; opening <= 2; ++opening) {
        ModalRun run(ShowPreferences);
        HWND dialog = run.Active();
        ASSERT_NE(dialog, nullptr);
        HWND chooser = Opened(run, dialog, opening == 1 ? IDC_PREFS_PAST_DAYS : IDC_PREFS_BACKGROUND);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(ButtonsEnabled(dialog, false, false)) << "while the chooser is open";
        if (opening == 1) {
            EXPECT_EQ(Text(chooser, kChooserRed), "208");
            for (int i = 0; i < 3; ++i) SetDlgItemInt(chooser, kChooserRed + i, 12 + 22 * i, FALSE);
            PressButton(chooser, kChooserAddCustom);
            PressButton(chooser, IDOK);
        } else {
            HWND custom = GetDlgItem(chooser, kChooserCustomArea);  // two rows of eight boxes
            RECT area;
            GetClientRect(custom, &area);
            EXPECT_TRUE(Soon(
                [&] { return ScreenPixel(custom, area.right / 16, area.bottom / 4) == Rgb(12, 34, 56); }));
            SetDlgItemInt(chooser, kChooserRed, 99, FALSE);
            PressButton(chooser, IDCANCEL);
        }
        EXPECT_TRUE(ButtonsEnabled(dialog, true, true));
        Press(dialog, IDOK);
        ASSERT_TRUE(run.Wait());
        EXPECT_EQ(prefs.userPastDays, static_cast<int32_t>(Rgb(12, 34, 56)));
        EXPECT_EQ(prefs.userBackground, static_cast<int32_t>(kUserBackground));
    }
}

TEST_F(PreferencesDialog, CancelledFontChooserGoesBackToTheListFont) {
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    for (const char* size : {"20", "16", "28"}) {
        HWND chooser = Opened(run, dialog, IDC_PREFS_FONT);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(ButtonsEnabled(dialog, false, false));
        PickFont(chooser, "Tahoma", size);
        bool cancel = std::strcmp(size, "28") == 0;
        PressButton(chooser, cancel ? IDCANCEL : IDOK);
        std::string shown = cancel ? " Comic Sans MS, 11 pt " : std::string(" Tahoma, ") + size + " pt ";
        EXPECT_TRUE(ShowsFont(dialog, shown)) << Text(dialog, IDC_PREFS_FONT_TEXT);
        EXPECT_TRUE(ButtonsEnabled(dialog, false, true));
    }
    Press(dialog, IDOK);
    ASSERT_TRUE(run.Wait());
    EXPECT_STREQ(prefs.listFont.faceName, "Comic Sans MS");
    EXPECT_EQ(prefs.listFont.height, -14);
}

// Every label, check box, radio button and push button shows its text whole.
TEST_F(PreferencesDialog, EveryTextFitsItsControl) {
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(control, className, sizeof className);
        std::string text = WindowText(control);
        while (!text.empty() && text.back() == ' ') text.pop_back();
        bool button = std::strcmp(className, "Button") == 0;
        if (text.empty() || (!button && std::strcmp(className, "Static") != 0)) continue;
        // Room a control needs besides its text: the box, the frame, the edges.
        LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
        int extra = !button ? 0
                    : type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON
                        ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                    : type == BS_GROUPBOX ? 16
                                          : 6;
        wchar_t wide[128];
        int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 128) - 1;
        HDC dc = GetDC(control);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        RECT needed = {0, 0, 0, 0};
        DrawTextW(dc, wide, length, &needed, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
        RECT client;
        GetClientRect(control, &client);
        EXPECT_LE(needed.right + extra, client.right) << text;
    }
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(run.Wait());
}

// Smoothed text edges are darker shades of the row's colour: pure red, green
// and blue rows on black each light one channel only.
TEST(PreferencesPreview, RowsInTheirColoursWeekdayWideningAndClippedAtTheBottom) {
    dayFirst = 1;
    Prefs defaults = DefaultPrefs();
    ApplyDefaultListFont(&defaults.listFont);
    HFONT font = CreateListFont(defaults.listFont);
    Canvas canvas(800, 300);
    SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TEXTMETRICA metrics;
    GetTextMetricsA(canvas.dc(), &metrics);
    const int h = metrics.tmHeight + metrics.tmExternalLeading;
    const COLORREF past = Rgb(255, 0, 0), today = Rgb(0, 255, 0), future = Rgb(0, 0, 255);

    RECT area = {0, 0, 800, 6 * h};
    DrawPreviewRows(canvas.dc(), area, past, today, future, false);
    for (int row = 0; row < 6; ++row) {
        COLORREF colour = row < 2 ? past : row == 2 ? today : future;
        EXPECT_GT(canvas.Count(row * h, (row + 1) * h, colour), 0) << row;
        EXPECT_EQ(canvas.Count(row * h, (row + 1) * h, 0xFFFFFF & ~colour), 0) << row;
    }
    int messageEnd = canvas.RightmostInk(0, h);
    canvas.Clear();
    DrawPreviewRows(canvas.dc(), area, past, today, future, true);
    EXPECT_GT(canvas.RightmostInk(0, h), messageEnd) << "the weekday moves the message right";

    canvas.Clear();
    area.bottom = 2 * h + h / 2;
    DrawPreviewRows(canvas.dc(), area, past, today, future, false);
    EXPECT_GT(canvas.Count(2 * h, area.bottom, today), 0) << "the third row's upper half";
    EXPECT_EQ(canvas.Count(area.bottom, 300, 0xFFFFFF), 0);
    DeleteObject(font);
}
