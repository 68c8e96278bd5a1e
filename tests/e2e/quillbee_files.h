// Events and preferences files for the end-to-end tests, written the way the
// program writes them, with dates counted from today's local date.
#pragma once

#include <ctime>
#include <string>

// Noon of the local day `daysFromToday` days from today.
struct tm DayFromToday(int daysFromToday);

// The three header lines of the program's data files.
std::string FileHeader();

// One yearly event line whose date lies `daysFromToday` days from today.
std::string EventLine(int daysFromToday, const char* message, const char* notes = "");

// An events file with the header and these lines.
std::string EventsFile(const std::string& lines);

// The preferences the tests vary; the rest are the defaults, the window at
// 40,50 with the tray icon on.
struct PrefsLine {
    int warnDaysBefore = 10;
    int warnDaysAfter = 3;
    int colourScheme = 0;
    int showWeekday = 0;
    int alwaysOnTop = 0;
    int windowWidth = 600;
    // The list font's thirteen numbers and its face in quotes.
    const char* listFont = "-14 0 0 0 0 0 0 0 0 0 0 0 0 'Comic Sans MS'";
};

// A preferences file with the header and the data line for `p`.
std::string PrefsFile(const PrefsLine& p);
