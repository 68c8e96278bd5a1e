// The Files dialog: where the events and preferences files lie, for a user
// who wants to copy them to another computer or back them up.
#pragma once

#include <windows.h>

// Runs the dialog modally over `owner` (the main window or the event list
// editor); it always ends with 1.
INT_PTR ShowFilesDialog(HWND owner);
