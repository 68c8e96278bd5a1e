// Where the main window opens: the saved place and width when they still
// make sense on the screens there are now, else the defaults.
#pragma once

#include "app/prefs.h"

// A rectangle in screen pixels; right and bottom are exclusive.
struct ScreenRect {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr int kDefaultWindowWidth = 600;
// Narrower than this, the date and a few words of the message no longer fit.
constexpr int kMinWindowWidth = 200;
// How much of the title bar must lie on a screen for the user to take hold of it.
constexpr int kGraspableCaption = 64;

struct StartGeometry {
    bool centred;  // x and y mean nothing: the window is centred as with keepPosition off
    int x;
    int y;
    int width;
};

// The main window's place and width at start. `workAreas` are the work areas
// of the monitors there are now; `virtualWidth` is the width of all of them
// together. A saved place counts only when the title bar would lie on one of
// them; a width too narrow to use or wider than all screens is replaced by
// the default.
StartGeometry ChooseStartGeometry(const Prefs& prefs, const ScreenRect* workAreas, int areaCount,
                                  int virtualWidth, int captionHeight);

// A window placement's rectangle in screen coordinates. Windows gives
// placements relative to the work area of the window's monitor, so a taskbar
// at the top or left shifts them by its size.
ScreenRect WorkspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea);
