#include "dialogs/list_editor.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "app/commands.h"
#include "app/load_str.h"
#include "app/main_window.h"
#include "app/state.h"
#include "app/win_state.h"
#include "dialogs/decorations.h"
#include "dialogs/duty_rows.h"
#include "dialogs/event_editor.h"
#include "dialogs/files_dialog.h"
#include "model/day_number.h"
#include "resources/list_editor_ids.h"
#include "resources/resource_ids.h"

int findBeepCount = 0;

namespace {

// Commands the dialog sends or posts itself.
enum {
    CMD_LIST_RELEASE = 32772,            // frees what the dialog holds; sent as it closes
    CMD_LIST_REFRESH = 32775,            // the row count and the message column's width
    CMD_LIST_SELECTION_BUTTONS = 32776,  // modify and delete follow the selection
    CMD_LIST_ENABLE_BUTTONS = 32777,
    CMD_LIST_DISABLE_BUTTONS = 32778,  // while a window the editor opened is up
};

constexpr COLORREF kPastOneOffColour = RGB(153, 0, 0);
constexpr int kFindTextSize = 40;

// The one editor open at a time.
HWND list = nullptr;
HWND dueList = nullptr;
int dirty = 0;
bool buttonsHeld = false;            // disabled for a nested window
bool selectionUpdatePosted = false;  // one refresh of the buttons for a burst of selection changes
WNDPROC previousListProc = nullptr;
HBITMAP rowIcons[3] = {};
HBITMAP findGlyph = nullptr;
HMENU contextMenu = nullptr;
HCURSOR handCursor = nullptr;
HWND findTip = nullptr;
HFONT strikeFont = nullptr;
int64_t today = 0;  // day number, taken at the start of each repaint

// The Find request lives as long as the program, so the last text searched
// is offered again.
FINDREPLACEA findRequest;
char findText[kFindTextSize] = "";
UINT findMessage = 0;

const int kButtons[] = {IDC_LIST_DELETE, IDC_LIST_MODIFY,      IDC_LIST_ADD,  IDC_LIST_DISCARD,
                        IDC_LIST_SAVE,   IDC_LIST_PREFERENCES, IDC_LIST_FILES};

void Post(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }
void Send(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }

int RowCount() { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
int SelectedCount() { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

std::vector<int> SelectedRows() {
    std::vector<int> rows(static_cast<size_t>(SelectedCount()));
    rows.resize(static_cast<size_t>(GetSelectedRows(list, rows.data(), static_cast<int>(rows.size()))));
    return rows;
}

void MakeVisible(int row) { SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE); }

void SelectOnly(int row) {
    SelectRows(list, &row, 1);
    MakeVisible(row);
}

LRESULT CALLBACK ListScrollProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcA(previousListProc, window, message, wParam, lParam);
    // Rows drawn by the dialog (struck through) are drawn again whole after a scroll.
    if (message == WM_VSCROLL) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    return result;
}

// The Find dialog stands just below the list, its middle on the find icon's right edge.
UINT_PTR CALLBACK FindDialogHook(HWND find, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    HWND editor = findRequest.hwndOwner;
    RECT frame, icon, events;
    GetWindowRect(find, &frame);
    GetWindowRect(GetDlgItem(editor, IDC_LIST_FIND), &icon);
    GetWindowRect(GetDlgItem(editor, IDC_LIST_EVENTS), &events);
    SetWindowPos(find, nullptr, icon.right - (frame.right - frame.left) / 2, events.bottom + 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void InsertColumn(int index, int textId, int width) {
    char text[64];
    CopyText(text, LoadStr(textId), sizeof text);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = text;
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void PrepareList(HINSTANCE instance) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    previousListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListScrollProc)));
    // The widths hold the dates at 96 dots per inch and grow with the font.
    HDC screen = GetDC(list);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(list, screen);
    InsertColumn(0, 1050, MulDiv(std::strcmp(languageCode, "ee") == 0 ? 100 : 88, dpi, 96));
    InsertColumn(1, 1060, 0);
    EnableWindow(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), FALSE);

    HIMAGELIST images = ImageList_Create(14, 14, ILC_COLOR24 | ILC_MASK, 1, 1);
    const char* names[] = {"lstNote", "lstBang", "lstNoteBang"};
    for (int i = 0; i < 3; ++i) {
        rowIcons[i] = LoadBitmapA(instance, names[i]);
        ImageList_AddMasked(images, rowIcons[i], RGB(255, 255, 255));
    }
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));

    LOGFONTA font = {};
    HFONT listFont = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
    if (listFont == nullptr) listFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectA(listFont, sizeof font, &font);
    font.lfStrikeOut = TRUE;
    strikeFont = CreateFontIndirectA(&font);
}

void BuildContextMenu() {
    contextMenu = CreatePopupMenu();
    AppendMenuA(contextMenu, MF_STRING, IDC_LIST_MODIFY, LoadStr(1104));
    AppendMenuA(contextMenu, MF_STRING, IDC_LIST_DUPLICATE, LoadStr(1110));
    AppendMenuA(contextMenu, MF_STRING, IDC_LIST_DELETE, LoadStr(1108));
    AppendMenuA(contextMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(contextMenu, MF_STRING, IDC_LIST_ADD, LoadStr(1100));
}

// The row to select at opening: the event selected in the main list, else
// the first from yesterday on; -1 for none.
int OpeningRow() {
    const LRESULT selected = dueList ? SendMessageA(dueList, LB_GETCURSEL, 0, 0) : LB_ERR;
    const LRESULT item = selected == LB_ERR ? LB_ERR : SendMessageA(dueList, LB_GETITEMDATA, selected, 0);
    if (item != LB_ERR && item != 0) {
        return FindRowPosition(list, *reinterpret_cast<const DueItem*>(item)) - 1;
    }
    const CivilDate yesterday = DateOfDayNumber(DayNumber(LocalToday()) - 1);
    static Duty probe;
    probe = Duty{};
    probe.day = yesterday.day;
    probe.month = yesterday.month;
    const int row = FindRowPosition(list, probe);
    return row < RowCount() ? row : -1;
}

// Selects `row` and scrolls it towards the middle of the visible rows.
void ShowOpeningRow(int row) {
    if (row < 0) return;
    SelectOnly(row);
    const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    int further = row + (row - top) / 2;
    if (further >= RowCount()) further = RowCount() - 1;
    MakeVisible(further);
}

void OnInitDialog(HWND dialog, HWND due) {
    dueList = due;
    std::memset(&findRequest, 0, sizeof findRequest);
    findRequest.lStructSize = sizeof findRequest;
    findRequest.hwndOwner = dialog;
    findRequest.lpstrFindWhat = findText;
    findRequest.wFindWhatLen = kFindTextSize;
    findRequest.lpfnHook = FindDialogHook;
    if (findMessage == 0) findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    handCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
    list = GetDlgItem(dialog, IDC_LIST_EVENTS);
    if (list == nullptr) return;
    PrepareList(instance);
    findGlyph = LoadBitmapA(instance, "bgFind");
    BuildContextMenu();
    dirty = 0;
    buttonsHeld = false;
    selectionUpdatePosted = false;
    findTip = AddTooltip(dialog, IDC_LIST_FIND, LoadStr(1532), true);
    CentreWindow(dialog, false);
    // The count shows at once, also for a file that cannot be read.
    const int loaded = LoadDutiesIntoList(list);
    Post(dialog, CMD_LIST_REFRESH);
    Post(dialog, CMD_LIST_SELECTION_BUTTONS);
    if (loaded) ShowOpeningRow(OpeningRow());
    SetFocus(list);
}

void Release() {
    if (list) DeleteAllDutyRows(list);
    for (HBITMAP& icon : rowIcons) {
        if (icon) DeleteObject(icon);
        icon = nullptr;
    }
    if (findGlyph) DeleteObject(findGlyph);
    findGlyph = nullptr;
    if (contextMenu) DestroyMenu(contextMenu);
    contextMenu = nullptr;
    if (strikeFont) DeleteObject(strikeFont);
    strikeFont = nullptr;
}

void CloseEditor(HWND dialog) {
    Send(dialog, CMD_LIST_RELEASE);
    if (previousListProc) SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousListProc));
    previousListProc = nullptr;
    // The Find dialog goes with its owner; its handle must not outlive it.
    if (FindDialogHandle) DestroyWindow(FindDialogHandle);
    FindDialogHandle = nullptr;
    HWND self = dialog;
    closeModeless(ListEditorHandle == dialog ? &ListEditorHandle : &self);
    list = nullptr;
    if (dueList) SendMessageA(dueList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    dueList = nullptr;
}

// Runs the event editor on `duty`; true when the user confirmed an event.
bool EditEvent(HWND dialog, Duty* duty) {
    Send(dialog, CMD_LIST_DISABLE_BUTTONS);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    const INT_PTR result =
        DialogBoxParamA(instance, "EditDuty", dialog, EventEditorProc, reinterpret_cast<LPARAM>(duty));
    Send(dialog, CMD_LIST_ENABLE_BUTTONS);
    return result == 1 && duty->daysLeft == kEditorConfirmed;
}

// After an add, a modify, a duplicate or a delete: `row` alone selected.
void FinishEdit(HWND dialog, int row) {
    Post(dialog, CMD_LIST_REFRESH);
    Post(dialog, CMD_LIST_SELECTION_BUTTONS);
    if (row >= 0) SelectOnly(row);
    SetFocus(list);
    dirty = 1;
}

void OnAdd(HWND dialog) {
    const std::vector<int> kept = SelectedRows();
    SelectRows(list, nullptr, 0);
    static Duty duty;
    duty = Duty{};
    duty.daysLeft = kEditorNew;
    if (!EditEvent(dialog, &duty)) {
        SelectRows(list, kept.data(), static_cast<int>(kept.size()));
        return;
    }
    FinishEdit(dialog, InsertDutyRow(list, duty));
}

// Modify or duplicate the one selected row.
void OnModify(HWND dialog, int mode) {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1) return;
    const Duty* read = ReadDutyRow(list, rows[0]);
    if (read == nullptr) return;
    static Duty duty;
    duty = *read;
    duty.daysLeft = mode;
    MakeVisible(rows[0]);
    if (!EditEvent(dialog, &duty)) return;
    if (mode == kEditorModify) DeleteDutyRow(list, rows[0]);
    FinishEdit(dialog, InsertDutyRow(list, duty));
}

void OnDelete(HWND dialog) {
    const std::vector<int> rows = SelectedRows();
    const int n = static_cast<int>(rows.size());
    if (n == 0) return;
    MakeVisible(rows[0]);
    Send(dialog, CMD_LIST_DISABLE_BUTTONS);
    char question[1024];
    if (n == 1) {
        CopyText(question, LoadStr(1500), sizeof question);
    } else {
        std::snprintf(question, sizeof question, LoadStr(1505), n);
    }
    const int answer = MessageBoxA(dialog, question, LoadStr(1020), MB_YESNO | MB_ICONQUESTION);
    Send(dialog, CMD_LIST_ENABLE_BUTTONS);
    if (answer != IDYES) return;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = n - 1; i >= 0; --i) DeleteDutyRow(list, rows[static_cast<size_t>(i)]);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    const int before = rows[0] > 0 ? rows[0] - 1 : 0;
    FinishEdit(dialog, before < RowCount() ? before : -1);
}

// A failed or declined save keeps the editor open with every edit.
void OnSave(HWND dialog) {
    if (!SaveDutiesFromList(list)) return;
    PostMessageA(GetWindow(dialog, GW_OWNER), WM_COMMAND, CMD_RELOAD_LIST, 0);
    CloseEditor(dialog);
}

void OnDiscard(HWND dialog) {
    if (dirty && MessageBoxA(dialog, LoadStr(1510), LoadStr(1020),
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    CloseEditor(dialog);
}

void OnEscape(HWND dialog) {
    if (!dirty) {
        CloseEditor(dialog);
        return;
    }
    const int answer = MessageBoxA(dialog, LoadStr(1520), LoadStr(1020), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) Send(dialog, IDC_LIST_SAVE);
    if (answer == IDNO) CloseEditor(dialog);
}

void OnNestedWindow(HWND dialog, int id) {
    Send(dialog, CMD_LIST_DISABLE_BUTTONS);
    if (id == IDC_LIST_PREFERENCES) {
        SendMessageA(GetWindow(dialog, GW_OWNER), WM_COMMAND, CMD_PREFERENCES, 0);
    } else {
        ShowFilesDialog(dialog);
    }
    Send(dialog, CMD_LIST_ENABLE_BUTTONS);
}

void OnRefresh(HWND dialog) {
    char count[16];
    std::snprintf(count, sizeof count, "%d", RowCount());
    SetDlgItemTextA(dialog, IDC_LIST_COUNT, count);
    if (RowsOverflow(list)) {
        RECT client;
        GetClientRect(list, &client);
        const int first = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(client.right - first, 0));
    } else {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    }
}

void EnableButtons(HWND dialog, bool enabled) {
    buttonsHeld = !enabled;
    for (int id : kButtons) {
        if (!enabled || (id != IDC_LIST_DELETE && id != IDC_LIST_MODIFY))
            EnableWindow(GetDlgItem(dialog, id), enabled);
    }
    if (enabled) Post(dialog, CMD_LIST_SELECTION_BUTTONS);
}

void OnSelectionButtons(HWND dialog) {
    selectionUpdatePosted = false;
    if (buttonsHeld || list == nullptr) return;
    const int selected = SelectedCount();
    EnableWindow(GetDlgItem(dialog, IDC_LIST_DELETE), selected >= 1);
    EnableWindow(GetDlgItem(dialog, IDC_LIST_MODIFY), selected == 1);
}

void OnCommand(HWND dialog, int id) {
    if (list == nullptr && id != IDCANCEL && id != IDC_LIST_DISCARD) return;
    switch (id) {
        case IDOK:
            if (GetFocus() == list) Post(dialog, IDC_LIST_MODIFY);
            break;
        case IDCANCEL:
            OnEscape(dialog);
            break;
        case IDC_LIST_ADD:
            OnAdd(dialog);
            break;
        case IDC_LIST_MODIFY:
            OnModify(dialog, kEditorModify);
            break;
        case IDC_LIST_DUPLICATE:
            OnModify(dialog, kEditorDuplicate);
            break;
        case IDC_LIST_DELETE:
            OnDelete(dialog);
            break;
        case IDC_LIST_SAVE:
            OnSave(dialog);
            break;
        case IDC_LIST_DISCARD:
            OnDiscard(dialog);
            break;
        case IDC_LIST_PREFERENCES:
        case IDC_LIST_FILES:
            OnNestedWindow(dialog, id);
            break;
        case CMD_LIST_RELEASE:
            Release();
            break;
        case CMD_LIST_REFRESH:
            OnRefresh(dialog);
            break;
        case CMD_LIST_SELECTION_BUTTONS:
            OnSelectionButtons(dialog);
            break;
        case CMD_LIST_ENABLE_BUTTONS:
            EnableButtons(dialog, true);
            break;
        case CMD_LIST_DISABLE_BUTTONS:
            EnableButtons(dialog, false);
            break;
        default:
            break;
    }
}

void ShowContextMenu(HWND dialog) {
    const UINT state = SelectedCount() > 0 ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(contextMenu, IDC_LIST_MODIFY, MF_BYCOMMAND | state);
    EnableMenuItem(contextMenu, IDC_LIST_DELETE, MF_BYCOMMAND | state);
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(contextMenu, TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr);
}

// One-off events dated before today are drawn struck through in dark red.
LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        today = DayNumber(LocalToday());
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const DutyRowData* row = reinterpret_cast<const DutyRowData*>(draw->nmcd.lItemlParam);
    if (row == nullptr || row->yearly || DayNumber(row->year, row->month, row->day) >= today)
        return CDRF_DODEFAULT;
    draw->clrText = kPastOneOffColour;
    SelectObject(draw->nmcd.hdc, strikeFont);
    return CDRF_NEWFONT;
}

// Returns true with the notification's result in `result` when handled.
bool OnListNotify(HWND dialog, NMHDR* header, LRESULT* result) {
    *result = 0;
    switch (header->code) {
        case LVN_KEYDOWN: {
            const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
            if (key == VK_INSERT) Post(dialog, IDC_LIST_ADD);
            if (key == VK_DELETE) Post(dialog, IDC_LIST_DELETE);
            if (key == VK_F2) Post(dialog, IDC_LIST_MODIFY);
            return true;
        }
        case NM_DBLCLK:
            Post(dialog, IDC_LIST_MODIFY);
            return true;
        case NM_RCLICK:
            ShowContextMenu(dialog);
            return true;
        case LVN_ITEMCHANGED:
            if (!selectionUpdatePosted) Post(dialog, CMD_LIST_SELECTION_BUTTONS);
            selectionUpdatePosted = true;
            return true;
        case NM_CUSTOMDRAW:
            *result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
            return true;
        default:
            return false;
    }
}

// Texts are compared as the user reads them, in UTF-16; a message or a find
// text has fewer units than bytes.
struct SearchText {
    wchar_t units[kMessageSize];
    int length;
};

// `text` as a search compares it: upper-cased unless the case counts.
void SearchForm(const char* text, bool matchCase, SearchText* form) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, form->units, kMessageSize);
    form->length = n > 0 ? n - 1 : 0;
    form->units[form->length] = L'\0';
    if (!matchCase && form->length > 0) {
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, form->units, form->length, form->units, form->length);
    }
}

// Only the first occurrence counts; as a whole word it must end the message
// or stand before whitespace.
bool MessageMatches(const char* message, const SearchText& wanted, DWORD flags) {
    SearchText text;
    SearchForm(message, (flags & FR_MATCHCASE) != 0, &text);
    const wchar_t* at = std::wcsstr(text.units, wanted.units);
    if (at == nullptr) return false;
    const wchar_t after = at[wanted.length];
    return !(flags & FR_WHOLEWORD) || after == L'\0' || std::iswspace(after);
}

// Looks through every row once, from the first selected one on, in the
// search's direction and round the end of the list. A match in the row that
// is already selected only counts when nothing else matches: then a beep.
void FindNextMessage(const char* text, DWORD flags) {
    const int n = RowCount();
    const std::vector<int> selected = SelectedRows();
    const int start = selected.empty() ? 0 : selected[0];
    SearchText wanted;
    SearchForm(text, (flags & FR_MATCHCASE) != 0, &wanted);
    bool startMatched = false;
    for (int i = start, k = 0; k < n; ++k, i = (flags & FR_DOWN) ? (i + 1) % n : (i + n - 1) % n) {
        const DutyRowData* row = DutyRowOf(list, i);
        if (row == nullptr || !MessageMatches(row->message, wanted, flags)) continue;
        if (i == start && !selected.empty()) {
            startMatched = true;
            continue;
        }
        SelectOnly(i);
        return;
    }
    if (startMatched) {
        ++findBeepCount;
        MessageBeep(MB_ICONEXCLAMATION);
    } else {
        MessageBoxA(FindDialogHandle, LoadStr(1540), kProgramName, MB_OK | MB_ICONWARNING);
    }
}

void OpenFind(HWND dialog) {
    findRequest.Flags = FR_DOWN | FR_ENABLEHOOK;
    EnableWindow(dialog, FALSE);
    FindDialogHandle = FindTextA(&findRequest);
    if (FindDialogHandle == nullptr) EnableWindow(dialog, TRUE);
}

void OnFindMessage(HWND dialog, const FINDREPLACEA* request) {
    if (request->Flags & FR_DIALOGTERM) {
        FindDialogHandle = nullptr;
        // Enabled before the Find dialog goes, so that the editor is active again.
        EnableWindow(dialog, TRUE);
    } else if (request->Flags & FR_FINDNEXT) {
        FindNextMessage(request->lpstrFindWhat, request->Flags);
    }
}

bool OverFindIcon(HWND dialog, POINT point) {
    const RECT icon = ChildRect(dialog, GetDlgItem(dialog, IDC_LIST_FIND));
    return PtInRect(&icon, point) != 0;
}

// A click that reaches the dialog itself: on the find icon, a label or the background.
void OnClick(HWND dialog, POINT point) {
    if (OverFindIcon(dialog, point)) {
        if (FindDialogHandle == nullptr) OpenFind(dialog);
        return;
    }
    if (list == nullptr) return;
    SelectRows(list, nullptr, 0);
    Post(dialog, CMD_LIST_SELECTION_BUTTONS);
}

// The answer to a message whose result the dialog manager reads from DWLP_MSGRESULT.
BOOL Result(HWND dialog, LRESULT result) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL OnSetCursor(HWND dialog, int hitTest) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(dialog, &point);
    if (hitTest != HTCLIENT || FindDialogHandle != nullptr || !OverFindIcon(dialog, point)) return FALSE;
    SetCursor(handCursor);
    return Result(dialog, TRUE);
}

}  // namespace

HWND OpenListEditor(HWND owner, HWND due) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    if (instance == nullptr) instance = GetModuleHandleA(nullptr);
    return CreateDialogParamA(instance, "EditDuties", owner, ListEditorProc, reinterpret_cast<LPARAM>(due));
}

INT_PTR CALLBACK ListEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && findTip != nullptr) {
        MSG mouse = {dialog, message, wParam, lParam, 0, {0, 0}};
        SendMessageA(findTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&mouse));
    }
    if (findMessage != 0 && message == findMessage) {
        OnFindMessage(dialog, reinterpret_cast<const FINDREPLACEA*>(lParam));
        return TRUE;
    }
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog, reinterpret_cast<HWND>(lParam));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam));
            return TRUE;
        case DM_GETDEFID:
            // Enter on the list modifies its event; elsewhere it saves.
            if (list != nullptr && GetFocus() == list) return Result(dialog, MAKELONG(IDOK, DC_HASDEFID));
            return FALSE;
        case WM_NOTIFY: {
            NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
            LRESULT result;
            if (list == nullptr || header->hwndFrom != list || !OnListNotify(dialog, header, &result))
                return FALSE;
            return Result(dialog, result);
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            OnClick(dialog, point);
            return TRUE;
        }
        case WM_SETCURSOR:
            return OnSetCursor(dialog, LOWORD(lParam));
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_LIST_FIND || findGlyph == nullptr) return FALSE;
            DrawKeyedBitmap(item->hDC, findGlyph, 0, 0, kGlyphKeyColour);
            return TRUE;
        }
        case WM_DESTROY:
            // Also when it goes with its owner, without the close sequence.
            Release();
            list = nullptr;
            if (ListEditorHandle == dialog) ListEditorHandle = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}
