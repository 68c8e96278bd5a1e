// The Preferences dialog on a thread of its own, driven as a user would:
// buttons clicked, edits typed into, the choosers and message boxes it opens
// answered. The main window is a stand-in that records the commands posted
// to it; the preferences file goes to a scratch directory.
#include "dialogs/preferences.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
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
// The Windows colour chooser's edits and button, and the font chooser's lists.
constexpr int kChooserRed = 706;
constexpr int kChooserGreen = 707;
constexpr int kChooserBlue = 708;
constexpr int kChooserAddCustom = 712;
constexpr int kChooserCustomArea = 721;
constexpr int kFontFaces = 1136;
constexpr int kFontSizes = 1138;

const int kColourButtons[] = {IDC_PREFS_BACKGROUND, IDC_PREFS_PAST_DAYS, IDC_PREFS_TODAY,
                              IDC_PREFS_FUTURE_DAYS};
// Apply, Cancel, Default and the font button, enabled whenever no chooser is open.
const int kMainButtons[] = {IDOK, IDCANCEL, IDC_PREFS_DEFAULT, IDC_PREFS_FONT};

std::vector<int> postedCommands;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) postedCommands.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

// At (100, 120), 500 pixels wide, never shown.
HWND MakeStandInMainWindow() {
    static ATOM registered = 0;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecordCommands;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "PreferencesTestMain";
        registered = RegisterClassA(&windowClass);
    }
    return CreateWindowExA(0, "PreferencesTestMain", "", WS_OVERLAPPEDWINDOW, 100, 120, 500, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

// For controls that open nothing: returns once the click is handled.
void Click(HWND dialog, int id) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(Item(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &ignored);
}

// For buttons that open a modal window or end the dialog.
void Press(HWND dialog, int id) { PostMessageA(Item(dialog, id), BM_CLICK, 0, 0); }

bool Checked(HWND dialog, int id) { return SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string Text(HWND dialog, int id) { return WindowText(Item(dialog, id)); }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Item(dialog, id)) != FALSE; }

HWND Focus(const ModalRun& run) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(run.ThreadId(), &info);
    return info.hwndFocus;
}

// What the screen shows at a point of a window's client area.
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
    return WaitUntil([&] { return PreviewBackground(dialog) == colour; }, 3000);
}

bool ShowsFont(HWND dialog, const std::string& text) {
    return WaitUntil([&] { return Text(dialog, IDC_PREFS_FONT_TEXT) == text; }, 3000);
}

bool ColourButtonsEnabled(HWND dialog, bool on) {
    return WaitUntil(
        [&] {
            for (int id : kColourButtons) {
                if (Enabled(dialog, id) != on) return false;
            }
            return true;
        },
        3000);
}

// Whether every button of the dialog is disabled while a chooser is open.
bool AllButtonsDisabled(HWND dialog) {
    for (int id : kMainButtons) {
        if (Enabled(dialog, id)) return false;
    }
    return ColourButtonsEnabled(dialog, false);
}

bool MainButtonsEnabled(HWND dialog) {
    return WaitUntil(
        [&] {
            for (int id : kMainButtons) {
                if (!Enabled(dialog, id)) return false;
            }
            return true;
        },
        3000);
}

// Picks a font in the open font chooser the way its lists report a choice.
void PickFont(HWND chooser, const char* face, const char* size) {
    const int lists[] = {kFontFaces, kFontSizes};
    const char* texts[] = {face, size};
    for (int i = 0; i < 2; ++i) {
        HWND list = GetDlgItem(chooser, lists[i]);
        SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(texts[i]));
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(lists[i], CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
}

// Presses a button of the dialog and returns what it opened, or null.
HWND Opened(const ModalRun& run, HWND dialog, int button) {
    Press(dialog, button);
    return run.OpenedOver(dialog);
}

// Chooses a font through the font button; true once the dialog shows it.
bool ChooseListFont(const ModalRun& run, HWND dialog, const char* face, const char* size) {
    HWND chooser = Opened(run, dialog, IDC_PREFS_FONT);
    if (chooser == nullptr) return false;
    PickFont(chooser, face, size);
    PressButton(chooser, IDOK);
    return ShowsFont(dialog, std::string(" ") + face + ", " + size + " pt ");
}

void SetColour(HWND chooser, int red, int green, int blue) {
    SetDlgItemInt(chooser, kChooserRed, static_cast<UINT>(red), FALSE);
    SetDlgItemInt(chooser, kChooserGreen, static_cast<UINT>(green), FALSE);
    SetDlgItemInt(chooser, kChooserBlue, static_cast<UINT>(blue), FALSE);
}

// The picture is taken once the rows are drawn over the repainted preview.
void Picture(HWND dialog, const char* name) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    CreateDirectoryA(BesideDriver("screenshots").c_str(), nullptr);
    SaveWindowPicture(dialog, BesideDriver(("screenshots\\" + std::string(name) + ".bmp").c_str()));
}

class PreferencesDialog : public testing::Test {
protected:
    void SetUp() override {
        appInstance = GetModuleHandleA(nullptr);
        prefs = DefaultPrefs();
        ApplyDefaultListFont(&prefs.listFont);
        prefs.userBackground = static_cast<int32_t>(Rgb(10, 200, 30));
        listFontHandle = CreateListFont(prefs.listFont);
        dayFirst = 1;
        std::strcpy(languageCode, "pl");
        mainWindow = MakeStandInMainWindow();
        postedCommands.clear();
    }
    void TearDown() override {
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
        DeleteObject(listFontHandle);
        listFontHandle = nullptr;
    }
    // The commands posted to the main window so far.
    std::vector<int> Posted() {
        PumpMessages(50);
        return postedCommands;
    }

    ScratchDir dir_;
};

INT_PTR ShowPreferences() { return RunPreferences(nullptr); }
}  // namespace

TEST_F(PreferencesDialog, OpensOnThePreferencesWithAnUnknownSchemeAsTheFirst) {
    prefs.colourScheme = 9;
    prefs.warnDaysBefore = 12;
    prefs.warnDaysAfter = 0;
    prefs.keepWidth = 0;
    prefs.hideMenuBar = 1;
    prefs.showWeekday = 1;
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "Quillbee - Ustawienia");
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_BEFORE), "12");
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_AFTER), "0");
    for (int id : {IDC_PREFS_DAYS_BEFORE, IDC_PREFS_DAYS_AFTER}) {
        EXPECT_EQ(SendMessageA(Item(dialog, id), EM_GETLIMITTEXT, 0, 0), 3) << id;
    }
    const std::pair<int, bool> boxes[] = {
        {IDC_PREFS_KEEP_WIDTH, false}, {IDC_PREFS_KEEP_POSITION, true}, {IDC_PREFS_ON_TOP, false},
        {IDC_PREFS_HIDE_MENU, true},   {IDC_PREFS_TRAY_ICON, true},     {IDC_PREFS_START_WITH_SYSTEM, true},
        {IDC_PREFS_WEEKDAY, true},     {IDC_PREFS_SCHEME_BLUE, true},   {IDC_PREFS_SCHEME_USER, false},
    };
    for (const auto& box : boxes) EXPECT_EQ(Checked(dialog, box.first), box.second) << box.first;
    EXPECT_TRUE(ColourButtonsEnabled(dialog, false));
    EXPECT_TRUE(ShowsBackground(dialog, Rgb(0x10, 0x10, 0x40)));
    EXPECT_TRUE(ShowsFont(dialog, " Comic Sans MS, 11 pt ")) << Text(dialog, IDC_PREFS_FONT_TEXT);
    Press(dialog, IDCANCEL);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(run.Result(), 2);
}

// Also the pictures of the dialog in every scheme and with the weekday.
TEST_F(PreferencesDialog, EachSchemeColoursThePreviewAndOnlyTheUsersHasColourButtons) {
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    const uint32_t backgrounds[kSchemeCount] = {Rgb(0x10, 0x10, 0x40), Rgb(0xFF, 0xFF, 0x00),
                                                Rgb(0xCC, 0xFF, 0xFF), Rgb(0, 0, 0), Rgb(10, 200, 30)};
    for (int scheme : {3, 4, 1, 0, 2}) {
        Click(dialog, IDC_PREFS_SCHEME_BLUE + 10 * scheme);
        EXPECT_TRUE(ShowsBackground(dialog, backgrounds[scheme])) << scheme;
        EXPECT_TRUE(ColourButtonsEnabled(dialog, scheme == kUserScheme)) << scheme;
        char name[32];
        std::snprintf(name, sizeof name, "preferences-scheme-%d", scheme);
        Picture(dialog, name);
    }
    Click(dialog, IDC_PREFS_WEEKDAY);
    Picture(dialog, "preferences-weekday");
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(run.Wait());
}

TEST_F(PreferencesDialog, ApplyRefusesLimitsOfNothingAndOverHalfAYear) {
    struct Case {
        const char* before;
        const char* after;
        const char* refusal;  // the start of the message, or null when accepted
        int focus;
    };
    const char* kNothing = "Invalid warning limits: at least one limit must be greater than zero!";
    const char* kTooMany =
        "Invalid warning limits: the number of days cannot be greater than 182 (half a year)!";
    const Case cases[] = {
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
        Press(dialog, IDOK);
        if (c.refusal == nullptr) {
            ASSERT_TRUE(run.Wait());
            EXPECT_EQ(run.Result(), 1);
            EXPECT_EQ(prefs.warnDaysBefore, std::atoi(c.before));
            EXPECT_EQ(prefs.warnDaysAfter, std::atoi(c.after));
            continue;
        }
        HWND box = run.OpenedOver(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxCaption(box), "Error");
        EXPECT_EQ(MessageBoxText(box), c.refusal);
        PressButton(box, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return Focus(run) == Item(dialog, c.focus); }, 3000));
        EXPECT_FALSE(run.Wait(100)) << "the dialog stays open";
        EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_AFTER), c.after) << "the entries are kept";
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
    ASSERT_TRUE(ChooseListFont(run, dialog, "Tahoma", "20"));
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

    // Limits, the six window options, the main window's place, the scheme.
    std::string saved = ReadFileBytes(kPrefsFileName);
    EXPECT_NE(saved.find("\r\n7 2 0 0 1 1 0 0 100 120 500 3 2017290 208 0 32768 1 -27 "), std::string::npos)
        << saved;
    EXPECT_EQ(saved.substr(saved.size() - 9), " 'Tahoma'") << saved;
    EXPECT_EQ(prefs.showWeekday, 1);
    EXPECT_EQ(prefs.colourScheme, 3);
    EXPECT_EQ(Posted(), std::vector<int>{CMD_RELOAD_LIST});
    EXPECT_NE(listFontHandle, nullptr);
    EXPECT_EQ(GetObjectType(oldFont), 0u) << "the font replaced is released";
    LOGFONTA font;
    ASSERT_EQ(GetObjectA(listFontHandle, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "Tahoma");
    EXPECT_EQ(font.lfHeight, -27);
}

TEST_F(PreferencesDialog, CancelLeavesThePreferencesTheListFontAndTheFileAlone) {
    Prefs before = prefs;
    HFONT font = listFontHandle;
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_PREFS_ON_TOP);
    Click(dialog, IDC_PREFS_SCHEME_USER);
    Click(dialog, IDC_PREFS_WEEKDAY);
    SetDlgItemTextA(dialog, IDC_PREFS_DAYS_BEFORE, "100");
    ASSERT_TRUE(ChooseListFont(run, dialog, "Tahoma", "20"));
    Press(dialog, IDCANCEL);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(run.Result(), 2);
    EXPECT_EQ(std::memcmp(&prefs, &before, sizeof prefs), 0);
    EXPECT_EQ(listFontHandle, font);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_FALSE(FileExists(kPrefsFileName));
    EXPECT_TRUE(Posted().empty());
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
    ASSERT_TRUE(ShowsFont(dialog, " Tahoma, 11 pt "));

    HWND box = Opened(run, dialog, IDC_PREFS_DEFAULT);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxCaption(box), "Warning");
    EXPECT_EQ(MessageBoxText(box), "Preferences will be set to their default values.\n\nAre you sure?");
    PressButton(box, IDNO);
    ASSERT_TRUE(WaitUntil([&] { return run.Active(0) == dialog; }, 3000));
    EXPECT_TRUE(Checked(dialog, IDC_PREFS_SCHEME_USER));
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_BEFORE), "50");

    box = Opened(run, dialog, IDC_PREFS_DEFAULT);
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    EXPECT_TRUE(ColourButtonsEnabled(dialog, false));
    EXPECT_TRUE(Checked(dialog, IDC_PREFS_SCHEME_BLUE));
    EXPECT_FALSE(Checked(dialog, IDC_PREFS_SCHEME_USER));
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_BEFORE), "10");
    EXPECT_EQ(Text(dialog, IDC_PREFS_DAYS_AFTER), "3");
    const std::pair<int, bool> boxes[] = {
        {IDC_PREFS_KEEP_WIDTH, true}, {IDC_PREFS_KEEP_POSITION, true}, {IDC_PREFS_ON_TOP, false},
        {IDC_PREFS_HIDE_MENU, false}, {IDC_PREFS_TRAY_ICON, true},     {IDC_PREFS_START_WITH_SYSTEM, true},
        {IDC_PREFS_WEEKDAY, false},
    };
    for (const auto& b : boxes) EXPECT_EQ(Checked(dialog, b.first), b.second) << b.first;
    EXPECT_TRUE(ShowsBackground(dialog, Rgb(0x10, 0x10, 0x40)));
    EXPECT_TRUE(ShowsFont(dialog, " Comic Sans MS, 11 pt "));

    Click(dialog, IDC_PREFS_SCHEME_USER);
    EXPECT_TRUE(ShowsBackground(dialog, Rgb(10, 200, 30))) << "the user colours come back";
    EXPECT_TRUE(ColourButtonsEnabled(dialog, true));
    Press(dialog, IDOK);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(prefs.userBackground, static_cast<int32_t>(Rgb(10, 200, 30)));
    EXPECT_EQ(prefs.warnDaysBefore, 10);
    EXPECT_EQ(prefs.showTrayIcon, 1);
    EXPECT_STREQ(prefs.listFont.faceName, "Comic Sans MS");
}

// The chooser starts on the colour of the button's role; only OK changes it,
// and the custom colours are offered again at the next opening.
TEST_F(PreferencesDialog, ColourChooserSetsTheUserColoursOfItsRole) {
    prefs.colourScheme = kUserScheme;
    {
        ModalRun run(ShowPreferences);
        HWND dialog = run.Active();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(ColourButtonsEnabled(dialog, true));
        HWND chooser = Opened(run, dialog, IDC_PREFS_PAST_DAYS);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(AllButtonsDisabled(dialog));
        EXPECT_EQ(Text(chooser, kChooserRed) + " " + Text(chooser, kChooserGreen), "208 0");
        SetColour(chooser, 12, 34, 56);
        PressButton(chooser, kChooserAddCustom);
        PressButton(chooser, IDOK);
        EXPECT_TRUE(MainButtonsEnabled(dialog));
        EXPECT_TRUE(ColourButtonsEnabled(dialog, true));

        chooser = Opened(run, dialog, IDC_PREFS_BACKGROUND);
        ASSERT_NE(chooser, nullptr);
        SetColour(chooser, 1, 2, 3);
        PressButton(chooser, IDCANCEL);
        EXPECT_TRUE(MainButtonsEnabled(dialog));
        EXPECT_TRUE(ShowsBackground(dialog, Rgb(10, 200, 30)));
        Press(dialog, IDOK);
        ASSERT_TRUE(run.Wait());
    }
    EXPECT_EQ(prefs.userPastDays, static_cast<int32_t>(Rgb(12, 34, 56)));
    EXPECT_EQ(prefs.userBackground, static_cast<int32_t>(Rgb(10, 200, 30)));

    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    HWND chooser = Opened(run, dialog, IDC_PREFS_TODAY);
    ASSERT_NE(chooser, nullptr);
    // The first of the custom colour boxes, two rows of eight.
    HWND custom = GetDlgItem(chooser, kChooserCustomArea);
    RECT area;
    GetClientRect(custom, &area);
    EXPECT_TRUE(WaitUntil(
        [&] { return ScreenPixel(custom, area.right / 16, area.bottom / 4) == Rgb(12, 34, 56); }, 3000));
    PressButton(chooser, IDCANCEL);
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(run.Wait());
}

TEST_F(PreferencesDialog, CancelledFontChooserGoesBackToTheListFont) {
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    for (const char* size : {"20", "16"}) {
        HWND chooser = Opened(run, dialog, IDC_PREFS_FONT);
        ASSERT_NE(chooser, nullptr);
        EXPECT_TRUE(AllButtonsDisabled(dialog));
        PickFont(chooser, "Tahoma", size);
        PressButton(chooser, IDOK);
        EXPECT_TRUE(ShowsFont(dialog, std::string(" Tahoma, ") + size + " pt "))
            << Text(dialog, IDC_PREFS_FONT_TEXT);
        EXPECT_TRUE(MainButtonsEnabled(dialog));
    }
    HWND chooser = Opened(run, dialog, IDC_PREFS_FONT);
    ASSERT_NE(chooser, nullptr);
    PickFont(chooser, "Tahoma", "28");
    PressButton(chooser, IDCANCEL);
    EXPECT_TRUE(ShowsFont(dialog, " Comic Sans MS, 11 pt ")) << Text(dialog, IDC_PREFS_FONT_TEXT);
    EXPECT_TRUE(MainButtonsEnabled(dialog));
    Press(dialog, IDOK);
    ASSERT_TRUE(run.Wait());
    EXPECT_STREQ(prefs.listFont.faceName, "Comic Sans MS");
    EXPECT_EQ(prefs.listFont.height, -14);
}

// Every label, check box, radio button and push button shows its text whole
// in the dialog font.
TEST_F(PreferencesDialog, EveryTextFitsItsControl) {
    ModalRun run(ShowPreferences);
    HWND dialog = run.Active();
    ASSERT_NE(dialog, nullptr);
    struct Fit {
        static BOOL CALLBACK Check(HWND control, LPARAM) {
            char className[16] = "";
            GetClassNameA(control, className, sizeof className);
            std::string text = WindowText(control);
            while (!text.empty() && text.back() == ' ') text.pop_back();
            bool button = std::strcmp(className, "Button") == 0;
            if (text.empty() || (!button && std::strcmp(className, "Static") != 0)) return TRUE;
            // What a control needs besides its text.
            int extra = 0;
            if (button) {
                LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
                if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) {
                    extra = GetSystemMetrics(SM_CXMENUCHECK) + 4;
                } else if (type == BS_GROUPBOX) {
                    extra = 16;
                } else {
                    extra = 6;
                }
            }
            wchar_t wide[128];
            int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 128) - 1;
            HDC dc = GetDC(control);
            HGDIOBJ previous =
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
            RECT needed = {0, 0, 0, 0};
            DrawTextW(dc, wide, length, &needed, DT_CALCRECT | DT_SINGLELINE);
            SelectObject(dc, previous);
            ReleaseDC(control, dc);
            RECT client;
            GetClientRect(control, &client);
            EXPECT_LE(needed.right + extra, client.right) << text;
            return TRUE;
        }
    };
    EnumChildWindows(dialog, Fit::Check, 0);
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(run.Wait());
}

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
    // Smoothed edges are darker shades of the same colour: one channel each.
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
