#include <gtest/gtest.h>

#include "app/colours.h"
#include "app/list_layout.h"
#include "app/state.h"

namespace {
struct SelectionCase {
    uint32_t background;
    int h, l, s;
    uint32_t selected;
};
}  // namespace

TEST(Colours, PresetBackgroundsAndTheirSelections) {
    const SelectionCase cases[] = {
        {Rgb(16, 16, 64), 160, 38, 144, Rgb(24, 24, 99)},
        {Rgb(255, 255, 0), 40, 120, 240, Rgb(234, 234, 0)},
        {Rgb(204, 255, 255), 120, 216, 240, Rgb(162, 255, 255)},
        {Rgb(0, 0, 0), 160, 0, 0, Rgb(42, 42, 42)},
        {Rgb(204, 204, 102), 40, 144, 120, Rgb(199, 199, 86)},
    };
    for (const SelectionCase& c : cases) {
        Hls hls = RgbToHls(c.background);
        EXPECT_EQ(hls.h, c.h) << std::hex << c.background;
        EXPECT_EQ(hls.l, c.l) << std::hex << c.background;
        EXPECT_EQ(hls.s, c.s) << std::hex << c.background;
        EXPECT_EQ(SelectionColour(c.background), c.selected) << std::hex << c.background;
    }
}

TEST(Colours, HueByteAbove240Gets16Added) {
    // A computed hue of -13 is byte 243, which becomes 3 (not 227).
    Hls pink = RgbToHls(Rgb(255, 0, 80));
    EXPECT_EQ(pink.h, 3);
    EXPECT_EQ(pink.l, 120);
    EXPECT_EQ(pink.s, 240);
    // -20 is byte 236, not above 240: it stays.
    EXPECT_EQ(RgbToHls(Rgb(255, 0, 130)).h, 236);
}

TEST(Colours, PureColoursSurviveTheRoundTrip) {
    const uint32_t colours[] = {Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)};
    for (uint32_t c : colours) {
        Hls hls = RgbToHls(c);
        EXPECT_EQ(HlsToRgb(hls.h, hls.l, hls.s), c) << std::hex << c;
    }
    EXPECT_EQ(HlsToRgb(77, 120, 0), Rgb(127, 127, 127)) << "grey: lightness only, truncated";
    // Lightness 200 and 90 fall in the bands not met by the presets: -15, +10.
    EXPECT_EQ(SelectionColour(Rgb(213, 213, 213)), HlsToRgb(160, 185, 0));
    EXPECT_EQ(SelectionColour(Rgb(96, 96, 96)), HlsToRgb(160, 100, 0));
}

TEST(ColourScheme, RowColoursBySchemeAndDays) {
    EXPECT_EQ(SchemeBackground(0), Rgb(0x10, 0x10, 0x40));
    EXPECT_EQ(SchemeBackground(2), Rgb(0xCC, 0xFF, 0xFF));
    EXPECT_EQ(RowTextColour(0, -1), 0xCCu);
    EXPECT_EQ(RowTextColour(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(RowTextColour(0, 1), Rgb(0x99, 0xFF, 0xFF));
    EXPECT_EQ(RowTextColour(1, 0), 0u);
    EXPECT_EQ(RowTextColour(1, 5), Rgb(0, 0x80, 0));
    EXPECT_EQ(RowTextColour(2, 3), Rgb(0, 0, 0xFF));
    EXPECT_EQ(RowTextColour(3, -40), Rgb(0xFF, 0, 0));
    EXPECT_EQ(RowTextColour(3, 40), Rgb(0xFF, 0xFF, 0));
    // A scheme number from a damaged preferences file reads scheme 0.
    EXPECT_EQ(SchemeBackground(1750), SchemeBackground(0));
    EXPECT_EQ(RowTextColour(-1, 0), RowTextColour(0, 0));
}

TEST(ColourScheme, UserRowIsBlackUntilCopiedFromPrefs) {
    ColourScheme.background[kUserScheme] = 0;  // as at start
    EXPECT_EQ(SchemeBackground(4), 0u);
    Prefs saved = prefs;
    prefs.userBackground = Rgb(1, 2, 3);
    prefs.userPastDays = Rgb(4, 5, 6);
    prefs.userToday = Rgb(7, 8, 9);
    prefs.userFutureDays = Rgb(10, 11, 12);
    ApplyUserColours();
    EXPECT_EQ(SchemeBackground(4), Rgb(1, 2, 3));
    EXPECT_EQ(RowTextColour(4, -2), Rgb(4, 5, 6));
    EXPECT_EQ(RowTextColour(4, 0), Rgb(7, 8, 9));
    EXPECT_EQ(RowTextColour(4, 2), Rgb(10, 11, 12));
    prefs = saved;
    ApplyUserColours();
    EXPECT_EQ(SchemeBackground(4), Rgb(204, 204, 102));
}

TEST(ListLayout, ColumnBounds) {
    ListColumns c = ListColumnBounds(50, 12, 40, 30, false);
    EXPECT_EQ(c.daysRight, 50);
    EXPECT_EQ(c.noteLeft, 51);
    EXPECT_EQ(c.noteRight, 63);
    EXPECT_EQ(c.dateLeft, 64);
    EXPECT_EQ(c.dateRight, 104);
    EXPECT_EQ(c.messageLeft, 105);
    ListColumns w = ListColumnBounds(50, 12, 40, 30, true);
    EXPECT_EQ(w.dateLeft, 64);
    EXPECT_EQ(w.dateRight, 134);
    EXPECT_EQ(w.messageLeft, 135);
}

TEST(ListLayout, RowTextSplitsAtTheFirstTwoTabs) {
    char row[] = "DZI\xC5\x9A:\t07 Maj,\tTom & Jerry\tsequel";
    const char *days, *date, *message;
    SplitRowText(row, &days, &date, &message);
    EXPECT_STREQ(days, "DZI\xC5\x9A:");
    EXPECT_STREQ(date, "07 Maj,");
    EXPECT_STREQ(message, "Tom & Jerry\tsequel");
    char shortRow[] = "3 dni:\tMaj 07,";
    SplitRowText(shortRow, &days, &date, &message);
    EXPECT_STREQ(days, "3 dni:");
    EXPECT_STREQ(date, "Maj 07,");
    EXPECT_STREQ(message, "");
}

TEST(NoteIcon, SheetAndLinesInATwentyPixelRow) {
    NoteIconShape s = NoteIconGeometry(50, 100, 63, 120);
    EXPECT_EQ(s.left, 51);
    EXPECT_EQ(s.right, 60);
    EXPECT_EQ(s.top, 104);
    EXPECT_EQ(s.bottom, 116);
    ASSERT_EQ(s.lineCount, 3);
    EXPECT_EQ(s.lineY[0], 108);
    EXPECT_EQ(s.lineY[1], 110);
    EXPECT_EQ(s.lineY[2], 112);
    EXPECT_EQ(s.lineLeft, 53);
    EXPECT_EQ(s.lineRight, 58);
}

TEST(NoteIcon, LineCountFollowsTheInnerHeight) {
    // Inner height = h - 2 * trunc(0.2 h) - 2.
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 16).lineCount, 0) << "inner 8";
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 17).lineCount, 3) << "inner 9";
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 36).lineCount, 3) << "inner 20";
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 37).lineCount, 4) << "inner 21";
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 56).lineCount, 4) << "inner 32";
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 57).lineCount, 5) << "inner 33";
    EXPECT_EQ(NoteIconGeometry(0, 0, 13, 86).lineCount, 5) << "inner 50";
    NoteIconShape tall = NoteIconGeometry(0, 0, 13, 87);
    ASSERT_EQ(tall.lineCount, 6) << "inner 51";
    // offset 5.1, step 51 * 0.8 / 7 = 5.83: lines at 10, 16, 22, 28, 34, 40
    // below the inside's top (18).
    const int expected[6] = {28, 34, 40, 46, 52, 58};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(tall.lineY[i], expected[i]) << i;
    // Width factors: 20 wide gives 3 on the left and 5 on the right.
    NoteIconShape wide = NoteIconGeometry(10, 0, 30, 20);
    EXPECT_EQ(wide.left, 13);
    EXPECT_EQ(wide.right, 25);
}
