// Real mouse input, which the system hit-tests and delivers as a user's hand
// would.
#pragma once

#include <windows.h>

#include <utility>

inline POINT Centre(HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

// Moves the pointer as a mouse would (the system orders the move with the
// button presses around it) and waits until it rests there. Under Wine the
// desktop echoes the X server's report of the move late, and may set the
// pointer back where it was; the move is repeated once that echo is in.
inline bool MouseTo(POINT at) {
    auto restsThere = [at](int ms) {
        for (int waited = 0; waited < ms; waited += 20) {
            Sleep(20);
            POINT now;
            GetCursorPos(&now);
            if (now.x != at.x || now.y != at.y) return false;
        }
        return true;
    };
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (at.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (restsThere(20)) return true;
    for (int attempt = 0; attempt < 5; ++attempt) {
        SendInput(1, &input, sizeof input);
        Sleep(150);
        SendInput(1, &input, sizeof input);
        Sleep(100);
        if (restsThere(200)) return true;
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

// The hot spot of `cursor`, or of the cursor on screen: it tells cursors
// apart whichever copy of their resource the window loaded.
inline std::pair<int, int> HotSpot(HCURSOR cursor = nullptr) {
    CURSORINFO shown = {};
    shown.cbSize = sizeof shown;
    ICONINFO info = {};
    if (cursor == nullptr && GetCursorInfo(&shown)) cursor = shown.hCursor;
    if (!cursor || !GetIconInfo(cursor, &info)) return {-1, -1};
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return {static_cast<int>(info.xHotspot), static_cast<int>(info.yHotspot)};
}
