// The Preferences dialog: warning limits, window options, colour scheme,
// weekday column and list font, with a live preview of sample list rows.
// Nothing reaches the preferences before Apply.
#pragma once

#include <windows.h>

// Runs the dialog modally over `owner`. Returns 1 after Apply (the
// preferences are changed and saved, and a rebuild of the list is posted to
// the main window) and 2 after Cancel.
INT_PTR RunPreferences(HWND owner);

INT_PTR CALLBACK PreferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The six sample rows of the preview in the font selected into `dc`, within
// `area` (left 0), in the text colours `past`, `today` and `future`.
void DrawPreviewRows(HDC dc, const RECT& area, COLORREF past, COLORREF today, COLORREF future,
                     bool showWeekday);
