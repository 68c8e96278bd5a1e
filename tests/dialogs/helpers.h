// What the dialog tests share: reading controls, and real mouse input, which
// the system hit-tests and delivers as a user's hand would.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

inline std::string DlgText(HWND dialog, int id) {
    char text[8192] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The texts of `dialog`'s statics that do not show whole in their boxes, as
// the statics draw them (wrapped at words unless centred on one line), each
// with the width it would take in one line; empty when all fit.
inline std::string ClippedTexts(HWND dialog) {
    std::string clipped;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(child, className, sizeof className);
        wchar_t text[4096] = L"";
        int length = GetWindowTextW(child, text, 4096);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        if (lstrcmpiA(className, "Static") != 0 || length == 0 || (style & SS_TYPEMASK) > SS_RIGHT) continue;
        UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
        format |= (style & SS_CENTERIMAGE) ? DT_SINGLELINE : DT_WORDBREAK;
        RECT inside;
        GetClientRect(child, &inside);
        HDC dc = GetDC(child);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
        RECT need = {0, 0, inside.right, 0}, line = {0, 0, 0, 0};
        DrawTextW(dc, text, length, &need, format);
        DrawTextW(dc, text, length, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, previous);
        ReleaseDC(child, dc);
        if (need.bottom <= inside.bottom && need.right <= inside.right) continue;
        char utf8[8192];
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        clipped += "\"" + std::string(utf8) + "\" takes " + std::to_string(line.right) + " of " +
                   std::to_string(inside.right) + " px; ";
    }
    return clipped;
}

// The tooltip `dialog` owns and the text and rectangle of its one tool; null
// when there is none.
inline HWND TooltipOf(HWND dialog, std::string* text, RECT* rect) {
    HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    while (tooltip && GetWindow(tooltip, GW_OWNER) != dialog)
        tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr);
    char buffer[80] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.lpszText = buffer;
    if (tooltip == nullptr || SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0) != 1 ||
        !SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool))) {
        return nullptr;
    }
    *text = buffer;
    *rect = tool.rect;
    return tooltip;
}

// A control's rectangle in its dialog's client coordinates.
inline RECT ChildBox(HWND dialog, HWND child) {
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    return box;
}
inline RECT ChildBox(HWND dialog, int id) { return ChildBox(dialog, GetDlgItem(dialog, id)); }

inline POINT Centre(HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    POINT centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    return centre;
}

inline void SendMouseMove(POINT at) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

inline bool PointerRestsAt(POINT at, int ms) {
    for (int waited = 0; waited < ms; waited += 20) {
        Sleep(20);
        POINT now;
        GetCursorPos(&now);
        if (now.x != at.x || now.y != at.y) return false;
    }
    return true;
}

// Moves the pointer as a mouse would (the system orders the move with the
// button presses around it) and waits until it rests there. Under Wine the
// desktop echoes the X server's report of the move before, late, and may set
// the pointer back where it was; the move is repeated once that echo is in.
inline bool MouseTo(POINT at) {
    if (PointerRestsAt(at, 20)) return true;
    for (int attempt = 0; attempt < 5; ++attempt) {
        SendMouseMove(at);
        Sleep(150);
        SendMouseMove(at);
        Sleep(100);
        if (PointerRestsAt(at, 200)) return true;
    }
    return false;
}

// MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTDOWN...
inline void MouseButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}
