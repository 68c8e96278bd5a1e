#include "app/colours.h"

#include "app/state.h"

ColourSchemeTable ColourScheme = {
    {Rgb(0x10, 0x10, 0x40), Rgb(0xFF, 0xFF, 0x00), Rgb(0xCC, 0xFF, 0xFF), Rgb(0x00, 0x00, 0x00), 0},
    {Rgb(0xCC, 0x00, 0x00), Rgb(0xCC, 0x00, 0x00), Rgb(0xCC, 0x00, 0x00), Rgb(0xFF, 0x00, 0x00), 0},
    {Rgb(0xFF, 0xFF, 0xFF), Rgb(0x00, 0x00, 0x00), Rgb(0x00, 0x00, 0x00), Rgb(0xFF, 0xFF, 0xFF), 0},
    {Rgb(0x99, 0xFF, 0xFF), Rgb(0x00, 0x80, 0x00), Rgb(0x00, 0x00, 0xFF), Rgb(0xFF, 0xFF, 0x00), 0},
};

void ApplyUserColours() {
    ColourScheme.background[kUserScheme] = static_cast<uint32_t>(prefs.userBackground);
    ColourScheme.pastDays[kUserScheme] = static_cast<uint32_t>(prefs.userPastDays);
    ColourScheme.today[kUserScheme] = static_cast<uint32_t>(prefs.userToday);
    ColourScheme.futureDays[kUserScheme] = static_cast<uint32_t>(prefs.userFutureDays);
}

int SchemeIndex(int scheme) { return (scheme >= 0 && scheme < kSchemeCount) ? scheme : 0; }

uint32_t SchemeBackground(int scheme) { return ColourScheme.background[SchemeIndex(scheme)]; }

uint32_t RowTextColour(int scheme, int daysLeft) {
    int i = SchemeIndex(scheme);
    if (daysLeft < 0) return ColourScheme.pastDays[i];
    if (daysLeft == 0) return ColourScheme.today[i];
    return ColourScheme.futureDays[i];
}

Hls RgbToHls(uint32_t colour) {
    int r = static_cast<int>(colour & 0xFF);
    int g = static_cast<int>((colour >> 8) & 0xFF);
    int b = static_cast<int>((colour >> 16) & 0xFF);
    int max = r > g ? (r > b ? r : b) : (g > b ? g : b);
    int min = r < g ? (r < b ? r : b) : (g < b ? g : b);
    Hls out;
    out.l = static_cast<uint8_t>(((max + min) * 240 + 255) / 510);
    if (max == min) {
        out.s = 0;
        out.h = 160;  // grey: the hue is undefined
        return out;
    }
    int range = max - min;
    if (out.l <= 120) {
        out.s = static_cast<uint8_t>((range * 240 + (max + min) / 2) / (max + min));
    } else {
        out.s = static_cast<uint8_t>((range * 240 + (510 - max - min) / 2) / (510 - max - min));
    }
    int rd = ((max - r) * 40 + range / 2) / range;
    int gd = ((max - g) * 40 + range / 2) / range;
    int bd = ((max - b) * 40 + range / 2) / range;
    int hue;
    if (r == max) {
        hue = bd - gd;
    } else if (g == max) {
        hue = 80 + rd - bd;
    } else {
        hue = 160 + gd - rd;
    }
    // The hue lives in one byte, and a byte above 240 gets 16 added to it
    // (wrapping): a hue a little below zero lands just above zero instead of
    // just below 240. Users' selection colours have always been made so.
    uint8_t h = static_cast<uint8_t>(hue);
    if (h > 240) h = static_cast<uint8_t>(h + 16);
    out.h = h;
    return out;
}

int HueToRgb(int lo, int hi, uint16_t h) {
    if (h > 240) h = static_cast<uint16_t>(h - 240);
    if (h < 40) return lo + ((hi - lo) * h + 20) / 40;
    if (h < 120) return hi;
    if (h < 160) return lo + ((hi - lo) * (160 - h) + 20) / 40;
    return lo;
}

uint32_t HlsToRgb(int h, int l, int s) {
    if (s == 0) {
        int grey = l * 255 / 240;
        return Rgb(grey, grey, grey);
    }
    int m2 = l <= 120 ? (l * (240 + s) + 120) / 240 : l + s - (l * s + 120) / 240;
    int m1 = 2 * l - m2;
    int r = (HueToRgb(m1, m2, static_cast<uint16_t>(h + 80)) * 255 + 120) / 240;
    int g = (HueToRgb(m1, m2, static_cast<uint16_t>(h)) * 255 + 120) / 240;
    int b = (HueToRgb(m1, m2, static_cast<uint16_t>(h - 80)) * 255 + 120) / 240;
    return Rgb(r, g, b);
}

uint32_t SelectionColour(uint32_t colour) {
    Hls hls = RgbToHls(colour);
    int l = hls.l;
    if (l < 30) {
        l += 40;
    } else if (l < 60) {
        l += 20;
    } else if (l < 120) {
        l += 10;
    } else if (l < 180) {
        l -= 10;
    } else if (l < 210) {
        l -= 15;
    } else {
        l -= 20;
    }
    return HlsToRgb(hls.h, l, hls.s);
}
