#include <gtest/gtest.h>

#include "app/start_geometry.h"

namespace {
// A 1920 x 1080 primary screen with its taskbar at the bottom, and a second
// 1280 x 1024 one to its left with the taskbar along its left edge.
const ScreenRect kAreas[] = {{0, 0, 1920, 1040}, {-1232, 0, 0, 1024}};
constexpr int kVirtualWidth = 3200;
constexpr int kCaption = 23;

Prefs Saved(int x, int y, int width) {
    Prefs p = DefaultPrefs();
    p.windowX = x;
    p.windowY = y;
    p.windowWidth = width;
    return p;
}
}  // namespace

Prefs Unkept(Prefs p) {
    p.keepPosition = 0;
    p.keepWidth = 0;
    return p;
}

TEST(StartGeometry, SavedPlaceOnlyWhereTheTitleBarCanBeReached) {
    const struct {
        Prefs prefs;
        bool centred;
        int width;
        const char* why;
    } cases[] = {
        {Saved(40, 50, 600), false, 600, "the defaults"},
        {Saved(-1300, 300, 500), false, 500, "on the second screen, 432 pixels of it"},
        {Saved(-1264, 300, 100), false, 600, "a width too narrow widens to the default"},
        {Saved(1880, 300, 600), true, 600, "only 40 pixels of the title bar on the screen"},
        {Saved(1856, 300, 600), false, 600, "64 pixels are enough to drag it back"},
        {Saved(100, -5, 600), true, 600, "the title bar above the top"},
        {Saved(100, 1040 - kCaption, 600), false, 600, "the title bar just above the taskbar"},
        {Saved(100, 1041 - kCaption, 600), true, 600, "the title bar under the taskbar"},
        {Saved(3000, 2000, 600), true, 600, "an unplugged screen"},
        {Saved(2147483600, 0, 600), true, 600, "a damaged number"},
        {Saved(40, 50, 3201), false, 600, "wider than all screens"},
        {Saved(40, 50, 3200), false, 3200, "as wide as all screens"},
        {Unkept(Saved(40, 50, 800)), true, 600, "keepPosition and keepWidth off"},
    };
    for (const auto& c : cases) {
        StartGeometry g = ChooseStartGeometry(c.prefs, kAreas, 2, kVirtualWidth, kCaption);
        EXPECT_EQ(g.centred, c.centred) << c.why;
        EXPECT_EQ(g.width, c.width) << c.why;
        if (!c.centred) {
            EXPECT_EQ(g.x, c.prefs.windowX) << c.why;
            EXPECT_EQ(g.y, c.prefs.windowY) << c.why;
        }
    }
    EXPECT_TRUE(ChooseStartGeometry(Saved(40, 50, 800), nullptr, 0, kVirtualWidth, kCaption).centred)
        << "without any screen nothing is reachable";
}

// A window on a screen whose taskbar sits at its top or left reports its
// placement shifted by the taskbar; back on the screen it is where it was.
TEST(StartGeometry, PlacementsComeBackToTheScreen) {
    const struct {
        ScreenRect monitor;
        ScreenRect work;
        ScreenRect placement;
        int screenX;
        int screenY;
    } cases[] = {
        {{0, 0, 1920, 1080}, {0, 40, 1920, 1080}, {300, 160, 900, 260}, 300, 200},  // taskbar at the top
        {{0, 0, 1920, 1080}, {62, 0, 1920, 1080}, {238, 200, 838, 300}, 300, 200},  // at the left
        {{-1280, 0, 0, 1024}, {-1218, 0, 0, 1024}, {-1062, 200, -462, 300}, -1000, 200},  // left screen
    };
    for (const auto& c : cases) {
        ScreenRect r = WorkspaceToScreen(c.placement, c.monitor, c.work);
        EXPECT_EQ(r.left, c.screenX);
        EXPECT_EQ(r.top, c.screenY);
        EXPECT_EQ(r.right - r.left, 600);
        EXPECT_EQ(r.bottom - r.top, 100);
    }
}
