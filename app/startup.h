// The steps of start-up and shut-down that WinMain runs in order.
#pragma once

#include <windows.h>

// "/C": removes the tray icon of the first running instance (any directory)
// and sends it WM_DESTROY, which saves its preferences and ends it. Gives up
// on an instance that does not answer within a few seconds.
void CloseRunningInstance();

// Counts the other main windows into `instanceNumber` (1 + their number) and
// returns the one serving `dirHash`'s directory, or null.
HWND FindSameDirectoryInstance();

// The EnumWindows callback of FindSameDirectoryInstance.
BOOL CALLBACK FindRunningInstance(HWND window, LPARAM unused);

void RegisterMainWindowClass(HINSTANCE instance);

// `dayFirst` from the user locale's short-date order; kept when unreadable.
void ReadLocaleDateOrder();

// Creates the list font and the main window (hidden; WM_CREATE runs inside),
// and marks the window with the directory hash. Returns the window.
HWND CreateMainWindow(HINSTANCE instance);

// Offers each message to the open modeless dialogs, then dispatches it.
// Returns the exit code carried by WM_QUIT.
int RunMessageLoop();

// After the loop: tray icon and window property removed.
void ShutDown();
