// Measuring UTF-8 texts the way the controls draw them (through the wide
// functions: GDI's A calls would read the bytes in the font's code page).
#pragma once

#include <windows.h>

// The size DrawTextW gives `text` in `font` when its lines may be `width`
// pixels wide; `format` holds the DT_ flags the control draws with.
SIZE MeasureUtf8Text(HWND window, HFONT font, const char* text, int width, UINT format);
