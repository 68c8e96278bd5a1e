// Glyphs drawn with their key colour left transparent.
#include "dialogs/decorations.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/canvas.h"

// Key pixels show what was there, the others the glyph's own colour; the
// glyph is the same afterwards, so a second drawing gives the same picture.
TEST(Decorations, KeyedBitmapLeavesTheKeyColourTransparent) {
    const COLORREF glyph[2][3] = {{kGlyphKeyColour, RGB(0, 0, 255), RGB(255, 255, 255)},
                                  {RGB(0, 0, 0), kGlyphKeyColour, RGB(254, 0, 0)}};
    auto background = [](int x, int y) { return RGB(10 * x, 20 * y, 100 + x + y); };
    HDC screen = GetDC(nullptr), source = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 2);
    ReleaseDC(nullptr, screen);
    HGDIOBJ before = SelectObject(source, bitmap);
    Canvas target(8, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 8; ++x) {
            SetPixel(target.dc(), x, y, background(x, y));
            if (x < 3 && y < 2) SetPixel(source, x, y, glyph[y][x]);
        }
    }
    SelectObject(source, before);  // a bitmap is drawn from outside any device context
    for (int round = 0; round < 2; ++round) {
        DrawKeyedBitmap(target.dc(), bitmap, 2, 1, kGlyphKeyColour);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
                const bool shows = inside && glyph[y - 1][x - 2] != kGlyphKeyColour;
                EXPECT_EQ(target.At(x, y), shows ? glyph[y - 1][x - 2] : background(x, y))
                    << x << "," << y << " round " << round;
            }
        }
    }
    DeleteDC(source);
    DeleteObject(bitmap);
}
