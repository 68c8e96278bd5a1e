#include "dialogs/preferences.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "app/colours.h"
#include "app/commands.h"
#include "app/list_drawing.h"
#include "app/list_layout.h"
#include "app/load_str.h"
#include "app/main_window.h"
#include "app/platform.h"
#include "app/state.h"
#include "app/win_state.h"
#include "resources/preferences_ids.h"

namespace {
// The dialog's own commands.
constexpr int CMD_RELEASE_BRUSH = 32772;    // sent as the dialog ends
constexpr int CMD_DRAW_PREVIEW = 32774;     // posted by every repaint of the preview
constexpr int CMD_COLOUR_BUTTONS = 32776;   // the colour buttons serve the user's scheme only
constexpr int CMD_ENABLE_BUTTONS = 32777;   // a chooser has closed
constexpr int CMD_DISABLE_BUTTONS = 32778;  // a chooser is about to open

constexpr unsigned kMostDays = 182;  // half a year either way
constexpr int kSchemeIdStep = IDC_PREFS_SCHEME_NOTES - IDC_PREFS_SCHEME_BLUE;

// Offered again at every opening during the run; never saved.
COLORREF customColours[16];

// The working state of the open dialog; it is modal, so there is one.
ColourSchemeTable schemes;  // the dialog's own copy; row 4 holds the working user colours
int scheme = 0;
bool showWeekday = false;
LOGFONTA font;
HBRUSH previewBrush = nullptr;
CHOOSECOLORA colourRequest;

struct CheckBox {
    int id;
    int32_t Prefs::*field;
};
const CheckBox kCheckBoxes[] = {
    {IDC_PREFS_KEEP_WIDTH, &Prefs::keepWidth},   {IDC_PREFS_KEEP_POSITION, &Prefs::keepPosition},
    {IDC_PREFS_ON_TOP, &Prefs::alwaysOnTop},     {IDC_PREFS_HIDE_MENU, &Prefs::hideMenuBar},
    {IDC_PREFS_TRAY_ICON, &Prefs::showTrayIcon}, {IDC_PREFS_START_WITH_SYSTEM, &Prefs::startWithSystem},
    {IDC_PREFS_WEEKDAY, &Prefs::showWeekday},
};

const int kColourButtons[] = {IDC_PREFS_BACKGROUND, IDC_PREFS_PAST_DAYS, IDC_PREFS_TODAY,
                              IDC_PREFS_FUTURE_DAYS};

// String ids of a sample row of the preview.
struct SampleRow {
    int days;
    int day;
    int month;
    int weekday;
    int message;
};
constexpr int kSampleRows = 6;
const SampleRow kSamples[kSampleRows] = {
    {3000, 3010, 3020, 3025, 3030}, {3040, 3050, 3060, 3065, 3070}, {3080, 3090, 3100, 3105, 3110},
    {3120, 3130, 3140, 3145, 3150}, {3160, 3170, 3180, 3185, 3190}, {3200, 3210, 3220, 3125, 3230},
};

int Min(int a, int b) { return a < b ? a : b; }

void SampleDate(const SampleRow& row, bool weekday, char* out, size_t size) {
    char day[32], month[32], weekdayPart[48] = "";
    CopyText(day, LoadStr(row.day), sizeof day);
    CopyText(month, LoadStr(row.month), sizeof month);
    if (weekday) std::snprintf(weekdayPart, sizeof weekdayPart, " %s", LoadStr(row.weekday));
    if (dayFirst) {
        std::snprintf(out, size, "%s%c%s%s,", day, ' ', month, weekdayPart);
    } else {
        std::snprintf(out, size, "%s%c%s%s,", month, ' ', day, weekdayPart);
    }
}

void DrawCell(HDC dc, const char* text, int left, int top, int right, int bottom, UINT format) {
    if (left >= right || top >= bottom) return;
    RECT cell = {left, top, right, bottom};
    DrawUtf8Text(dc, text, &cell, format | DT_NOPREFIX);
}

HWND Preview(HWND dialog) { return GetDlgItem(dialog, IDC_PREFS_PREVIEW); }

void RepaintPreview(HWND dialog) { InvalidateRect(Preview(dialog), nullptr, TRUE); }

void Command(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }

uint32_t* UserColour(int buttonId) {
    switch (buttonId) {
        case IDC_PREFS_BACKGROUND:
            return &schemes.background[kUserScheme];
        case IDC_PREFS_PAST_DAYS:
            return &schemes.pastDays[kUserScheme];
        case IDC_PREFS_TODAY:
            return &schemes.today[kUserScheme];
        default:
            return &schemes.futureDays[kUserScheme];
    }
}

// The limits and the check boxes of `p`.
void ShowSettings(HWND dialog, const Prefs& p) {
    SetDlgItemInt(dialog, IDC_PREFS_DAYS_AFTER, static_cast<UINT>(p.warnDaysAfter), FALSE);
    SetDlgItemInt(dialog, IDC_PREFS_DAYS_BEFORE, static_cast<UINT>(p.warnDaysBefore), FALSE);
    for (const CheckBox& box : kCheckBoxes) {
        CheckDlgButton(dialog, box.id, p.*box.field ? BST_CHECKED : BST_UNCHECKED);
    }
}

void ShowScheme(HWND dialog) {
    CheckRadioButton(dialog, IDC_PREFS_SCHEME_BLUE, IDC_PREFS_SCHEME_USER,
                     IDC_PREFS_SCHEME_BLUE + kSchemeIdStep * scheme);
}

void EnableColourButtons(HWND dialog) {
    for (int id : kColourButtons) EnableWindow(GetDlgItem(dialog, id), scheme == kUserScheme);
}

void EnableButtons(HWND dialog, bool on) {
    const int ids[] = {IDOK, IDCANCEL, IDC_PREFS_DEFAULT, IDC_PREFS_FONT};
    for (int id : ids) EnableWindow(GetDlgItem(dialog, id), on);
    if (on) {
        Command(dialog, CMD_COLOUR_BUTTONS);
    } else {
        for (int id : kColourButtons) EnableWindow(GetDlgItem(dialog, id), FALSE);
    }
}

// Moves the focus as the dialog manager does: the default button follows and
// an edit's text is selected, ready to be typed over.
void FocusControl(HWND dialog, int id) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

void OnInitDialog(HWND dialog) {
    schemes = ColourScheme;
    schemes.background[kUserScheme] = static_cast<uint32_t>(prefs.userBackground);
    schemes.pastDays[kUserScheme] = static_cast<uint32_t>(prefs.userPastDays);
    schemes.today[kUserScheme] = static_cast<uint32_t>(prefs.userToday);
    schemes.futureDays[kUserScheme] = static_cast<uint32_t>(prefs.userFutureDays);

    SendDlgItemMessageA(dialog, IDC_PREFS_DAYS_AFTER, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(dialog, IDC_PREFS_DAYS_BEFORE, EM_LIMITTEXT, 3, 0);
    ShowSettings(dialog, prefs);
    showWeekday = prefs.showWeekday != 0;
    scheme = SchemeIndex(prefs.colourScheme);
    ShowScheme(dialog);
    if (listFontHandle != nullptr) {
        font = LogFontOf(prefs.listFont);
    } else {
        std::memset(&font, 0, sizeof font);
    }
    PostMessageA(dialog, WM_COMMAND, CMD_COLOUR_BUTTONS, 0);

    std::memset(&colourRequest, 0, sizeof colourRequest);
    colourRequest.lStructSize = sizeof colourRequest;
    colourRequest.hwndOwner = dialog;
    colourRequest.lpCustColors = customColours;
    colourRequest.Flags = CC_RGBINIT | CC_FULLOPEN;

    CentreWindow(dialog, false);
}

void ReleaseBrush() {
    if (previewBrush != nullptr) DeleteObject(previewBrush);
    previewBrush = nullptr;
}

// The preview asks for its colours as it repaints: its background is the
// working scheme's, and the rows are drawn over it once the repaint is done.
INT_PTR OnCtlColorStatic(HWND dialog, HDC dc, HWND control) {
    int id = GetDlgCtrlID(control);
    if (id == IDC_PREFS_PREVIEW) {
        ReleaseBrush();
        previewBrush = CreateSolidBrush(schemes.background[scheme]);
        PostMessageA(dialog, WM_COMMAND, CMD_DRAW_PREVIEW, 0);
        return reinterpret_cast<INT_PTR>(previewBrush);
    }
    if (id == IDC_PREFS_FONT_TEXT) {
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    }
    return FALSE;
}

void OnDrawPreview(HWND dialog) {
    HWND preview = Preview(dialog);
    HDC dc = GetDC(preview);
    HFONT previewFont = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(dc, previewFont);
    SetBkMode(dc, TRANSPARENT);
    RECT area;
    GetClientRect(preview, &area);
    // Only the invalid part was filled: text drawn twice over itself would
    // come out bolder.
    if (previewBrush != nullptr) FillRect(dc, &area, previewBrush);
    DrawPreviewRows(dc, area, schemes.pastDays[scheme], schemes.today[scheme], schemes.futureDays[scheme],
                    showWeekday);

    char description[96];
    std::snprintf(description, sizeof description, " %s, %d pt ", font.lfFaceName,
                  -MulDiv(font.lfHeight, 72, GetDeviceCaps(dc, LOGPIXELSY)));
    SetDlgItemTextA(dialog, IDC_PREFS_FONT_TEXT, description);

    SelectObject(dc, previous);
    ReleaseDC(preview, dc);
    DeleteObject(previewFont);
}

void OnScheme(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, CMD_COLOUR_BUTTONS, 0);
    scheme = (id - IDC_PREFS_SCHEME_BLUE) / kSchemeIdStep;
    RepaintPreview(dialog);
}

void OnColourButton(HWND dialog, int id) {
    Command(dialog, CMD_DISABLE_BUTTONS);
    uint32_t* colour = UserColour(id);
    colourRequest.rgbResult = *colour;
    if (ChooseColorA(&colourRequest)) {
        *colour = colourRequest.rgbResult;
        RepaintPreview(dialog);
    }
    Command(dialog, CMD_ENABLE_BUTTONS);
    FocusControl(dialog, id);  // disabling the button took the focus away
}

void OnFontButton(HWND dialog) {
    LOGFONTA chosen = font;
    CHOOSEFONTA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.lpLogFont = &chosen;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    Command(dialog, CMD_DISABLE_BUTTONS);
    // A cancel goes back to the font in use, also past a font chosen
    // earlier in this opening or set by Default.
    font = ChooseFontA(&request) ? chosen : LogFontOf(prefs.listFont);
    RepaintPreview(dialog);
    Command(dialog, CMD_ENABLE_BUTTONS);
    FocusControl(dialog, IDC_PREFS_FONT);
}

void OnDefault(HWND dialog) {
    if (MessageBoxA(dialog, LoadStr(1610), LoadStr(1020), MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) !=
        IDYES) {
        return;
    }
    // The user colours and the window's place are left as they are.
    Prefs defaults = DefaultPrefs();
    ShowSettings(dialog, defaults);
    scheme = defaults.colourScheme;
    ShowScheme(dialog);
    showWeekday = defaults.showWeekday != 0;
    ApplyDefaultListFont(&defaults.listFont);
    font = LogFontOf(defaults.listFont);
    EnableColourButtons(dialog);
    RepaintPreview(dialog);
}

void RefuseLimits(HWND dialog, int textId, int editId) {
    MessageBoxA(dialog, LoadStr(textId), LoadStr(1030), MB_OK | MB_ICONWARNING);
    FocusControl(dialog, editId);
}

void EndWith(HWND dialog, INT_PTR result) {
    Command(dialog, CMD_RELEASE_BRUSH);
    EndDialog(dialog, result);
}

void OnApply(HWND dialog) {
    // An empty edit reads as 0.
    UINT after = GetDlgItemInt(dialog, IDC_PREFS_DAYS_AFTER, nullptr, FALSE);
    UINT before = GetDlgItemInt(dialog, IDC_PREFS_DAYS_BEFORE, nullptr, FALSE);
    if (before == 0 && after == 0) {
        RefuseLimits(dialog, 1600, IDC_PREFS_DAYS_BEFORE);
        return;
    }
    if (before > kMostDays || after > kMostDays) {
        RefuseLimits(dialog, 1602, before > kMostDays ? IDC_PREFS_DAYS_BEFORE : IDC_PREFS_DAYS_AFTER);
        return;
    }

    prefs.warnDaysAfter = static_cast<int32_t>(after);
    prefs.warnDaysBefore = static_cast<int32_t>(before);
    for (const CheckBox& box : kCheckBoxes) {
        prefs.*box.field = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED ? 1 : 0;
    }
    prefs.userBackground = static_cast<int32_t>(schemes.background[kUserScheme]);
    prefs.userPastDays = static_cast<int32_t>(schemes.pastDays[kUserScheme]);
    prefs.userToday = static_cast<int32_t>(schemes.today[kUserScheme]);
    prefs.userFutureDays = static_cast<int32_t>(schemes.futureDays[kUserScheme]);
    prefs.colourScheme = scheme;
    prefs.listFont = ListFontOf(font);

    // The list box draws with the font it was given until the rebuild gives
    // it the new one: hand it over before the old one is released.
    HFONT oldFont = listFontHandle;
    listFontHandle = CreateListFont(prefs.listFont);
    if (listBox != nullptr)
        SendMessageA(listBox, WM_SETFONT, reinterpret_cast<WPARAM>(listFontHandle), FALSE);
    if (oldFont != nullptr) DeleteObject(oldFont);

    PlatformPostCommand(CMD_RELOAD_LIST);
    // A failure has been reported; the new settings stay in effect for this run.
    SaveMainWindowPrefs();
    EndWith(dialog, 1);
}

bool OnCommand(HWND dialog, int id, int code) {
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDOK:
            OnApply(dialog);
            return true;
        case IDCANCEL:
            EndWith(dialog, 2);
            return true;
        case IDC_PREFS_DEFAULT:
            OnDefault(dialog);
            return true;
        case IDC_PREFS_SCHEME_BLUE:
        case IDC_PREFS_SCHEME_NOTES:
        case IDC_PREFS_SCHEME_LIGHT:
        case IDC_PREFS_SCHEME_DARK:
        case IDC_PREFS_SCHEME_USER:
            OnScheme(dialog, id);
            return true;
        case IDC_PREFS_BACKGROUND:
        case IDC_PREFS_PAST_DAYS:
        case IDC_PREFS_TODAY:
        case IDC_PREFS_FUTURE_DAYS:
            OnColourButton(dialog, id);
            return true;
        case IDC_PREFS_FONT:
            OnFontButton(dialog);
            return true;
        case IDC_PREFS_WEEKDAY:
            showWeekday = IsDlgButtonChecked(dialog, IDC_PREFS_WEEKDAY) == BST_CHECKED;
            RepaintPreview(dialog);
            return true;
        case CMD_RELEASE_BRUSH:
            ReleaseBrush();
            return true;
        case CMD_DRAW_PREVIEW:
            OnDrawPreview(dialog);
            return true;
        case CMD_COLOUR_BUTTONS:
            EnableColourButtons(dialog);
            return true;
        case CMD_ENABLE_BUTTONS:
            EnableButtons(dialog, true);
            return true;
        case CMD_DISABLE_BUTTONS:
            EnableButtons(dialog, false);
            return true;
        default:
            return false;
    }
}
}  // namespace

void DrawPreviewRows(HDC dc, const RECT& area, COLORREF past, COLORREF today, COLORREF future,
                     bool showWeekday) {
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

    char dates[kSampleRows][128];
    const char* datePointers[kSampleRows];
    for (int i = 0; i < kSampleRows; ++i) {
        SampleDate(kSamples[i], showWeekday, dates[i], sizeof dates[i]);
        datePointers[i] = dates[i];
    }
    int daysRight = Min(TextWidth(dc, LoadStr(1290)), area.right);
    ListColumns columns = ListColumnBounds(daysRight, TextWidth(dc, "M"),
                                           DateColumnWidthIn(dc, showWeekday, datePointers, kSampleRows));
    int dateRight = Min(columns.dateRight, area.right);

    for (int i = 0; i < kSampleRows; ++i) {
        int top = Min(area.top + i * lineHeight, area.bottom);
        int bottom = Min(area.top + (i + 1) * lineHeight, area.bottom);
        SetTextColor(dc, i < 2 ? past : i == 2 ? today : future);
        DrawCell(dc, LoadStr(kSamples[i].days), 0, top, daysRight, bottom, DT_RIGHT);
        DrawCell(dc, dates[i], columns.dateLeft, top, dateRight, bottom, DT_LEFT);
        DrawCell(dc, LoadStr(kSamples[i].message), dateRight + 1, top, area.right, bottom, DT_END_ELLIPSIS);
    }
}

INT_PTR CALLBACK PreferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_DESTROY:
            ReleaseBrush();  // also when the dialog goes with its owner
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR RunPreferences(HWND owner) {
    return DialogBoxParamA(appInstance, "Preferences", owner, PreferencesProc, 0);
}
