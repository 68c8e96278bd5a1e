#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "app/colours.h"
#include "app/list_layout.h"
#include "app/state.h"

TEST(Colours, HlsAndSelectionOfBackgrounds) {
    // Background; hue, lightness, saturation; selected row. The presets and the
    // default user background; a hue byte above 240 taking 16 more (-13 is 243,
    // which becomes 3; -20 stays 236); greys in the bands no preset meets.
    const uint32_t cases[][5] = {
        {Rgb(16, 16, 64), 160, 38, 144, Rgb(24, 24, 99)},
        {Rgb(255, 255, 0), 40, 120, 240, Rgb(234, 234, 0)},
        {Rgb(204, 255, 255), 120, 216, 240, Rgb(162, 255, 255)},
        {Rgb(0, 0, 0), 160, 0, 0, Rgb(42, 42, 42)},
        {Rgb(204, 204, 102), 40, 144, 120, Rgb(199, 199, 86)},
        {Rgb(255, 0, 80), 3, 120, 240, Rgb(234, 18, 0)},
        {Rgb(255, 0, 130), 236, 120, 240, Rgb(234, 0, 23)},
        {Rgb(213, 213, 213), 160, 200, 0, Rgb(196, 196, 196)},
        {Rgb(96, 96, 96), 160, 90, 0, Rgb(106, 106, 106)},
    };
    for (const auto& c : cases) {
        Hls hls = RgbToHls(c[0]);
        EXPECT_EQ(std::make_tuple(uint32_t{hls.h}, uint32_t{hls.l}, uint32_t{hls.s}),
                  std::make_tuple(c[1], c[2], c[3]))
            << std::hex << c[0];
        EXPECT_EQ(SelectionColour(c[0]), c[4]) << std::hex << c[0];
    }
    for (uint32_t pure :
         {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)}) {
        Hls hls = RgbToHls(pure);
        EXPECT_EQ(HlsToRgb(hls.h, hls.l, hls.s), pure) << std::hex << pure;
    }
}

TEST(ColourScheme, RowColoursByDaysAndTheUserScheme) {
    EXPECT_EQ(RowTextColour(0, -1), 0xCCu);
    EXPECT_EQ(RowTextColour(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(RowTextColour(0, 1), Rgb(0x99, 0xFF, 0xFF));
    // A scheme number from a damaged preferences file reads scheme 0.
    EXPECT_EQ(SchemeBackground(1750), Rgb(0x10, 0x10, 0x40));
    EXPECT_EQ(RowTextColour(-1, -1), 0xCCu);

    Prefs saved = prefs;
    prefs.userBackground = Rgb(1, 2, 3);
    prefs.userPastDays = Rgb(4, 5, 6);
    prefs.userToday = Rgb(7, 8, 9);
    prefs.userFutureDays = Rgb(10, 11, 12);
    ApplyUserColours();
    EXPECT_EQ(SchemeBackground(kUserScheme), Rgb(1, 2, 3));
    EXPECT_EQ(RowTextColour(kUserScheme, -2), Rgb(4, 5, 6));
    EXPECT_EQ(RowTextColour(kUserScheme, 0), Rgb(7, 8, 9));
    EXPECT_EQ(RowTextColour(kUserScheme, 2), Rgb(10, 11, 12));
    prefs = saved;
    ApplyUserColours();
}

TEST(ListLayout, ColumnBoundsAndTheSplitOfTheRowText) {
    auto bounds = [](bool weekday) {
        ListColumns c = ListColumnBounds(50, 12, 40, 30, weekday);
        char text[64];
        std::snprintf(text, sizeof text, "%d | %d %d | %d %d | %d", c.daysRight, c.noteLeft, c.noteRight,
                      c.dateLeft, c.dateRight, c.messageLeft);
        return std::string(text);
    };
    EXPECT_EQ(bounds(false), "50 | 51 63 | 64 104 | 105");
    EXPECT_EQ(bounds(true), "50 | 51 63 | 64 134 | 135");

    char row[] = "DZI\xC5\x9A:\t07 Maj,\tTom & Jerry\tsequel";
    char shortRow[] = "3 dni:\tMaj 07,";
    const char *days, *date, *message;
    SplitRowText(row, &days, &date, &message);
    EXPECT_EQ(std::string(days) + "|" + date + "|" + message, "DZI\xC5\x9A:|07 Maj,|Tom & Jerry\tsequel");
    SplitRowText(shortRow, &days, &date, &message);
    EXPECT_EQ(std::string(days) + "|" + date + "|" + message, "3 dni:|Maj 07,|");
}

namespace {
std::string NoteIcon(int left, int top, int right, int bottom) {
    NoteIconShape s = NoteIconGeometry(left, top, right, bottom);
    char text[96];
    std::snprintf(text, sizeof text, "%d,%d-%d,%d lines %d-%d at", s.left, s.top, s.right, s.bottom,
                  s.lineLeft, s.lineRight);
    std::string shape = text;
    for (int i = 0; i < s.lineCount && i < 6; ++i) shape += " " + std::to_string(s.lineY[i]);
    return shape;
}
}  // namespace

TEST(NoteIcon, SheetAndLines) {
    EXPECT_EQ(NoteIcon(50, 100, 63, 120), "51,104-60,116 lines 53-58 at 108 110 112");  // a 20-pixel row
    EXPECT_EQ(NoteIcon(10, 0, 30, 20), "13,4-25,16 lines 15-23 at 8 10 12");            // width factors
    // Inner height 51: offset 5.1, step 51 * 0.8 / 7 below the inside's top (18).
    EXPECT_EQ(NoteIcon(0, 0, 13, 87), "1,17-10,70 lines 3-8 at 28 34 40 46 52 58");
    // Row height and its inner height, h - 2 * trunc(0.2 h) - 2, at each step.
    const int lines[][3] = {{16, 8, 0},  {17, 9, 3},  {36, 20, 3}, {37, 21, 4},
                            {56, 32, 4}, {57, 33, 5}, {86, 50, 5}};
    for (const auto& c : lines)
        EXPECT_EQ(NoteIconGeometry(0, 0, 13, c[0]).lineCount, c[2]) << "inner " << c[1];
}
