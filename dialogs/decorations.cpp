#include "dialogs/decorations.h"

#include <commctrl.h>

#include <cstring>

RECT ChildRect(HWND dialog, HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND AddTooltip(HWND dialog, int controlId, const char* text, bool relayed) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND tooltip = CreateWindowExA(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance, nullptr);
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);

    // The tool is a rectangle of the dialog rather than the control: the
    // pictures it serves let the mouse through to the dialog.
    RECT rect = ChildRect(dialog, GetDlgItem(dialog, controlId));
    TOOLINFOA tool;
    std::memset(&tool, 0, sizeof tool);
    // The first version of the record holds every field filled in here.
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = relayed ? 0 : TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = 0;
    tool.rect = rect;
    tool.hinst = instance;
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return tooltip;
}

void DrawKeyedBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ sourceBefore = SelectObject(source, bitmap);
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(source, &size, 1);
    const int w = size.x, h = size.y;

    HDC mask = CreateCompatibleDC(dc);
    HDC inverse = CreateCompatibleDC(dc);
    HDC composite = CreateCompatibleDC(dc);
    HDC saved = CreateCompatibleDC(dc);
    HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP inverseBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP compositeBitmap = CreateCompatibleBitmap(dc, w, h);
    HBITMAP savedBitmap = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ maskBefore = SelectObject(mask, maskBitmap);
    HGDIOBJ inverseBefore = SelectObject(inverse, inverseBitmap);
    HGDIOBJ compositeBefore = SelectObject(composite, compositeBitmap);
    HGDIOBJ savedBefore = SelectObject(saved, savedBitmap);
    SetMapMode(source, GetMapMode(dc));

    BitBlt(saved, 0, 0, w, h, source, 0, 0, SRCCOPY);
    // Copying colour to monochrome turns the background colour white and
    // everything else black.
    COLORREF background = SetBkColor(source, key);
    BitBlt(mask, 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, background);
    BitBlt(inverse, 0, 0, w, h, mask, 0, 0, NOTSRCCOPY);

    BitBlt(composite, 0, 0, w, h, dc, x, y, SRCCOPY);
    BitBlt(composite, 0, 0, w, h, mask, 0, 0, SRCAND);  // the target where the key was
    BitBlt(source, 0, 0, w, h, inverse, 0, 0, SRCAND);  // the image where it was not
    BitBlt(composite, 0, 0, w, h, source, 0, 0, SRCPAINT);
    BitBlt(dc, x, y, w, h, composite, 0, 0, SRCCOPY);
    BitBlt(source, 0, 0, w, h, saved, 0, 0, SRCCOPY);

    SelectObject(mask, maskBefore);
    SelectObject(inverse, inverseBefore);
    SelectObject(composite, compositeBefore);
    SelectObject(saved, savedBefore);
    SelectObject(source, sourceBefore);
    DeleteObject(maskBitmap);
    DeleteObject(inverseBitmap);
    DeleteObject(compositeBitmap);
    DeleteObject(savedBitmap);
    DeleteDC(mask);
    DeleteDC(inverse);
    DeleteDC(composite);
    DeleteDC(saved);
    DeleteDC(source);
}
