#include "app/window_placement.h"

#include "app/state.h"

namespace {
constexpr int kMaxMonitors = 16;

struct WorkAreaList {
    ScreenRect areas[kMaxMonitors];
    int count;
};

ScreenRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    WorkAreaList* list = reinterpret_cast<WorkAreaList*>(data);
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) list->areas[list->count++] = FromRect(info.rcWork);
    return list->count < kMaxMonitors;
}
}  // namespace

bool NormalScreenRect(HWND window, RECT* rect) {
    // A window in its normal state is where the screen shows it. This also
    // holds where the placement is not given relative to the work area, as
    // under Wine.
    if (!IsIconic(window) && !IsZoomed(window)) return GetWindowRect(window, rect) != 0;
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return false;
    *rect = placement.rcNormalPosition;
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
        ScreenRect r = WorkspaceToScreen(FromRect(*rect), FromRect(info.rcMonitor), FromRect(info.rcWork));
        SetRect(rect, r.left, r.top, r.right, r.bottom);
    }
    return true;
}

void StoreNormalPlacement(HWND window, bool position, bool width) {
    RECT normal;
    if (!NormalScreenRect(window, &normal)) return;
    if (position) {
        prefs.windowX = normal.left;
        prefs.windowY = normal.top;
    }
    if (width) prefs.windowWidth = normal.right - normal.left;
}

StartGeometry MainWindowStartGeometry() {
    WorkAreaList list;
    list.count = 0;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&list));
    return ChooseStartGeometry(prefs, list.areas, list.count, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               GetSystemMetrics(SM_CYCAPTION));
}
