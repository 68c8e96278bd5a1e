#include "tests/e2e/quillbee_files.h"

#include <cstdio>
#include <ctime>

namespace {
const char* const kMonthCodes[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

std::string FileHeader() {
    return ";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n"
           ";written by the end-to-end tests\r\n"
           ";https://quillbee.example.org/\r\n";
}

std::string EventLine(int daysFromToday, const char* message, const char* notes) {
    time_t now = time(nullptr);
    struct tm today = *localtime(&now);
    today.tm_mday += daysFromToday;
    today.tm_hour = 12;
    today.tm_isdst = -1;
    mktime(&today);
    char line[512];
    snprintf(line, sizeof line, "%02d-%s-%04d 01Y 000 000 %s%s%s\r\n", today.tm_mday, kMonthCodes[today.tm_mon],
             today.tm_year + 1900, message, notes[0] ? "\x1E" : "", notes);
    return line;
}

std::string EventsFile(const std::string& lines) { return FileHeader() + "\r\n" + lines; }

std::string PrefsFile(const PrefsLine& p) {
    char line[512];
    snprintf(line, sizeof line, "%d %d 1 1 %d %d %d %d %d %d %d %d 6737100 208 0 32768 %d %s", p.warnDaysBefore,
             p.warnDaysAfter, p.alwaysOnTop, p.hideMenuBar, p.showTrayIcon, p.startWithSystem, p.windowX, p.windowY,
             p.windowWidth, p.colourScheme, p.showWeekday, p.listFont);
    return FileHeader() + line;
}
