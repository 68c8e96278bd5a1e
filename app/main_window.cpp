#include "app/main_window.h"

#include <shellapi.h>

#include <cstring>
#include <ctime>

#include "app/colours.h"
#include "app/import_export_win32.h"
#include "app/list_drawing.h"
#include "app/load_str.h"
#include "app/platform.h"
#include "app/startup_shortcut.h"
#include "app/state.h"
#include "app/tray_icon.h"
#include "app/win_state.h"
#include "app/window_placement.h"
#include "app/window_title.h"
#include "dialogs/about_dialog.h"
#include "dialogs/event_editor.h"
#include "dialogs/list_editor.h"
#include "dialogs/preferences.h"
#include "dialogs/reminder_popup.h"
#include "model/due_list.h"
#include "resources/resource_ids.h"
#include "storage/events_save.h"
#include "storage/events_undo.h"
#include "storage/prefs_file.h"

HWND listBox = nullptr;
int beepCount = 0;
int lastBuildCount = 0;
int dayChangedKept = 99;

namespace {
WNDPROC previousListProc = nullptr;
HMENU mainMenu = nullptr;
HMENU contextMenu = nullptr;
HMENU trayMenu = nullptr;
HCURSOR handCursor = nullptr;
int trackingLeave = 0;
int menuOpen = 0;
TRACKMOUSEEVENT leaveRequest;
int lastDay = 0;
// A rebuild can show a message box, whose modal loop delivers the next
// posted rebuild; that one waits until the running one has finished.
bool rebuilding = false;
bool rebuildWanted = false;
// Windows ends the process after WM_ENDSESSION without a WM_DESTROY.
bool sessionEnded = false;

int TodayDayOfMonth() {
    time_t now = PlatformNow();
    struct tm* local = std::localtime(&now);
    return local ? local->tm_mday : 0;
}

void SoundBeep() {
    ++beepCount;
    MessageBeep(0);
}

void PostCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

// The cursor in the main window's client coordinates.
POINT CursorInClient(HWND window) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    return point;
}

// The row under `point`, or -1 when the point is below the last row.
int RowAt(POINT point) {
    LRESULT hit = SendMessageA(listBox, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit) != 0) return -1;
    return static_cast<int>(LOWORD(hit));
}

const DueItem* SelectedRow() {
    LRESULT index = SendMessageA(listBox, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return nullptr;
    LRESULT data = SendMessageA(listBox, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR) return nullptr;
    return reinterpret_cast<const DueItem*>(data);
}

void ClearSelection() { SendMessageA(listBox, LB_SETCURSEL, static_cast<WPARAM>(-1), 0); }

bool HasNotes(const DueItem* row) { return row != nullptr && row->notes[0] != '\0'; }

LRESULT CALLBACK ListSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) {
        SendMessageA(GetParent(window), message, wParam, lParam);
    }
    return CallWindowProcA(previousListProc, window, message, wParam, lParam);
}

void BuildMenus(HWND window) {
    contextMenu = CreatePopupMenu();
    AppendMenuA(contextMenu, MF_STRING, CMD_ADD_EVENT, LoadStr(1102));
    AppendMenuA(contextMenu, MF_STRING, CMD_EDIT_EVENTS, LoadStr(1115));
    AppendMenuA(contextMenu, MF_STRING, CMD_UNDO_CHANGE, LoadStr(kUndoItemText));
    AppendMenuA(contextMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(contextMenu, MF_STRING, CMD_IMPORT, LoadStr(kImportItemText));
    AppendMenuA(contextMenu, MF_STRING, CMD_EXPORT, LoadStr(kExportItemText));
    AppendMenuA(contextMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(contextMenu, MF_STRING, CMD_PREFERENCES, LoadStr(1120));
    AppendMenuA(contextMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(contextMenu, MF_STRING, CMD_ABOUT, LoadStr(1130));

    trayMenu = CreatePopupMenu();
    AppendMenuA(trayMenu, MF_STRING, CMD_SHOW, LoadStr(1125));
    AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(trayMenu, MF_STRING, CMD_EDIT_EVENTS, LoadStr(1115));
    AppendMenuA(trayMenu, MF_STRING, CMD_UNDO_CHANGE, LoadStr(kUndoItemText));
    AppendMenuA(trayMenu, MF_STRING, CMD_PREFERENCES, LoadStr(1120));
    AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(trayMenu, MF_STRING, CMD_EXIT, LoadStr(1080));
    SetMenuDefaultItem(trayMenu, 0, TRUE);

    HMENU systemMenu = GetSystemMenu(window, FALSE);
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, CMD_EDIT_EVENTS, LoadStr(1115));
    AppendMenuA(systemMenu, MF_STRING, CMD_IMPORT, LoadStr(kImportItemText));
    AppendMenuA(systemMenu, MF_STRING, CMD_EXPORT, LoadStr(kExportItemText));
    AppendMenuA(systemMenu, MF_STRING, CMD_PREFERENCES, LoadStr(1120));
    AppendMenuA(systemMenu, MF_STRING, CMD_ABOUT, LoadStr(1130));

    mainMenu = GetMenu(window);
}

// Runs the event editor on `duty`; true when the user confirmed an event.
bool EditEvent(HWND window, Duty* duty) {
    INT_PTR result =
        DialogBoxParamA(appInstance, "EditDuty", window, EventEditorProc, reinterpret_cast<LPARAM>(duty));
    return result == 1 && duty->daysLeft == kEditorConfirmed;
}

void OnCreate(HWND window, const CREATESTRUCTA* create) {
    mainWindow = window;
    SendMessageA(window, WM_COMMAND, CMD_USER_COLOURS, 0);
    appInstance = create->hInstance;
    handCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
    if (backgroundBrush == nullptr) backgroundBrush = CreateSolidBrush(SchemeBackground(prefs.colourScheme));

    RECT client;
    GetClientRect(window, &client);
    listBox = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE |
                                  LBS_NOINTEGRALHEIGHT,
                              0, 0, client.right, client.bottom, window, nullptr, appInstance, nullptr);
    SendMessageA(listBox, WM_SETFONT, reinterpret_cast<WPARAM>(listFontHandle), TRUE);
    previousListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(listBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListSubclassProc)));

    lastDay = TodayDayOfMonth();
    SetTimer(window, TIMER_DAY_CHECK, 30000, nullptr);

    BuildMenus(window);

    std::memset(&leaveRequest, 0, sizeof leaveRequest);
    leaveRequest.cbSize = sizeof leaveRequest;
    leaveRequest.dwFlags = TME_LEAVE;
    leaveRequest.hwndTrack = listBox;
    leaveRequest.dwHoverTime = HOVER_DEFAULT;
    trackingLeave = 0;
    menuOpen = 0;
    sessionEnded = false;

    UpgradeEventsFile();
    PostCommand(window, CMD_RELOAD_LIST);
    if (prefs.showTrayIcon) SendMessageA(window, MSG_TRAY_ICON, NIM_ADD, 0);
    if (!prefs.keepPosition) CentreWindow(window, true);
}

void OnDestroy(HWND window) {
    if (!sessionEnded) SaveMainWindowPrefs();
    DestroyMenu(trayMenu);
    trayMenu = nullptr;
    DestroyMenu(contextMenu);
    contextMenu = nullptr;
    DeleteObject(backgroundBrush);
    backgroundBrush = nullptr;
    KillTimer(window, TIMER_AUTO_CLOSE);
    KillTimer(window, TIMER_DAY_CHECK);
    PostQuitMessage(0);
}

int WindowHeight(int rows, int rowHeight) {
    int height = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) + 4;
    if (!prefs.hideMenuBar) height += GetSystemMetrics(SM_CYMENU);
    height += rowHeight * rows;
    int limit = GetSystemMetrics(SM_CYFULLSCREEN);
    return height >= limit ? limit : height;
}

void RebuildList(HWND window) {
    DeleteObject(backgroundBrush);
    backgroundBrush = CreateSolidBrush(SchemeBackground(prefs.colourScheme));

    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    SendMessageA(listBox, WM_SETFONT, reinterpret_cast<WPARAM>(listFontHandle), TRUE);
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);

    int buildCount = 0;
    DueItem* head = BuildDueList(&buildCount);
    if (buildCount != 0) lastBuildCount = buildCount;

    if (head == nullptr) {
        if (silentStart) {
            SendMessageA(window, WM_CLOSE, 0, 0);
            // Without a tray icon that ended the program: nothing is left to update.
            if (!IsWindow(window)) return;
        } else {
            SetTimer(window, TIMER_AUTO_CLOSE, 3000, nullptr);
        }
    } else {
        ShowWindow(window, SW_RESTORE);
        if (silentStart && buildCount == 1) SoundBeep();
        for (DueItem* row = head; row != nullptr; row = row->next) {
            SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
        }
    }

    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    SetWindowTextA(window, MainWindowTitle());
    if (DayChanged()) SoundBeep();
    SetMenu(window, prefs.hideMenuBar ? nullptr : mainMenu);

    int rowHeight = static_cast<int>(SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0));
    int rows = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
    if (rowHeight < 0) rowHeight = 0;
    if (rows < 0) rows = 0;
    SetWindowPos(window, HWND_TOP, 0, 0, prefs.windowWidth, WindowHeight(rows, rowHeight), SWP_NOMOVE);
    SetTopmost(window, prefs.alwaysOnTop != 0);
}

void OnReloadList(HWND window) {
    if (rebuilding) {
        rebuildWanted = true;
        return;
    }
    rebuilding = true;
    RebuildList(window);
    rebuilding = false;
    if (rebuildWanted && IsWindow(window)) PostCommand(window, CMD_RELOAD_LIST);
    rebuildWanted = false;
}

// Where the keyboard's context menu opens: under the selected row, or at the
// top of the list when no row is selected or the row is scrolled away.
POINT KeyboardMenuPoint() {
    RECT client, row = {0, 0, 0, 0};
    GetClientRect(listBox, &client);
    LRESULT index = SendMessageA(listBox, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) {
        SendMessageA(listBox, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    }
    POINT point = {0, row.bottom > 0 && row.bottom <= client.bottom ? row.bottom : 0};
    ClientToScreen(listBox, &point);
    return point;
}

// `position` is the mouse in screen coordinates, or -1 for the keyboard
// (Shift+F10, the menu key).
void OnContextMenu(HWND window, LPARAM position) {
    userPresent = 1;
    closeModeless(&PopupHandle);
    const bool fromKeyboard =
        static_cast<short>(LOWORD(position)) == -1 && static_cast<short>(HIWORD(position)) == -1;
    if (!fromKeyboard && SendMessageA(listBox, LB_GETCOUNT, 0, 0) > 0) {
        int row = RowAt(CursorInClient(window));
        if (row >= 0) {
            ClearSelection();
            SendMessageA(listBox, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        } else {
            ClearSelection();
        }
    }
    POINT screen;
    if (fromKeyboard) {
        screen = KeyboardMenuPoint();
    } else {
        GetCursorPos(&screen);
    }
    menuOpen = 1;
    TrackPopupMenu(contextMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
    menuOpen = 0;
}

void OnMouseMove(HWND window) {
    if (PopupHandle != nullptr) return;
    if (!trackingLeave) {
        TrackMouseEvent(&leaveRequest);
        trackingLeave = 1;
    }
    if (SendMessageA(listBox, LB_GETCOUNT, 0, 0) <= 0) return;
    POINT point = CursorInClient(window);
    int row = RowAt(point);
    if (row < 0) return;
    if (SendMessageA(listBox, LB_GETCURSEL, 0, 0) != row) {
        SendMessageA(listBox, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    }
    LRESULT data = SendMessageA(listBox, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    const DueItem* item = data == LB_ERR ? nullptr : reinterpret_cast<const DueItem*>(data);
    if (HasNotes(item) && noteLeft < point.x && point.x < noteRight) SetCursor(handCursor);
}

void OnTrayNotify(HWND window, LPARAM mouseMessage) {
    userPresent = 1;
    if (mouseMessage == WM_LBUTTONDOWN) {
        LONG style = GetWindowLongA(window, GWL_STYLE);
        if ((style & WS_VISIBLE) && !(style & WS_MINIMIZE)) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        } else {
            PostCommand(window, CMD_SHOW);
        }
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        POINT screen;
        GetCursorPos(&screen);
        SetForegroundWindow(window);
        TrackPopupMenu(trayMenu, TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
        PostMessageA(window, WM_NULL, 0, 0);
    }
}

void OnTimer(HWND window, WPARAM id) {
    if (id == TIMER_AUTO_CLOSE) {
        KillTimer(window, TIMER_AUTO_CLOSE);
        if (!userPresent) SendMessageA(window, WM_CLOSE, 0, 0);
    } else if (id == TIMER_TRAY_RETRY) {
        RetryTrayIcon(window);
    } else if (id == TIMER_DAY_CHECK) {
        int today = TodayDayOfMonth();
        if (today != lastDay) {
            lastDay = today;
            SetForegroundWindow(window);
            PostCommand(window, CMD_RELOAD_LIST);
        }
    }
}

// The dialog has saved the preferences and posted the rebuild, which runs
// after these steps and re-applies the rest of the window options.
void OnPreferences(HWND window) {
    HWND owner = ListEditorHandle != nullptr ? ListEditorHandle : window;
    if (RunPreferences(owner) != 1) return;
    SendMessageA(window, MSG_TRAY_ICON, prefs.showTrayIcon ? NIM_ADD : NIM_DELETE, 0);
    if (!prefs.showTrayIcon) ShowWindow(window, SW_SHOW);  // nothing else would bring it back
    UpdateStartupShortcut(prefs.startWithSystem);
    SendMessageA(window, WM_COMMAND, CMD_USER_COLOURS, 0);
}

// The list editor, over the disabled main window; a second request brings
// the open one forward.
void OnEditEvents(HWND window) {
    EnableWindow(window, FALSE);
    if (ListEditorHandle == nullptr) ListEditorHandle = OpenListEditor(window, listBox);
    if (ListEditorHandle == nullptr) {
        EnableWindow(window, TRUE);  // or nothing could ever enable it again
    } else {
        SetForegroundWindow(ListEditorHandle);
    }
}

// Undo is open only when there is a version to put back, and not while the
// list editor holds the events in memory: its save would write over the undo.
bool UndoAllowed() {
    EventsVersion version;
    return ListEditorHandle == nullptr && FindUndoVersion(&version);
}

void OnInitMenuPopup(HMENU menu) {
    if (GetMenuState(menu, CMD_UNDO_CHANGE, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
    EnableMenuItem(menu, CMD_UNDO_CHANGE, MF_BYCOMMAND | (UndoAllowed() ? MF_ENABLED : MF_GRAYED));
}

// The commands of menus and of other parts of the program. Returns false for
// an id the window does not handle (or a command that does not apply now),
// which then goes to the default procedure.
bool OnCommand(HWND window, int id) {
    switch (id) {
    case CMD_VIEW_NOTE: {
        userPresent = 1;
        const DueItem* row = SelectedRow();
        if (row == nullptr) return false;
        if (HasNotes(row)) {
            // A second request for the same row must not leave an orphan behind.
            closeModeless(&PopupHandle);
            PopupHandle = OpenReminderPopup(window, row);
        }
        return true;
    }
    case CMD_ADD_EVENT: {
        userPresent = 1;
        ClearSelection();
        Duty duty;
        std::memset(&duty, 0, sizeof duty);
        duty.daysLeft = kEditorNew;
        if (EditEvent(window, &duty)) AppendDuty(duty);
        return true;
    }
    case CMD_MODIFY_EVENT: {
        userPresent = 1;
        const DueItem* row = SelectedRow();
        if (row == nullptr) return false;
        // A copy: a rebuild while the editor is open frees the rows.
        Duty duty = *row;
        duty.daysLeft = kEditorModify;
        if (EditEvent(window, &duty)) ReplaceDutyLine(duty);
        return true;
    }
    case CMD_EDIT_EVENTS:
        userPresent = 1;
        OnEditEvents(window);
        return true;
    case CMD_PREFERENCES:
        userPresent = 1;
        ClearSelection();
        OnPreferences(window);
        return true;
    case CMD_ABOUT:
        userPresent = 1;
        ClearSelection();
        ShowAboutDialog(window);
        return true;
    case CMD_IMPORT:
        userPresent = 1;
        ClearSelection();
        ImportChosenFile(window);
        return true;
    case CMD_EXPORT:
        userPresent = 1;
        ClearSelection();
        ExportToChosenFile(window);
        return true;
    case CMD_UNDO_CHANGE:
        userPresent = 1;
        ClearSelection();
        if (ListEditorHandle == nullptr) UndoLastChange();
        return true;
    case CMD_CLOSE:
        userPresent = 1;
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case CMD_EXIT:
        // The list editor's edits are not lost unasked: it closes first, as on Esc.
        if (ListEditorHandle != nullptr) SendMessageA(ListEditorHandle, WM_COMMAND, IDCANCEL, 0);
        if (ListEditorHandle == nullptr) SendMessageA(window, WM_DESTROY, 0, 0);
        return true;
    case CMD_SHOW:
        ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
        return true;
    case CMD_RELOAD_LIST:
        OnReloadList(window);
        return true;
    case CMD_USER_COLOURS:
        ApplyUserColours();
        return true;
    default:
        return false;
    }
}

void OnListNotification(HWND window, int code) {
    if (code == LBN_SELCHANGE) {
        userPresent = 1;
        closeModeless(&PopupHandle);
        POINT point = CursorInClient(window);
        if (noteLeft < point.x && point.x < noteRight) PostCommand(window, CMD_VIEW_NOTE);
    } else if (IsKeyDown(VK_CONTROL)) {
        PostCommand(window, CMD_MODIFY_EVENT);
    } else {
        PostMessageA(window, WM_CONTEXTMENU, 0, 0);
    }
}

void OnClose(HWND window) {
    closeModeless(&PopupHandle);
    // Hidden without its icon, the window could not be reached again.
    ShowWindow(window, TrayIconShown() ? SW_HIDE : SW_MINIMIZE);
}

void OnEndSession(bool ending) {
    if (!ending || sessionEnded) return;
    SaveMainWindowPrefs();
    sessionEnded = true;
}
}  // namespace

int SaveMainWindowPrefs() {
    if (mainWindow != nullptr && IsWindow(mainWindow)) StoreNormalPlacement(mainWindow, true, true);
    return SavePrefs();
}

void closeModeless(HWND* handle) {
    if (*handle == nullptr) return;
    EnableWindow(GetParent(*handle), TRUE);
    DestroyWindow(*handle);
    *handle = nullptr;
}

POINT CentredOrigin(const RECT& desktop, int width, int height, bool upper) {
    int dx = (desktop.right - desktop.left - width) / 2;
    int dy = (desktop.bottom - desktop.top - height) / 2;
    if (upper) dy = static_cast<int>(static_cast<float>(dy) * 0.3f);
    int x = desktop.left + dx;
    int y = desktop.top + dy;
    if (dx < 0 || dy < 0) {
        x = dx > 0 ? dx : 0;
        y = dy > 0 ? dy : 0;
    }
    // The left edge on the nearest multiple of 8 (a remainder of 4 rounds up).
    int shifted = x + 4;
    int remainder = ((shifted % 8) + 8) % 8;
    POINT origin = {shifted - remainder, y};
    return origin;
}

void CentreWindow(HWND window, bool upper) {
    RECT frame, desktop;
    GetWindowRect(window, &frame);
    GetWindowRect(GetDesktopWindow(), &desktop);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    POINT origin = CentredOrigin(desktop, width, height, upper);
    MoveWindow(window, origin.x, origin.y, width, height, TRUE);
}

void SetTopmost(HWND window, bool on) {
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool IsKeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

bool DayChanged() {
    int today = TodayDayOfMonth();
    bool changed = dayChangedKept != 99 && today != dayChangedKept;
    dayChangedKept = today;
    return changed;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Registered messages lie at 0xC000 and above.
    if (message >= 0xC000 && message == TaskbarCreatedMessage() && prefs.showTrayIcon) {
        AddTrayIcon(window);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_MOVE:
        StoreNormalPlacement(window, true, false);
        return 0;
    case WM_SIZE:
        if (listBox) MoveWindow(listBox, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        StoreNormalPlacement(window, false, true);
        return 0;
    case WM_CLOSE:
        if (prefs.showTrayIcon) {
            OnClose(window);
            return 0;
        }
        if (!sessionEnded) SaveMainWindowPrefs();
        break;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTBOX) break;
        MeasureListItem(window, item);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_LISTBOX) break;
        return DrawListItem(item);
    }
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(backgroundBrush);
    case WM_CONTEXTMENU:
        // Not on to the default: on the title bar it would show the system menu next.
        OnContextMenu(window, lParam);
        return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
        userPresent = 1;
        closeModeless(&PopupHandle);
        break;
    case WM_COMMAND: {
        // An accelerator's code is 1 as well, so the sender tells a list
        // notification from a command.
        int code = HIWORD(wParam);
        if (listBox != nullptr && reinterpret_cast<HWND>(lParam) == listBox) {
            if (code != LBN_SELCHANGE && code != LBN_DBLCLK) break;
            OnListNotification(window, code);
            return 0;
        }
        if (OnCommand(window, LOWORD(wParam))) return 0;
        break;
    }
    case WM_SYSCOMMAND: {
        int id = LOWORD(wParam);
        if (id == CMD_EDIT_EVENTS || id == CMD_PREFERENCES || id == CMD_ABOUT || id == CMD_IMPORT ||
            id == CMD_EXPORT) {
            userPresent = 1;
            PostCommand(window, id);
            return 0;
        }
        break;
    }
    case WM_TIMER:
        if (wParam == TIMER_AUTO_CLOSE || wParam == TIMER_DAY_CHECK || wParam == TIMER_TRAY_RETRY) {
            OnTimer(window, wParam);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        if (PopupHandle != nullptr) break;
        OnMouseMove(window);
        return 0;
    case WM_MOUSELEAVE:
        trackingLeave = 0;
        if (PopupHandle == nullptr && !menuOpen) ClearSelection();
        return 0;
    case MSG_TRAY_NOTIFY:
        OnTrayNotify(window, lParam);
        break;
    case MSG_TRAY_ICON:
        if (wParam == NIM_ADD) AddTrayIcon(window);
        if (wParam == NIM_DELETE) RemoveTrayIcon(window);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
