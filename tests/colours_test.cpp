#include <gtest/gtest.h>

#include <tuple>

#include "app/colours.h"
#include "app/list_layout.h"

TEST(Colours, HlsAndSelectionOfBackgrounds) {
    // Background; hue, lightness, saturation; selected row: lighter on dark
    // backgrounds, darker on light ones. A hue byte above 240 takes 16 more
    // (-13 is 243, which becomes 3; -20 stays 236).
    const uint32_t cases[][5] = {
        {Rgb(16, 16, 64), 160, 38, 144, Rgb(24, 24, 99)},
        {Rgb(255, 255, 0), 40, 120, 240, Rgb(234, 234, 0)},
        {Rgb(0, 0, 0), 160, 0, 0, Rgb(42, 42, 42)},
        {Rgb(255, 0, 80), 3, 120, 240, Rgb(234, 18, 0)},
        {Rgb(255, 0, 130), 236, 120, 240, Rgb(234, 0, 23)},
        {Rgb(213, 213, 213), 160, 200, 0, Rgb(196, 196, 196)},
    };
    for (const auto& c : cases) {
        Hls hls = RgbToHls(c[0]);
        EXPECT_EQ(std::make_tuple(uint32_t{hls.h}, uint32_t{hls.l}, uint32_t{hls.s}),
                  std::make_tuple(c[1], c[2], c[3]))
            << std::hex << c[0];
        EXPECT_EQ(SelectionColour(c[0]), c[4]) << std::hex << c[0];
    }
}

TEST(NoteIcon, LinesByTheRowHeight) {
    NoteIconShape row = NoteIconGeometry(50, 100, 63, 120);  // a 20-pixel row
    EXPECT_EQ(std::make_tuple(row.left, row.top, row.right, row.bottom, row.lineY[0], row.lineY[2]),
              std::make_tuple(51, 104, 60, 116, 108, 112));
    // Row height and its inner height, h - 2 * trunc(0.2 h) - 2, at each step.
    const int lines[][3] = {{16, 8, 0},  {17, 9, 3},  {36, 20, 3}, {37, 21, 4},
                            {56, 32, 4}, {57, 33, 5}, {86, 50, 5}, {87, 51, 6}};
    for (const auto& c : lines)
        EXPECT_EQ(NoteIconGeometry(0, 0, 13, c[0]).lineCount, c[2]) << "inner " << c[1];
}
