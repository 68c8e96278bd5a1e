// Glyphs drawn with their key colour left transparent.
#include "dialogs/decorations.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A memory picture of `width` x `height` of the screen's format.
struct Picture {
    Picture(int width, int height) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        before = SelectObject(dc, bitmap);
    }
    ~Picture() {
        SelectObject(dc, before);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ before;
};

COLORREF Background(int x, int y) { return RGB(10 * x, 20 * y, 100 + x + y); }

}  // namespace

// Key pixels show what was there, the others the glyph's own colour; the
// glyph is the same afterwards, so a second drawing gives the same picture.
TEST(Decorations, KeyedBitmapLeavesTheKeyColourTransparent) {
    const COLORREF glyph[2][3] = {{kGlyphKeyColour, RGB(0, 0, 255), RGB(255, 255, 255)},
                                  {RGB(0, 0, 0), kGlyphKeyColour, RGB(254, 0, 0)}};
    Picture source(3, 2), target(8, 5);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(source.dc, x, y, glyph[y][x]);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) SetPixel(target.dc, x, y, Background(x, y));
    SelectObject(source.dc, source.before);  // a bitmap is drawn from outside any device context
    for (int round = 0; round < 2; ++round) {
        DrawKeyedBitmap(target.dc, source.bitmap, 2, 1, kGlyphKeyColour);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
                COLORREF expected = Background(x, y);
                if (inside && glyph[y - 1][x - 2] != kGlyphKeyColour) expected = glyph[y - 1][x - 2];
                EXPECT_EQ(GetPixel(target.dc, x, y), expected) << x << "," << y << " round " << round;
            }
        }
    }
    source.before = SelectObject(source.dc, source.bitmap);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(GetPixel(source.dc, x, y), glyph[y][x]);
}

// The glyphs of the resources: their sizes, and which of them have
// transparent pixels.
TEST(Decorations, GlyphResources) {
    struct Case {
        const char* name;
        int width, height;
        bool keyed;
    } cases[] = {{"bgFind", 24, 24, true},
                 {"bgCalendar", 23, 20, true},
                 {"bgNote2", 10, 11, true},
                 {"bgBang1", 3, 11, false}};
    for (const Case& c : cases) {
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), c.name);
        ASSERT_NE(bitmap, nullptr) << c.name;
        BITMAP info;
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth * 100 + info.bmHeight, c.width * 100 + c.height) << c.name;
        Picture picture(c.width, c.height);
        HDC dc = CreateCompatibleDC(picture.dc);
        HGDIOBJ before = SelectObject(dc, bitmap);
        int keyed = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) keyed += GetPixel(dc, x, y) == kGlyphKeyColour;
        EXPECT_EQ(keyed > 0, c.keyed) << c.name;
        SelectObject(dc, before);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}
