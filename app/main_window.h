// The main window: the list of due events, its menus, timers and tray icon.
#pragma once

#include <windows.h>

#include "app/commands.h"

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Places a top-level window in the middle of the desktop, or in its upper
// part when `upper`, with its left edge on a multiple of 8 pixels.
void CentreWindow(HWND window, bool upper);
// Where CentreWindow puts the top-left corner of a window `width` x `height`.
POINT CentredOrigin(const RECT& desktop, int width, int height, bool upper);

void SetTopmost(HWND window, bool on);
bool IsKeyDown(int virtualKey);

// True when today is another day of the month than at the previous call;
// the first call is always false.
bool DayChanged();

// Closes the modeless dialog whose handle `handle` holds, if any: enables its
// owner, destroys it and clears the handle.
void closeModeless(HWND* handle);

// Stores the main window's normal placement in the preferences and writes
// the preferences file. Returns SavePrefs' result.
int SaveMainWindowPrefs();

// The list box (child id 0) of the main window.
extern HWND listBox;

// What the window tests observe: the beeps sounded, the build count of the
// last rebuild, and the day DayChanged last saw (99 before its first call).
extern int beepCount;
extern int lastBuildCount;
extern int dayChangedKept;
