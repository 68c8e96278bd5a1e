#include "dialogs/reminder_popup.h"

#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "app/state.h"
#include "app/win_state.h"
#include "dialogs/text_size.h"
#include "model/calendar.h"
#include "model/macros.h"
#include "resources/resource_ids.h"

namespace {
// Posted to itself at opening: the sizing needs the finished dialog.
constexpr WPARAM kPlacePopup = 32769;
constexpr COLORREF kBackground = RGB(0xCC, 0xCC, 0x80);
constexpr int kMinWidth = 100;
constexpr int kMinHeight = 32;
// The statics draw without prefixes and with tabs expanded: measured alike.
constexpr UINT kTextFormat = DT_NOPREFIX | DT_EXPANDTABS;

// One pop-up at a time, so its font, brush and texts are the program's.
HFONT popupFont = nullptr;
HBRUSH popupBrush = nullptr;
char titleText[kMessageSize + 64];
char notesText[kNotesSize];

void BuildTexts(const DueItem& row) {
    // A faulty macro shows as typed: the event editor is the place that
    // reports it.
    char message[kMessageSize];
    ExpandMacros(row.message, row.daysLeft, message, sizeof message);
    ExpandMacros(row.notes, row.daysLeft, notesText, sizeof notesText);

    const char* month = MonthShortName(row.month);
    if (month == nullptr) month = "";
    const char* weekday = WeekdayShortName(row.daysLeft);
    if (dayFirst) {
        if (prefs.showWeekday) {
            std::snprintf(titleText, sizeof titleText, "%02d%c%s (%s), %s", row.day, ' ', month, weekday,
                          message);
        } else {
            std::snprintf(titleText, sizeof titleText, "%02d%c%s, %s", row.day, ' ', month, message);
        }
    } else if (prefs.showWeekday) {
        std::snprintf(titleText, sizeof titleText, "%s%c%02d (%s), %s", month, ' ', row.day, weekday,
                      message);
    } else {
        std::snprintf(titleText, sizeof titleText, "%s%c%02d, %s", month, ' ', row.day, message);
    }
}

// The list's font, or the system's default when the list has none yet.
HFONT CreatePopupFont() {
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    if (listFontHandle != nullptr) GetObjectA(listFontHandle, sizeof description, &description);
    return CreateFontIndirectA(&description);
}

BOOL OnInitDialog(HWND popup, const DueItem* row) {
    popupBrush = CreateSolidBrush(kBackground);
    popupFont = CreatePopupFont();
    SendDlgItemMessageA(popup, IDC_POPUP_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(popupFont), TRUE);
    SendDlgItemMessageA(popup, IDC_POPUP_NOTES, WM_SETFONT, reinterpret_cast<WPARAM>(popupFont), TRUE);
    titleText[0] = notesText[0] = '\0';
    if (row != nullptr) BuildTexts(*row);
    SetDlgItemTextA(popup, IDC_POPUP_TITLE, titleText);
    SetDlgItemTextA(popup, IDC_POPUP_NOTES, notesText);
    // Out of sight until it has its final size.
    SetWindowPos(popup, HWND_BOTTOM, 0, -10000, 0, 0, SWP_NOSIZE);
    PostMessageA(popup, WM_COMMAND, kPlacePopup, 0);
    return TRUE;
}

void LayOut(HWND popup, int width, int height) {
    HWND title = GetDlgItem(popup, IDC_POPUP_TITLE);
    HWND notes = GetDlgItem(popup, IDC_POPUP_NOTES);
    HWND close = GetDlgItem(popup, IDCANCEL);
    if (title == nullptr || notes == nullptr || close == nullptr) return;  // still being created
    RECT box;
    GetWindowRect(title, &box);
    int titleHeight = box.bottom - box.top;
    MoveWindow(title, 3, 0, width - 20, titleHeight, TRUE);
    MoveWindow(GetDlgItem(popup, IDC_POPUP_SEPARATOR), 3, titleHeight + 1, width - 6, 2, TRUE);
    MoveWindow(notes, 3, titleHeight + 3, width, height - titleHeight + 1, TRUE);
    SetWindowPos(close, nullptr, width - 12, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    InvalidateRect(title, nullptr, TRUE);
    InvalidateRect(notes, nullptr, TRUE);
}

int Larger(int a, int b) { return a > b ? a : b; }
int Smaller(int a, int b) { return a < b ? a : b; }

// As wide as the title and the longest notes line, as tall as all the lines,
// within the screen; then under the pointer, moved left only as far as the
// screen's right edge needs.
void SizeAndPlace(HWND popup) {
    int frames = 2 * GetSystemMetrics(SM_CYFRAME);
    int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    HWND title = GetDlgItem(popup, IDC_POPUP_TITLE);
    RECT box;
    GetClientRect(title, &box);
    int templateWidth = box.right;

    SIZE titleSize = MeasureUtf8Text(popup, popupFont, titleText, screenWidth, kTextFormat);
    SetWindowPos(title, nullptr, 0, 0, titleSize.cx + frames + 21, titleSize.cy, SWP_NOMOVE | SWP_NOZORDER);
    int width = Larger(titleSize.cx + frames + 21, templateWidth);
    SIZE notesSize = MeasureUtf8Text(popup, popupFont, notesText, screenWidth, kTextFormat);
    width = Smaller(Larger(notesSize.cx + frames + 1, width) + frames, screenWidth);
    int height = Smaller(titleSize.cy + notesSize.cy + 2 + frames, GetSystemMetrics(SM_CYFULLSCREEN));
    SetWindowPos(popup, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    // A size equal to the old one brings no WM_SIZE, but the title has changed.
    GetClientRect(popup, &box);
    LayOut(popup, box.right, box.bottom);

    POINT pointer;
    GetCursorPos(&pointer);
    GetWindowRect(popup, &box);
    int x = pointer.x - 4;
    int overflow = box.right - box.left + x - GetSystemMetrics(SM_CXSCREEN);
    if (overflow < 0) overflow = 0;
    SetWindowPos(popup, nullptr, x - overflow, pointer.y - 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Close(HWND popup) {
    if (PopupHandle == popup) {
        closeModeless(&PopupHandle);
    } else {
        DestroyWindow(popup);
    }
}

// Also when the main window closes the pop-up from outside, or takes it
// along when it is destroyed itself.
void OnDestroy(HWND popup) {
    DeleteObject(popupFont);
    popupFont = nullptr;
    DeleteObject(popupBrush);
    popupBrush = nullptr;
    if (PopupHandle == popup) PopupHandle = nullptr;
}

INT_PTR CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(popup, reinterpret_cast<const DueItem*>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == kPlacePopup) {
            SizeAndPlace(popup);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            Close(popup);
            return TRUE;
        }
        return FALSE;
    case WM_SIZE:
        LayOut(popup, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x = kMinWidth;
        limits->ptMinTrackSize.y = kMinHeight;
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        // The statics let clicks through, so this is any click on the pop-up.
        PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(popupBrush);
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(popupBrush);
    }
    case WM_DESTROY:
        OnDestroy(popup);
        return TRUE;
    default:
        return FALSE;
    }
}
}  // namespace

HWND OpenReminderPopup(HWND owner, const DueItem* row) {
    return CreateDialogParamA(appInstance, "ViewDuty", owner, PopupProc, reinterpret_cast<LPARAM>(row));
}
