// Month and weekday names, month lengths and the line normalisation shared
// by every reader of the events file.
#pragma once

// "Jan" to "Dec" for 1 to 12 (one static buffer), null otherwise.
const char* MonthCode(int month);
// 1 to 12 for a text whose first three characters name a month in any case, else 0.
int MonthFromCode(const char* text);
// Localized names from the string table; null outside 1 to 12.
const char* MonthLongName(int month);
const char* MonthShortName(int month);
// Upper-cases `text` in place and returns the month whose localized short
// name it equals, or 0.
int MonthFromShortName(char* text);
// The localized short weekday of the day `daysLeft` days from now (one static buffer).
const char* WeekdayShortName(int daysLeft);
// The greatest legal day of `month` (29 for February); 0 outside 1 to 12.
int DaysInMonth(int month);
// Turns every run of whitespace (bytes 9 to 13 and 32) into one blank and
// trims both ends, in place. Returns `text`; null gives null.
char* CollapseSpaces(char* text);
// Normalises `line` in place and tells whether it is blank or a comment.
bool IsSkippableLine(char* line);
