// The user's settings, in the order in which the preferences file stores them.
#pragma once

#include <cstdint>

// The numeric members of a Windows LOGFONTA, kept without <windows.h> so that
// the portable core can read and write them.
struct ListFont {
    int32_t height;
    int32_t width;
    int32_t escapement;
    int32_t orientation;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t strikeOut;
    uint8_t charSet;
    uint8_t outPrecision;
    uint8_t clipPrecision;
    uint8_t quality;
    uint8_t pitchAndFamily;
    char faceName[32];  // at most 31 characters, never a single quote
};

struct Prefs {
    int32_t warnDaysBefore;
    int32_t warnDaysAfter;
    int32_t keepPosition;
    int32_t keepWidth;
    int32_t alwaysOnTop;
    int32_t hideMenuBar;
    int32_t showTrayIcon;
    int32_t startWithSystem;
    int32_t windowX;
    int32_t windowY;
    int32_t windowWidth;
    int32_t colourScheme;  // 0 to 4; 4 is the user's own colours
    int32_t userBackground;  // COLORREF values: red in the low byte
    int32_t userPastDays;
    int32_t userToday;
    int32_t userFutureDays;
    int32_t showWeekday;
    ListFont listFont;
};

// A record holding the built-in defaults, with an all-zero list font.
Prefs DefaultPrefs();

// Whether a font chooser could have produced `font`: a face, a character
// height (negative) small enough for a list row, upright and unstretched.
bool IsChooserFont(const ListFont& font);

// Puts the default list font (Comic Sans MS, 14 pixels) in place of none, or
// of one that no font chooser would produce (a damaged preferences file).
void ApplyDefaultListFont(ListFont* font);
