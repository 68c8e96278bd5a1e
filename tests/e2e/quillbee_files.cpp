#include "tests/e2e/quillbee_files.h"

#include <cstdio>

std::string FileHeader() {
    return ";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n"
           ";written by the end-to-end tests\r\n"
           ";https://quillbee.example.org/\r\n";
}

struct tm DayFromToday(int daysFromToday) {
    time_t now = time(nullptr);
    struct tm day = *localtime(&now);
    day.tm_mday += daysFromToday;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    mktime(&day);
    return day;
}

std::string EventLine(int daysFromToday, const char* message, const char* notes) {
    static const char* const kMonthCodes[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const struct tm day = DayFromToday(daysFromToday);
    char line[512];
    snprintf(line, sizeof line, "%02d-%s-%04d 01Y 000 000 %s%s%s\r\n", day.tm_mday, kMonthCodes[day.tm_mon],
             day.tm_year + 1900, message, notes[0] ? "\x1E" : "", notes);
    return line;
}

std::string EventsFile(const std::string& lines) { return FileHeader() + "\r\n" + lines; }

std::string PrefsFile(const PrefsLine& p) {
    char line[512];
    snprintf(line, sizeof line, "%d %d 1 1 %d 0 1 0 40 50 %d %d 6737100 208 0 32768 %d %s", p.warnDaysBefore,
             p.warnDaysAfter, p.alwaysOnTop, p.windowWidth, p.colourScheme, p.showWeekday, p.listFont);
    return FileHeader() + line;
}
