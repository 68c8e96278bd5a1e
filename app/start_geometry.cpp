#include "app/start_geometry.h"

namespace {
// Farther out than any screen; keeps the sums below from overflowing.
constexpr int kFarAway = 1 << 24;

bool CaptionIsGraspable(int x, int y, int width, const ScreenRect& area, int captionHeight) {
    if (y < area.top || y + captionHeight > area.bottom) return false;
    int left = x > area.left ? x : area.left;
    int right = x + width < area.right ? x + width : area.right;
    int needed = width < kGraspableCaption ? width : kGraspableCaption;
    return right - left >= needed;
}
}  // namespace

StartGeometry ChooseStartGeometry(const Prefs& prefs, const ScreenRect* workAreas, int areaCount,
                                  int virtualWidth, int captionHeight) {
    StartGeometry g = {!prefs.keepPosition, prefs.windowX, prefs.windowY, kDefaultWindowWidth};
    if (prefs.keepWidth && prefs.windowWidth >= kMinWindowWidth && prefs.windowWidth <= virtualWidth) {
        g.width = prefs.windowWidth;
    }
    if (g.centred) return g;
    g.centred = true;
    if (g.x < -kFarAway || g.x > kFarAway || g.y < -kFarAway || g.y > kFarAway) return g;
    for (int i = 0; i < areaCount; ++i) {
        if (CaptionIsGraspable(g.x, g.y, g.width, workAreas[i], captionHeight)) g.centred = false;
    }
    return g;
}

ScreenRect WorkspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea) {
    int dx = workArea.left - monitor.left;
    int dy = workArea.top - monitor.top;
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}
