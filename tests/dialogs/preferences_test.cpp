// The Preferences dialog driven as a user would: buttons clicked, edits typed
// into, the choosers and message boxes it opens answered. The main window is
// a stand-in at (100, 120), 500 pixels wide, that records the commands posted
// to it.
#include "dialogs/preferences.h"

#include <cstring>
#include <vector>

#include "app/colours.h"
#include "app/commands.h"
#include "resources/preferences_ids.h"
#include "storage/prefs_file.h"
#include "tests/canvas.h"
#include "tests/dialogs/fixture.h"

namespace {
// Controls of the Windows colour and font choosers.
constexpr int kChooserRed = 706, kChooserAddCustom = 712, kChooserCustomArea = 721;
constexpr int kFontFaces = 1136, kFontSizes = 1138;
const uint32_t kDeepBlueSea = Rgb(0x10, 0x10, 0x40), kUserBackground = Rgb(10, 200, 30);
const char* const kDefaultFont = " Comic Sans MS, 11 pt ";

std::vector<int> postedCommands;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) postedCommands.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

class PreferencesDialog : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        prefs.userBackground = static_cast<int32_t>(kUserBackground);
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
        DialogTest::TearDown();
        DestroyWindow(mainWindow);
        mainWindow = nullptr;
    }
    HWND OpenPreferences() {
        return Open([] { return RunPreferences(nullptr); });
    }
    std::vector<int> Posted() {
        PumpMessages(50);
        return postedCommands;
    }
    // Presses `button` and returns what it opens.
    HWND Opened(int button) {
        Post(button);
        return run_->OpenedOver(dialog_);
    }
    // Whether the preview's bottom right corner, where no sample text
    // reaches, comes to show `colour`.
    bool ShowsBackground(uint32_t colour) const {
        RECT area;
        GetClientRect(Item(IDC_PREFS_PREVIEW), &area);
        return WaitUntil(
            [&] { return ScreenPixel(Item(IDC_PREFS_PREVIEW), area.right - 3, area.bottom - 3) == colour; },
            3000);
    }
    bool ShowsFont(const std::string& text) const {
        return WaitUntil([&] { return Text(IDC_PREFS_FONT_TEXT) == text; }, 3000);
    }
    // Whether the colour buttons, and the other buttons, come to be enabled as said.
    bool ButtonsEnabled(bool colour, bool others) const {
        return WaitUntil(
            [&] {
                for (int id :
                     {IDC_PREFS_BACKGROUND, IDC_PREFS_PAST_DAYS, IDC_PREFS_TODAY, IDC_PREFS_FUTURE_DAYS})
                    if (Enabled(id) != colour) return false;
                for (int id : {IDOK, IDCANCEL, IDC_PREFS_DEFAULT, IDC_PREFS_FONT})
                    if (Enabled(id) != others) return false;
                return true;
            },
            3000);
    }
};
}  // namespace

// Also every text shown whole, and the pictures of the dialog in every scheme
// and with the weekday.
TEST_F(PreferencesDialog, OpensOnThePreferencesAndCancelLeavesThemAlone) {
    prefs.colourScheme = 9;  // not a scheme: the first is taken
    prefs.warnDaysBefore = 12;
    prefs.warnDaysAfter = 0;
    prefs.keepWidth = 0;
    prefs.hideMenuBar = 1;
    const Prefs before = prefs;
    const HFONT font = listFontHandle;
    ASSERT_NE(OpenPreferences(), nullptr);
    EXPECT_EQ(ClippedTexts(dialog_), "");
    EXPECT_EQ(Text(IDC_PREFS_DAYS_BEFORE) + "/" + Text(IDC_PREFS_DAYS_AFTER), "12/0");
    EXPECT_EQ(SendMessageA(Item(IDC_PREFS_DAYS_AFTER), EM_GETLIMITTEXT, 0, 0), 3);
    const std::pair<int, bool> boxes[] = {
        {IDC_PREFS_KEEP_WIDTH, false}, {IDC_PREFS_KEEP_POSITION, true}, {IDC_PREFS_ON_TOP, false},
        {IDC_PREFS_HIDE_MENU, true},   {IDC_PREFS_WEEKDAY, false},      {IDC_PREFS_SCHEME_BLUE, true},
    };
    for (const auto& box : boxes) EXPECT_EQ(Checked(box.first), box.second) << box.first;
    EXPECT_TRUE(ShowsFont(kDefaultFont)) << Text(IDC_PREFS_FONT_TEXT);

    const uint32_t backgrounds[kSchemeCount] = {kDeepBlueSea, Rgb(0xFF, 0xFF, 0x00), Rgb(0xCC, 0xFF, 0xFF),
                                                Rgb(0, 0, 0), kUserBackground};
    for (int scheme : {3, 4, 1, 2, 0}) {
        Click(IDC_PREFS_SCHEME_BLUE + 10 * scheme);
        EXPECT_TRUE(ShowsBackground(backgrounds[scheme])) << scheme;
        EXPECT_TRUE(ButtonsEnabled(scheme == kUserScheme, true)) << scheme;
        SaveShot(dialog_, ("preferences-scheme-" + std::to_string(scheme)).c_str());
    }
    Click(IDC_PREFS_WEEKDAY);
    SaveShot(dialog_, "preferences-weekday");
    Click(IDC_PREFS_ON_TOP);
    SetDlgItemTextA(dialog_, IDC_PREFS_DAYS_BEFORE, "100");
    Post(IDCANCEL);
    ASSERT_TRUE(Ended(2));
    EXPECT_EQ(std::memcmp(&prefs, &before, sizeof prefs), 0);
    EXPECT_EQ(listFontHandle, font);
    EXPECT_FALSE(FileExists(kPrefsFileName));
    EXPECT_TRUE(Posted().empty());
}

TEST_F(PreferencesDialog, ApplyRefusesLimitsOfNothingAndOverHalfAYear) {
    ExpectLimitChecks(
        [&] {
            prefs.warnDaysBefore = prefs.warnDaysAfter = 44;
            return OpenPreferences();
        },
        IDC_PREFS_DAYS_BEFORE, IDC_PREFS_DAYS_AFTER,
        [] { return std::to_string(prefs.warnDaysBefore) + "/" + std::to_string(prefs.warnDaysAfter); });
}

// Default asks first, leaves the colour buttons disabled and keeps the user
// colours; Apply stores every setting, saves them and asks for a rebuild.
TEST_F(PreferencesDialog, ApplyAfterDefaultStoresEverySettingAndKeepsTheUserColours) {
    prefs.colourScheme = kUserScheme;
    prefs.warnDaysBefore = 50;
    prefs.alwaysOnTop = 1;
    prefs.showTrayIcon = 0;
    std::strcpy(prefs.listFont.faceName, "Tahoma");
    const HFONT oldFont = listFontHandle;
    ASSERT_NE(OpenPreferences(), nullptr);
    Post(IDC_PREFS_DEFAULT);
    EXPECT_EQ(Answer(IDNO), "Warning: Preferences will be set to their default values.\n\nAre you sure?");
    EXPECT_EQ(Text(IDC_PREFS_DAYS_BEFORE), "50");
    Post(IDC_PREFS_DEFAULT);
    Answer(IDYES);
    EXPECT_TRUE(ButtonsEnabled(false, true));
    EXPECT_TRUE(ShowsBackground(kDeepBlueSea));
    EXPECT_TRUE(ShowsFont(kDefaultFont));
    Click(IDC_PREFS_SCHEME_USER);
    EXPECT_TRUE(ShowsBackground(kUserBackground)) << "the user colours come back";

    for (int id :
         {IDC_PREFS_KEEP_WIDTH, IDC_PREFS_KEEP_POSITION, IDC_PREFS_ON_TOP, IDC_PREFS_HIDE_MENU,
          IDC_PREFS_TRAY_ICON, IDC_PREFS_START_WITH_SYSTEM, IDC_PREFS_WEEKDAY, IDC_PREFS_SCHEME_DARK})
        Click(id);
    SetDlgItemTextA(dialog_, IDC_PREFS_DAYS_BEFORE, "7");
    SetDlgItemTextA(dialog_, IDC_PREFS_DAYS_AFTER, "2");
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    // Limits, the six window options, the main window's place, the scheme,
    // the user colours, the weekday and the font.
    const std::string file = ReadFileBytes(kPrefsFileName);
    EXPECT_EQ(
        file.substr(file.rfind('\n') + 1),
        "7 2 0 0 1 1 0 0 100 120 500 3 2017290 208 0 32768 1 -14 0 0 0 0 0 0 0 0 0 0 0 0 'Comic Sans MS'");
    EXPECT_EQ(Posted(), std::vector<int>{CMD_RELOAD_LIST});
    EXPECT_NE(listFontHandle, nullptr);
    EXPECT_EQ(GetObjectType(oldFont), 0u) << "the font replaced is released";
}

// The colour chooser starts on the colour of the button's role and changes
// it on OK only, its custom colours kept for the run; the font chooser
// changes the font on OK only.
TEST_F(PreferencesDialog, ChoosersChangeOnlyWhatTheyAreToldTo) {
    prefs.colourScheme = kUserScheme;
    ASSERT_NE(OpenPreferences(), nullptr);
    HWND chooser = Opened(IDC_PREFS_PAST_DAYS);
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(ButtonsEnabled(false, false)) << "while the chooser is open";
    EXPECT_EQ(WindowText(GetDlgItem(chooser, kChooserRed)), "208");
    for (int i = 0; i < 3; ++i) SetDlgItemInt(chooser, kChooserRed + i, 12 + 22 * i, FALSE);
    PressButton(chooser, kChooserAddCustom);
    PressButton(chooser, IDOK);
    EXPECT_TRUE(ButtonsEnabled(true, true));
    for (const char* size : {"20", "28"}) {
        ASSERT_NE(chooser = Opened(IDC_PREFS_FONT), nullptr);
        for (auto pick : {std::make_pair(kFontFaces, "Tahoma"), std::make_pair(kFontSizes, size)}) {
            HWND list = GetDlgItem(chooser, pick.first);
            SendMessageA(list, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(pick.second));
            SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(pick.first, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        }
        const bool cancel = std::strcmp(size, "28") == 0;
        PressButton(chooser, cancel ? IDCANCEL : IDOK);
        EXPECT_TRUE(ShowsFont(cancel ? kDefaultFont : std::string(" Tahoma, ") + size + " pt "))
            << Text(IDC_PREFS_FONT_TEXT);
    }
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(prefs.userPastDays, static_cast<int32_t>(Rgb(12, 34, 56)));
    EXPECT_EQ(prefs.userBackground, static_cast<int32_t>(kUserBackground));
    EXPECT_STREQ(prefs.listFont.faceName, "Comic Sans MS");
    EXPECT_EQ(prefs.listFont.height, -14);

    // The next opening offers the custom colour added; a cancel keeps the colour.
    ASSERT_NE(OpenPreferences(), nullptr);
    ASSERT_NE(chooser = Opened(IDC_PREFS_BACKGROUND), nullptr);
    HWND custom = GetDlgItem(chooser, kChooserCustomArea);  // two rows of eight boxes
    RECT area;
    GetClientRect(custom, &area);
    EXPECT_TRUE(WaitUntil(
        [&] { return ScreenPixel(custom, area.right / 16, area.bottom / 4) == Rgb(12, 34, 56); }, 3000));
    SetDlgItemInt(chooser, kChooserRed, 99, FALSE);
    PressButton(chooser, IDCANCEL);
    EXPECT_TRUE(ButtonsEnabled(true, true));
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(prefs.userBackground, static_cast<int32_t>(kUserBackground));
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
