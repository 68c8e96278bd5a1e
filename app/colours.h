// The list's colour schemes and the integer hue-lightness-saturation maths
// (hue, lightness and saturation on a 0..240 scale) that derives the colour
// of the selected row from the background.
#pragma once

#include <cstdint>

// Colours are Win32 COLORREF values: red in the low byte, then green, blue.
constexpr uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

constexpr int kSchemeCount = 5;
constexpr int kUserScheme = 4;

// One array per role, each indexed by the scheme. Schemes 0 to 3 are fixed;
// scheme 4 holds the user's colours (black until ApplyUserColours).
struct ColourSchemeTable {
    uint32_t background[kSchemeCount];
    uint32_t pastDays[kSchemeCount];
    uint32_t today[kSchemeCount];
    uint32_t futureDays[kSchemeCount];
};
extern ColourSchemeTable ColourScheme;

// Copies the four user colours of `prefs` into scheme 4.
void ApplyUserColours();

// `scheme` when it names a scheme, else 0: the preferences file may hold
// anything, and the tables must never be read outside their bounds.
int SchemeIndex(int scheme);

// The background of `scheme`, and the text colour of a row `daysLeft` away.
uint32_t SchemeBackground(int scheme);
uint32_t RowTextColour(int scheme, int daysLeft);

struct Hls {
    uint8_t h;
    uint8_t l;
    uint8_t s;
};

Hls RgbToHls(uint32_t colour);
uint32_t HlsToRgb(int h, int l, int s);
// One channel from the two lightness bounds and a hue; `h` is 16-bit, so a
// hue below zero arrives as a large value.
int HueToRgb(int lo, int hi, uint16_t h);
// The background of a selected row: lighter on dark backgrounds, darker on
// light ones.
uint32_t SelectionColour(uint32_t colour);
