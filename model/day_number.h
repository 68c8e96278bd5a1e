// Calendar arithmetic on day numbers: counting days between dates without a
// time-zone conversion per date, so that a daylight-saving change between two
// dates never moves a count by a day.
#pragma once

#include <cstdint>

struct CivilDate {
    int64_t year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

// Days from 1 January 1970 to the given date of the Gregorian calendar. A month
// or day outside its range carries over as a local-time conversion would carry
// it: 29 February of a common year is 1 March, month 13 is January of the next
// year, day 0 the last day of the month before.
int64_t DayNumber(int64_t year, int64_t month, int64_t day);
int64_t DayNumber(const CivilDate& date);

// Whether February of `year` has 29 days.
bool IsLeapYear(int64_t year);

// The date of a day number.
CivilDate DateOfDayNumber(int64_t dayNumber);

// The date as a conversion normalises it (see DayNumber), and its day number
// in `dayNumber`.
CivilDate NormalisedDate(int64_t year, int64_t month, int64_t day, int64_t* dayNumber);

// 0 Sunday to 6 Saturday.
int WeekdayOfDayNumber(int64_t dayNumber);

// Today's date in local time (PlatformNow converted once); 1 January 1970
// when the conversion fails.
CivilDate LocalToday();
