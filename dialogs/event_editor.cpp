#include "dialogs/event_editor.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>
#include <cstring>

#include "app/load_str.h"
#include "app/main_window.h"
#include "app/state.h"
#include "dialogs/decorations.h"
#include "dialogs/special_limits_dialog.h"
#include "model/calendar.h"
#include "model/day_number.h"
#include "model/duty.h"
#include "model/macros.h"
#include "resources/event_editor_ids.h"
#include "resources/resource_ids.h"

namespace {

// Commands the dialog sends itself.
enum {
    CMD_EDITOR_DIRTY = 32770,           // computes `dirty`
    CMD_EDITOR_PROPOSE_YEAR = 32771,    // the year of a one-off event the user has not chosen
    CMD_EDITOR_RELEASE = 32772,         // frees the cursor; sent just before the dialog ends
    CMD_EDITOR_ENABLE_BUTTONS = 32777,  // after the nested limits dialog
    CMD_EDITOR_DISABLE_BUTTONS = 32778,
    CMD_EDITOR_HIDE_CALENDAR = 32782,
    CMD_EDITOR_CALENDAR_DATE = 32783,  // the calendar takes the date of the boxes
};

// The years the year box offers.
constexpr int kFirstYear = 1753;
constexpr int kLastYear = 2100;

// An edit holds up to 4096 characters, of up to three bytes each in the
// process code page (a character outside the first plane takes two units
// and four bytes).
constexpr int kEditUnits = 2 * kNotesSize;
constexpr int kTextBufferSize = 3 * kNotesSize;

// The state of the one editor open at a time.
Duty* record = nullptr;  // written on confirmation only
int mode = 0;
int yearShown = 0;   // the year proposed for a one-off event and shown in the year box
int yearBase = 0;    // the year last set explicitly
int yearPicked = 0;  // the user chose the year himself: it is no longer proposed
int repeatChecked = 0;
int calendarOpen = 0;
int useSpecialLimits = 0;
int limitBefore = 0;  // kept while the default limits are chosen, to come back with the special ones
int limitAfter = 0;
int dirty = 0;
HWND focusBeforeCalendar = nullptr;
HCURSOR handCursor = nullptr;
HBITMAP noteGlyph = nullptr;
HBITMAP bangGlyph = nullptr;
HBITMAP calendarGlyph = nullptr;

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

int BoxIndex(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

void SelectIndex(HWND dialog, int id, int index) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// The year box shows `year`, or nothing for a year it does not offer.
void ShowYear(HWND dialog, int year) {
    SelectIndex(dialog, IDC_EDITOR_YEAR, year >= kFirstYear && year <= kLastYear ? year - kFirstYear : -1);
}

void Show(HWND dialog, int id, bool shown) { ShowWindow(Item(dialog, id), shown ? SW_SHOW : SW_HIDE); }

void EnableYear(HWND dialog, bool enabled) {
    EnableWindow(Item(dialog, IDC_EDITOR_YEAR_LABEL), enabled);
    EnableWindow(Item(dialog, IDC_EDITOR_YEAR), enabled);
}

void Place(HWND dialog, int id, int left, int top, int width, int height) {
    MoveWindow(Item(dialog, id), left, top, width, height, FALSE);
}

// The template's box widths leave 20 pixels for the drop-down button; the
// boxes grow or shrink by what the system's button takes more or less, and
// stand in the locale's date order, each label above its box.
void LayOutDateBoxes(HWND dialog) {
    const int d = GetSystemMetrics(SM_CXVSCROLL) - 20;
    const RECT day = ChildRect(dialog, Item(dialog, IDC_EDITOR_DAY));
    const RECT month = ChildRect(dialog, Item(dialog, IDC_EDITOR_MONTH));
    const RECT year = ChildRect(dialog, Item(dialog, IDC_EDITOR_YEAR));
    const RECT button = ChildRect(dialog, Item(dialog, IDC_EDITOR_CALENDAR_BUTTON));
    const RECT label = ChildRect(dialog, Item(dialog, IDC_EDITOR_DAY_LABEL));
    // A combo box's height includes its list; its window shows the closed box.
    RECT dropped;
    SendDlgItemMessageA(dialog, IDC_EDITOR_YEAR, CB_GETDROPPEDCONTROLRECT, 0,
                        reinterpret_cast<LPARAM>(&dropped));
    struct Box {
        int id, labelId, left, width;
    } boxes[3] = {
        {IDC_EDITOR_DAY, IDC_EDITOR_DAY_LABEL, day.left, day.right - day.left + d},
        {IDC_EDITOR_MONTH, IDC_EDITOR_MONTH_LABEL, month.left + d, month.right - month.left + d},
        {IDC_EDITOR_YEAR, IDC_EDITOR_YEAR_LABEL, year.left + 2 * d, year.right - year.left + d},
    };
    if (!dayFirst) {
        const int monthRight = boxes[1].left + boxes[1].width;
        boxes[1].left = boxes[0].left;
        boxes[0].left = monthRight - boxes[0].width;
        // The keyboard goes through the boxes as they stand, month first.
        SetWindowPos(Item(dialog, IDC_EDITOR_DAY), Item(dialog, IDC_EDITOR_MONTH), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (const Box& box : boxes) {
        Place(dialog, box.id, box.left, year.top, box.width, dropped.bottom - dropped.top);
        Place(dialog, box.labelId, box.left, label.top, box.width, year.bottom - year.top);
    }
    Place(dialog, IDC_EDITOR_CALENDAR_BUTTON, button.left + 3 * d, button.top, button.right - button.left,
          button.bottom - button.top);
}

void AddItem(HWND dialog, int id, const char* text) {
    SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void FillDateBoxes(HWND dialog) {
    char text[16];
    for (int day = 1; day <= 31; ++day) {
        std::snprintf(text, sizeof text, "%d", day);
        AddItem(dialog, IDC_EDITOR_DAY, text);
    }
    for (int month = 1; month <= 12; ++month) AddItem(dialog, IDC_EDITOR_MONTH, MonthLongName(month));
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        std::snprintf(text, sizeof text, "%04d", year);
        AddItem(dialog, IDC_EDITOR_YEAR, text);
    }
}

void SetCaption(HWND dialog, int stringId) {
    char caption[256];
    std::snprintf(caption, sizeof caption, "%s - %s", kProgramName, LoadStr(stringId));
    SetWindowTextA(dialog, caption);
}

void HideCalendar(HWND dialog) {
    HWND calendar = Item(dialog, IDC_EDITOR_CALENDAR);
    const bool focused = GetFocus() == calendar;
    ShowWindow(calendar, SW_HIDE);
    calendarOpen = 0;
    // A hidden window would keep the keyboard: it goes back where it was.
    if (focused) {
        HWND back = IsWindow(focusBeforeCalendar) ? focusBeforeCalendar : Item(dialog, IDC_EDITOR_MESSAGE);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(back), TRUE);
    }
}

void OpenCalendar(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_CALENDAR_DATE, 0);
    HWND calendar = Item(dialog, IDC_EDITOR_CALENDAR);
    focusBeforeCalendar = GetFocus();
    SetWindowPos(calendar, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    calendarOpen = 1;
    SetFocus(calendar);
}

void SetCalendarDate(HWND dialog) {
    const int yearIndex = BoxIndex(dialog, IDC_EDITOR_YEAR);
    SYSTEMTIME date;
    std::memset(&date, 0, sizeof date);
    int year = yearIndex >= 0 ? kFirstYear + yearIndex : yearShown;
    if (repeatChecked) year = static_cast<int>(LocalToday().year);
    const int month = BoxIndex(dialog, IDC_EDITOR_MONTH) + 1;
    int day = BoxIndex(dialog, IDC_EDITOR_DAY) + 1;
    // A calendar has no 31 April: it shows the month's last day instead.
    int last = DaysInMonth(month);
    if (month == 2 && !IsLeapYear(year)) last = 28;
    if (day > last) day = last;
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    SendDlgItemMessageA(dialog, IDC_EDITOR_CALENDAR, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
}

// The drop-down calendar lies over other controls, which must not paint over
// it. The labels among them go behind the rest, or, clipped alike, they would
// hide the edges of the edits they touch.
void ClipUnderCalendar(HWND calendar) {
    HWND under[64];
    int count = 0;
    RECT over, child, common;
    GetWindowRect(calendar, &over);
    for (HWND sibling = GetWindow(calendar, GW_HWNDFIRST); sibling && count < 64;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        GetWindowRect(sibling, &child);
        if (sibling != calendar && IntersectRect(&common, &over, &child)) under[count++] = sibling;
    }
    for (int i = 0; i < count; ++i) {
        const LONG_PTR style = GetWindowLongPtrA(under[i], GWL_STYLE);
        SetWindowLongPtrA(under[i], GWL_STYLE, style | WS_CLIPSIBLINGS);
        if (!(style & WS_TABSTOP)) {
            SetWindowPos(under[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

// White like a page, as small as it can be, and only the years the year box offers.
void PrepareCalendar(HWND dialog) {
    HWND calendar = Item(dialog, IDC_EDITOR_CALENDAR);
    SendMessageA(calendar, MCM_SETCOLOR, MCSC_BACKGROUND, RGB(255, 255, 255));
    SendMessageA(calendar, MCM_SETCOLOR, MCSC_MONTHBK, RGB(255, 255, 255));
    SYSTEMTIME range[2];
    std::memset(range, 0, sizeof range);
    range[0].wYear = kFirstYear;
    range[0].wMonth = 1;
    range[0].wDay = 1;
    range[1].wYear = kLastYear;
    range[1].wMonth = 12;
    range[1].wDay = 31;
    SendMessageA(calendar, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    RECT minimum, frame, client;
    SendMessageA(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&minimum));
    GetWindowRect(calendar, &frame);
    GetClientRect(calendar, &client);
    // The minimum leaves the border out.
    const int width = minimum.right - minimum.left + (frame.right - frame.left) - client.right;
    const int height = minimum.bottom - minimum.top + (frame.bottom - frame.top) - client.bottom;
    SetWindowPos(calendar, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ClipUnderCalendar(calendar);
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_CALENDAR_DATE, 0);
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_HIDE_CALENDAR, 0);
}

void OnInitDialog(HWND dialog, Duty* duty) {
    record = duty;
    mode = duty->daysLeft;
    calendarOpen = 0;
    focusBeforeCalendar = nullptr;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    handCursor =
        static_cast<HCURSOR>(LoadImageA(instance, MAKEINTRESOURCEA(IDC_HAND_POINTER), IMAGE_CURSOR, 0, 0, 0));
    noteGlyph = LoadBitmapA(instance, "bgNote2");
    bangGlyph = LoadBitmapA(instance, "bgBang1");
    calendarGlyph = LoadBitmapA(instance, "bgCalendar");

    LayOutDateBoxes(dialog);
    FillDateBoxes(dialog);
    SendDlgItemMessageA(dialog, IDC_EDITOR_MESSAGE, EM_LIMITTEXT, kMessageSize - 1, 0);
    SendDlgItemMessageA(dialog, IDC_EDITOR_NOTES, EM_LIMITTEXT, kNotesSize - 1, 0);
    yearPicked = 0;

    bool repeat;
    if (mode == kEditorNew) {
        const CivilDate today = LocalToday();
        SelectIndex(dialog, IDC_EDITOR_DAY, today.day - 1);
        SelectIndex(dialog, IDC_EDITOR_MONTH, today.month - 1);
        yearShown = yearBase = static_cast<int>(today.year);
        repeat = newEventRepeatMark != 'N';
        limitBefore = limitAfter = 0;
        useSpecialLimits = 0;
        SetCaption(dialog, 1200);
    } else {
        if (mode == kEditorDuplicate) SetCaption(dialog, 1205);
        SetDlgItemTextA(dialog, IDC_EDITOR_MESSAGE, duty->message);
        SetDlgItemTextA(dialog, IDC_EDITOR_NOTES, duty->notes);
        SelectIndex(dialog, IDC_EDITOR_DAY, duty->day - 1);
        SelectIndex(dialog, IDC_EDITOR_MONTH, duty->month - 1);
        yearShown = yearBase = duty->year;
        repeat = duty->yearly == 1;
        limitBefore = duty->warnBefore;
        limitAfter = duty->warnAfter;
        useSpecialLimits = limitBefore != 0 || limitAfter != 0;
    }
    CheckDlgButton(dialog, IDC_EDITOR_REPEAT, repeat ? BST_CHECKED : BST_UNCHECKED);
    repeatChecked = repeat;
    EnableYear(dialog, !repeat);
    if (repeat) {
        SelectIndex(dialog, IDC_EDITOR_YEAR, -1);
    } else {
        ShowYear(dialog, yearShown);
    }
    CheckRadioButton(dialog, IDC_EDITOR_DEFAULT_LIMITS, IDC_EDITOR_SPECIAL_LIMITS,
                     useSpecialLimits ? IDC_EDITOR_SPECIAL_LIMITS : IDC_EDITOR_DEFAULT_LIMITS);
    PrepareCalendar(dialog);
    EnableWindow(Item(dialog, IDC_EDITOR_SET_LIMITS), useSpecialLimits);
    Show(dialog, IDC_EDITOR_LIMITS_MARK, useSpecialLimits);
    Show(dialog, IDC_EDITOR_NOTES_MARK, GetWindowTextLengthA(Item(dialog, IDC_EDITOR_NOTES)) > 0);
    AddTooltip(dialog, IDC_EDITOR_CALENDAR_BUTTON, LoadStr(1580));
    CentreWindow(dialog, false);
    HWND message = Item(dialog, IDC_EDITOR_MESSAGE);
    SetFocus(message);
    const int end = GetWindowTextLengthW(message);
    SendMessageA(message, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void ReleaseCursor() {
    if (handCursor) DestroyCursor(handCursor);
    handCursor = nullptr;
}

void ReleaseGlyphs() {
    HBITMAP* glyphs[] = {&noteGlyph, &bangGlyph, &calendarGlyph};
    for (HBITMAP* glyph : glyphs) {
        if (*glyph) DeleteObject(*glyph);
        *glyph = nullptr;
    }
}

// For a one-off event whose year the user has not chosen: this year when the
// date in `yearBase` is today or later, else the next year. For a new event
// that is the next occurrence of the date.
void ProposeYear(HWND dialog) {
    const CivilDate today = LocalToday();
    const int64_t date =
        DayNumber(yearBase, BoxIndex(dialog, IDC_EDITOR_MONTH) + 1, BoxIndex(dialog, IDC_EDITOR_DAY) + 1);
    yearShown = static_cast<int>(today.year) + (date < DayNumber(today) ? 1 : 0);
}

void OnRepeat(HWND dialog) {
    HideCalendar(dialog);
    repeatChecked = IsDlgButtonChecked(dialog, IDC_EDITOR_REPEAT) == BST_CHECKED;
    EnableYear(dialog, !repeatChecked);
    if (repeatChecked) {
        SelectIndex(dialog, IDC_EDITOR_YEAR, -1);
        return;
    }
    if (!yearPicked) SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_PROPOSE_YEAR, 0);
    ShowYear(dialog, yearShown);
}

void OnCalendarPick(HWND dialog, const SYSTEMTIME& date) {
    SelectIndex(dialog, IDC_EDITOR_DAY, date.wDay - 1);
    SelectIndex(dialog, IDC_EDITOR_MONTH, date.wMonth - 1);
    yearShown = yearBase = date.wYear;
    if (repeatChecked) {
        SelectIndex(dialog, IDC_EDITOR_YEAR, -1);
    } else {
        ShowYear(dialog, yearShown);
    }
    yearPicked = 1;
    HideCalendar(dialog);
}

void OnSpecialLimits(HWND dialog) {
    if (calendarOpen) {
        HideCalendar(dialog);
        return;
    }
    useSpecialLimits = 1;
    LimitPair pair = {limitBefore, limitAfter};
    if (limitBefore == 0 && limitAfter == 0) pair = {prefs.warnDaysBefore, prefs.warnDaysAfter};
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_DISABLE_BUTTONS, 0);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    INT_PTR result = DialogBoxParamA(instance, "EditSpecialLimits", dialog, SpecialLimitsProc,
                                     reinterpret_cast<LPARAM>(&pair));
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_ENABLE_BUTTONS, 0);
    if (result == 1) {
        limitBefore = pair.before;
        limitAfter = pair.after;
    }
}

void OnLimitsChoice(HWND dialog, bool special) {
    HideCalendar(dialog);
    useSpecialLimits = special;
    Show(dialog, IDC_EDITOR_LIMITS_MARK, special);
    if (special && limitBefore == 0 && limitAfter == 0) {
        limitBefore = prefs.warnDaysBefore;
        limitAfter = prefs.warnDaysAfter;
    }
    EnableWindow(Item(dialog, IDC_EDITOR_SET_LIMITS), special);
}

// How many bytes unit `i` of an edit's text takes when stored: UTF-8, a
// surrogate pair counted on its first unit, and for notes every line break
// as CR LF, counted on its first unit.
unsigned StoredUnitBytes(const wchar_t* text, int i, int n, bool notes) {
    const wchar_t c = text[i];
    if (notes && c == L'\n' && i > 0 && text[i - 1] == L'\r') return 0;
    if (notes && (c == L'\r' || c == L'\n')) return 2;
    if (c < 0x80) return 1;
    if (c < 0x800) return 2;
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) return 4;
    if (low && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF) return 0;
    return 3;  // a lone half is stored as the replacement character
}

unsigned StoredBytes(const wchar_t* text, int n, bool notes) {
    unsigned bytes = 0;
    for (int i = 0; i < n; ++i) bytes += StoredUnitBytes(text, i, n, notes);
    return bytes;
}

// The edit's own limit counts characters, and a Polish letter takes two
// bytes: what the latest typing or pasting put beyond `limit` bytes, just
// before the caret, is taken out again, a whole character at a time, so the
// box shows exactly what is stored.
void KeepWithinBytes(HWND edit, unsigned limit, bool notes) {
    static wchar_t text[kEditUnits];
    int n = GetWindowTextW(edit, text, kEditUnits);
    if (StoredBytes(text, n, notes) <= limit) return;
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    int at = static_cast<int>(caret) < n ? static_cast<int>(caret) : n;
    while (n > 0 && StoredBytes(text, n, notes) > limit) {
        const int end = at > 0 ? at : n;
        int start = end - 1;
        while (start > 0 && StoredUnitBytes(text, start, n, notes) == 0) --start;
        std::memmove(text + start, text + end, static_cast<size_t>(n - end) * sizeof *text);
        n -= end - start;
        if (at > 0) at = start;
    }
    text[n] = L'\0';
    SetWindowTextW(edit, text);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(at), at);
}

// Shows a refusal over the dialog and puts the keyboard where the fault is.
void Refuse(HWND dialog, const char* text, int captionId, UINT icon, int focusId) {
    MessageBoxA(dialog, text, LoadStr(captionId), MB_OK | icon);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(dialog, focusId)), TRUE);
}

void Store(HWND dialog, const char* message, const char* notes, int day, int month) {
    record->day = day;
    record->month = month;
    record->year = yearBase;
    record->yearly = repeatChecked ? 1 : 0;
    record->repeatMark = repeatChecked ? 'Y' : 'N';
    CopyText(record->message, message, sizeof record->message);
    NormaliseLineBreaks(record->notes, sizeof record->notes, notes);
    record->warnBefore = useSpecialLimits ? limitBefore : 0;
    record->warnAfter = useSpecialLimits ? limitAfter : 0;
    if (mode == kEditorNew) newEventRepeatMark = static_cast<char>(record->repeatMark);
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_RELEASE, 0);
    record->daysLeft = kEditorConfirmed;
    EndDialog(dialog, 1);
}

void Confirm(HWND dialog) {
    if (calendarOpen) {
        HideCalendar(dialog);
        return;
    }
    static char message[kTextBufferSize];
    static char notes[kTextBufferSize];
    GetDlgItemTextA(dialog, IDC_EDITOR_MESSAGE, message, sizeof message);
    CollapseSpaces(message);
    if (message[0] == '\0') {
        Refuse(dialog, LoadStr(1550), 1030, MB_ICONWARNING, IDC_EDITOR_MESSAGE);
        return;
    }
    GetDlgItemTextA(dialog, IDC_EDITOR_NOTES, notes, sizeof notes);

    yearBase = yearShown;
    const int day = BoxIndex(dialog, IDC_EDITOR_DAY) + 1;
    const int month = BoxIndex(dialog, IDC_EDITOR_MONTH) + 1;
    char text[1024];
    if (day > DaysInMonth(month)) {
        std::snprintf(text, sizeof text, LoadStr(1560), MonthLongName(month), day);
        Refuse(dialog, text, 1030, MB_ICONWARNING, IDC_EDITOR_DAY);
        return;
    }
    if (month == 2 && day == 29) {
        if (repeatChecked) {
            MessageBoxA(dialog, LoadStr(1565), LoadStr(1020), MB_OK | MB_ICONWARNING);
        } else if (!IsLeapYear(yearBase)) {
            char february[64];
            std::snprintf(february, sizeof february, "%s (%04d)", MonthLongName(2), yearBase);
            std::snprintf(text, sizeof text, LoadStr(1560), february, 29);
            Refuse(dialog, text, 1030, MB_ICONWARNING, IDC_EDITOR_DAY);
            return;
        }
    }
    const int messageMacros = CheckMacros(message);
    const int notesMacros = CheckMacros(notes);
    if (messageMacros != kMacrosValid || notesMacros != kMacrosValid) {
        const bool tooBig = messageMacros == kMacroValueTooBig || notesMacros == kMacroValueTooBig;
        Refuse(dialog, LoadStr(tooBig ? 1575 : 1570), 1040, MB_ICONHAND,
               messageMacros == kMacrosValid ? IDC_EDITOR_NOTES : IDC_EDITOR_MESSAGE);
        return;
    }
    Store(dialog, message, notes, day, month);
}

// A new event is changed once it has a message or notes; another one once
// anything differs from the record.
bool IsDirty(HWND dialog) {
    static char message[kTextBufferSize];
    static char notes[kTextBufferSize];
    GetDlgItemTextA(dialog, IDC_EDITOR_MESSAGE, message, sizeof message);
    GetDlgItemTextA(dialog, IDC_EDITOR_NOTES, notes, sizeof notes);
    if (mode == kEditorNew) return message[0] != '\0' || notes[0] != '\0';
    const bool limitsKept = useSpecialLimits
                                ? record->warnBefore == limitBefore && record->warnAfter == limitAfter
                                : record->warnBefore == 0 && record->warnAfter == 0;
    return std::strcmp(message, record->message) != 0 || std::strcmp(notes, record->notes) != 0 ||
           BoxIndex(dialog, IDC_EDITOR_DAY) + 1 != record->day ||
           BoxIndex(dialog, IDC_EDITOR_MONTH) + 1 != record->month || record->year != yearBase ||
           repeatChecked != record->yearly || !limitsKept;
}

void End(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_RELEASE, 0);
    EndDialog(dialog, 2);
}

// "&Poniechaj" asks before changes are lost; Esc offers to keep them.
void Cancel(HWND dialog, bool offerToSave) {
    if (calendarOpen) {
        HideCalendar(dialog);
        return;
    }
    SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_DIRTY, 0);
    if (!dirty) {
        End(dialog);
    } else if (!offerToSave) {
        if (MessageBoxA(dialog, LoadStr(1510), LoadStr(1020), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
            IDYES) {
            End(dialog);
        }
    } else {
        int answer = MessageBoxA(dialog, LoadStr(1520), LoadStr(1020), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDYES) Confirm(dialog);
        if (answer == IDNO) End(dialog);
    }
}

// The focus leaving a control is how the calendar itself gets the keyboard,
// so only the other notifications close it.
bool LeavesControl(int id, int code) {
    if (id == IDC_EDITOR_MESSAGE || id == IDC_EDITOR_NOTES) return code == EN_KILLFOCUS;
    return code == CBN_KILLFOCUS;
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
        case IDOK:
            Confirm(dialog);
            break;
        case IDCANCEL:
            Cancel(dialog, true);
            break;
        case IDC_EDITOR_DISCARD:
            Cancel(dialog, false);
            break;
        case IDC_EDITOR_MESSAGE:
        case IDC_EDITOR_NOTES: {
            const bool notes = id == IDC_EDITOR_NOTES;
            if (code == EN_CHANGE)
                KeepWithinBytes(Item(dialog, id), (notes ? kNotesSize : kMessageSize) - 1, notes);
            if (!LeavesControl(id, code)) HideCalendar(dialog);
            if (notes) Show(dialog, IDC_EDITOR_NOTES_MARK, GetWindowTextLengthA(Item(dialog, id)) > 0);
            break;
        }
        case IDC_EDITOR_DAY:
        case IDC_EDITOR_MONTH:
            if (!LeavesControl(id, code)) HideCalendar(dialog);
            if (!repeatChecked && !yearPicked) {
                SendMessageA(dialog, WM_COMMAND, CMD_EDITOR_PROPOSE_YEAR, 0);
                SendMessageA(dialog, WM_COMMAND, IDC_EDITOR_REPEAT, 0);
            }
            break;
        case IDC_EDITOR_YEAR:
            if (!LeavesControl(id, code)) HideCalendar(dialog);
            // Merely entering the box chooses the year it shows.
            if (BoxIndex(dialog, id) >= 0) {
                yearShown = yearBase = kFirstYear + BoxIndex(dialog, id);
                yearPicked = 1;
            }
            break;
        case IDC_EDITOR_REPEAT:
            if (code == BN_CLICKED) OnRepeat(dialog);
            break;
        case IDC_EDITOR_SET_LIMITS:
            if (code == BN_CLICKED) OnSpecialLimits(dialog);
            break;
        case IDC_EDITOR_DEFAULT_LIMITS:
        case IDC_EDITOR_SPECIAL_LIMITS:
            if (code == BN_CLICKED) OnLimitsChoice(dialog, id == IDC_EDITOR_SPECIAL_LIMITS);
            break;
        case CMD_EDITOR_DIRTY:
            dirty = IsDirty(dialog);
            break;
        case CMD_EDITOR_PROPOSE_YEAR:
            ProposeYear(dialog);
            break;
        case CMD_EDITOR_RELEASE:
            ReleaseCursor();
            break;
        case CMD_EDITOR_ENABLE_BUTTONS:
            EnableWindow(Item(dialog, IDOK), TRUE);
            EnableWindow(Item(dialog, IDC_EDITOR_SET_LIMITS), useSpecialLimits);
            break;
        case CMD_EDITOR_DISABLE_BUTTONS:
            EnableWindow(Item(dialog, IDOK), FALSE);
            EnableWindow(Item(dialog, IDC_EDITOR_SET_LIMITS), FALSE);
            break;
        case CMD_EDITOR_HIDE_CALENDAR:
            HideCalendar(dialog);
            break;
        case CMD_EDITOR_CALENDAR_DATE:
            SetCalendarDate(dialog);
            break;
        default:
            break;
    }
}

bool OverCalendarButton(HWND dialog, POINT point) {
    const RECT button = ChildRect(dialog, Item(dialog, IDC_EDITOR_CALENDAR_BUTTON));
    return PtInRect(&button, point) != 0;
}

// A click that reaches the dialog itself: on a label, a picture or the background.
void OnClick(HWND dialog, POINT point) {
    if (calendarOpen) {
        HideCalendar(dialog);
    } else if (OverCalendarButton(dialog, point)) {
        OpenCalendar(dialog);
    }
}

BOOL OnSetCursor(HWND dialog, int hitTest) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(dialog, &point);
    if (hitTest != HTCLIENT || handCursor == nullptr || !OverCalendarButton(dialog, point)) return FALSE;
    SetCursor(handCursor);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

BOOL OnDrawItem(const DRAWITEMSTRUCT* item) {
    HBITMAP glyph = nullptr;
    if (item->CtlID == IDC_EDITOR_NOTES_MARK) glyph = noteGlyph;
    if (item->CtlID == IDC_EDITOR_LIMITS_MARK) glyph = bangGlyph;
    if (item->CtlID == IDC_EDITOR_CALENDAR_BUTTON) glyph = calendarGlyph;
    if (glyph == nullptr) return FALSE;
    DrawKeyedBitmap(item->hDC, glyph, 0, 0, kGlyphKeyColour);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK EventEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog, reinterpret_cast<Duty*>(lParam));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != IDC_EDITOR_CALENDAR || header->code != MCN_SELECT) return FALSE;
            OnCalendarPick(dialog, reinterpret_cast<const NMSELCHANGE*>(lParam)->stSelStart);
            return TRUE;
        }
        case WM_LBUTTONDOWN: {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            OnClick(dialog, point);
            return TRUE;
        }
        case WM_SETCURSOR:
            return OnSetCursor(dialog, LOWORD(lParam));
        case WM_DRAWITEM:
            return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_DESTROY:
            ReleaseCursor();
            ReleaseGlyphs();
            return FALSE;
        default:
            return FALSE;
    }
}
