#include "dialogs/text_size.h"

#include <memory>
#include <new>

SIZE MeasureUtf8Text(HWND window, HFONT font, const char* text, int width, UINT format) {
    SIZE size = {0, 0};
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return size;
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[length]);
    if (!wide) return size;
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.get(), length);

    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, font);
    RECT box = {0, 0, width, 0};
    DrawTextW(dc, wide.get(), length - 1, &box, format | DT_CALCRECT);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    size.cx = box.right - box.left;
    size.cy = box.bottom - box.top;
    return size;
}
