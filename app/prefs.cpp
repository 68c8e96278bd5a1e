#include "app/prefs.h"

#include <cstring>

Prefs DefaultPrefs() {
    Prefs p;
    std::memset(&p, 0, sizeof p);
    p.warnDaysBefore = 10;
    p.warnDaysAfter = 3;
    p.keepPosition = 1;
    p.keepWidth = 1;
    p.alwaysOnTop = 0;
    p.hideMenuBar = 0;
    p.showTrayIcon = 1;
    p.startWithSystem = 1;
    p.windowX = 40;
    p.windowY = 50;
    p.windowWidth = 600;
    p.colourScheme = 0;
    p.userBackground = 6737100;  // #CCCC66
    p.userPastDays = 208;        // #D00000
    p.userToday = 0;
    p.userFutureDays = 32768;    // #008000
    p.showWeekday = 0;
    return p;
}

bool IsChooserFont(const ListFont& font) {
    // A list box keeps row heights up to 255 pixels; a character of 192
    // (144 points on a 96-dpi screen) still leaves room for the line gap.
    constexpr int kLargestHeight = 192;
    return font.height < 0 && font.height >= -kLargestHeight && font.width == 0 && font.escapement == 0 &&
           font.orientation == 0 && font.weight >= 0 && font.weight <= 1000 && font.faceName[0] != '\0';
}

void ApplyDefaultListFont(ListFont* font) {
    if (IsChooserFont(*font)) return;
    std::memset(font, 0, sizeof *font);
    font->height = -14;
    std::strcpy(font->faceName, "Comic Sans MS");
}
