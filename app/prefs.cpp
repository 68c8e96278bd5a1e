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

void ApplyDefaultListFont(ListFont* font) {
    if (font->height != 0 || font->faceName[0] != '\0') return;
    font->height = -14;
    std::strcpy(font->faceName, "Comic Sans MS");
}
