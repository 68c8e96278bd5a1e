// The main window's place on the screen: read for the preferences, and
// checked against the monitors at start.
#pragma once

#include <windows.h>

#include "app/start_geometry.h"

// The window's normal (restored) rectangle in screen coordinates, also while
// it is minimised, maximised or hidden. False when it cannot be read.
bool NormalScreenRect(HWND window, RECT* rect);

// Stores the normal rectangle's left and top (`position`) and width
// (`width`) in windowX, windowY and windowWidth.
void StoreNormalPlacement(HWND window, bool position, bool width);

// Where the main window opens, judged against the monitors there are now.
StartGeometry MainWindowStartGeometry();
