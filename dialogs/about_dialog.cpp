#include "dialogs/about_dialog.h"

#include <shellapi.h>

#include <cstring>

#include "app/main_window.h"
#include "app/win_state.h"
#include "dialogs/decorations.h"
#include "dialogs/text_size.h"
#include "resources/resource_ids.h"

HINSTANCE(WINAPI* shellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = ShellExecuteA;

namespace {
HCURSOR handCursor = nullptr;
HFONT linkFont = nullptr;
HBRUSH faceBrush = nullptr;

// An address wider than the link's box would be cut off: the box grows to
// the text, and "for updates" moves along to stay one blank behind it.
void FitLinkToAddress(HWND dialog) {
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    HWND after = GetDlgItem(dialog, IDC_ABOUT_AFTER_LINK);
    char address[256];
    GetWindowTextA(link, address, sizeof address);
    SIZE text = MeasureUtf8Text(link, linkFont, address, 0, DT_NOPREFIX | DT_SINGLELINE);
    RECT box = ChildRect(dialog, link);
    if (text.cx <= box.right - box.left) return;
    MoveWindow(link, box.left, box.top, text.cx, box.bottom - box.top, TRUE);
    RECT afterBox = ChildRect(dialog, after);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(after, WM_GETFONT, 0, 0));
    int left = box.left + text.cx + MeasureUtf8Text(after, font, " ", 0, DT_SINGLELINE).cx;
    // Its box is wider than its words: what would stick out of the dialog goes.
    RECT client;
    GetClientRect(dialog, &client);
    int width = afterBox.right - afterBox.left;
    if (left + width > client.right) width = client.right - left;
    MoveWindow(after, left, afterBox.top, width, afterBox.bottom - afterBox.top, TRUE);
}

BOOL OnInitDialog(HWND dialog) {
    handCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
    SendDlgItemMessageA(dialog, IDC_ABOUT_NAME, WM_SETFONT,
                        reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), TRUE);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)), sizeof description,
               &description);
    description.lfUnderline = TRUE;
    linkFont = CreateFontIndirectA(&description);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), TRUE);
    faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FitLinkToAddress(dialog);
    CentreWindow(dialog, false);
    return TRUE;
}

// The link answers the release of the button over it, wherever the press
// was: a press on it that ends elsewhere opens nothing.
bool OnSetCursor(HWND dialog, LPARAM lParam) {
    POINT pointer;
    GetCursorPos(&pointer);
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    RECT box;
    GetWindowRect(link, &box);
    if (!PtInRect(&box, pointer)) return false;
    SetCursor(handCursor);
    if (HIWORD(lParam) == WM_LBUTTONUP) {
        // Exactly what the link shows. A browser that does not start is not
        // worth a message: the address is there to read.
        char address[256];
        GetWindowTextA(link, address, sizeof address);
        shellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOWMAXIMIZED);
    }
    return true;
}

void OnDestroy() {
    DeleteObject(linkFont);
    linkFont = nullptr;
    DeleteObject(faceBrush);
    faceBrush = nullptr;
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_SETCURSOR:
        if (!OnSetCursor(dialog, lParam)) return FALSE;
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, IDC_ABOUT_LINK)) return FALSE;
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(faceBrush);
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    default:
        return FALSE;
    }
}
}  // namespace

INT_PTR ShowAboutDialog(HWND owner) { return DialogBoxParamA(appInstance, "About", owner, AboutProc, 0); }
