// Days left to an event's nearest occurrence, around the turn of the year, on
// 29 February and across both daylight-saving changes at times near midnight.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "model/calendar.h"
#include "model/due_list.h"
#include "tests/fake_platform.h"

namespace {

Duty Event(int day, int month, int year = 2000, bool yearly = true) {
    Duty d;
    std::memset(&d, 0, sizeof d);
    d.day = day;
    d.month = month;
    d.year = year;
    d.yearly = yearly ? 1 : 0;
    d.repeatMark = yearly ? 'Y' : 'N';
    std::strcpy(d.message, "x");
    return d;
}

Duty OneOff(int day, int month, int year) { return Event(day, month, year, false); }

int DaysLeftAt(time_t now, const Duty& d) {
    fake.now = now;
    return DaysLeft(d);
}

class DaysLeftTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFakePlatform(); }
    void TearDown() override { ResetFakePlatform(); }
};

// The occurrences of an event on `month`/`day` in last, this and next year,
// found the way a local-time conversion finds them: each candidate date is
// converted at the clock time and daylight-saving state of `now`, so its
// distance from `now` in seconds is a whole number of days.
struct ConvertedCandidates {
    time_t thisYear, nextYear, lastYear;  // seconds from now
    int thisYearYear, nextYearYear, lastYearYear;
};

// Normalises a date as a conversion does (29 February of a common year is
// 1 March); at noon a daylight-saving change never moves it to another day.
void NormaliseDate(int* year, int* month, int* day) {
    struct tm t = {};
    t.tm_year = *year - 1900;
    t.tm_mon = *month - 1;
    t.tm_mday = *day;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    std::mktime(&t);
    *year = t.tm_year + 1900;
    *month = t.tm_mon + 1;
    *day = t.tm_mday;
}

time_t SecondsTo(time_t now, const struct tm& nowLocal, int year, int month, int day) {
    struct tm t = nowLocal;  // clock time and daylight-saving state of now
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    return std::mktime(&t) - now;
}

ConvertedCandidates Convert(time_t now, int month, int day) {
    const struct tm nowLocal = *std::localtime(&now);
    ConvertedCandidates c;
    int y = nowLocal.tm_year + 1900, m = month, d = day;
    NormaliseDate(&y, &m, &d);
    c.thisYear = SecondsTo(now, nowLocal, y, m, d);
    c.thisYearYear = y;
    ++y;
    NormaliseDate(&y, &m, &d);
    c.nextYear = SecondsTo(now, nowLocal, y, m, d);
    c.nextYearYear = y;
    y -= 2;
    NormaliseDate(&y, &m, &d);
    c.lastYear = SecondsTo(now, nowLocal, y, m, d);
    c.lastYearYear = y;
    return c;
}

int ChooseOccurrence(const ConvertedCandidates& c, bool yearly, int year) {
    const time_t sentinel = 86313600;
    time_t t = (!yearly && c.thisYearYear != year) ? sentinel : c.thisYear;
    time_t n = (!yearly && c.nextYearYear != year) ? sentinel : c.nextYear;
    time_t p = (!yearly && c.lastYearYear != year) ? -sentinel : c.lastYear;
    time_t a = t < 0 ? -t : t;
    time_t result = t;
    if (n >= a && -p >= a) result = t;
    if (-p >= n && n <= a) result = n;
    if (-p <= a && n >= -p) result = p;
    return static_cast<int>(result / 86400);
}

}  // namespace

TEST_F(DaysLeftTest, NearestOccurrenceAroundTheTurnOfTheYear) {
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 5, 7), Event(7, 5)), 0);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 12, 30), Event(2, 1)), 3);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 1, 2), Event(30, 12)), -3);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 12, 31, 23, 59), Event(1, 1)), 1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 1, 1, 0, 0), Event(31, 12)), -1);
    // 183 days either way: last year's occurrence wins the tie.
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 3, 2), Event(1, 9)), -183);
    // 182 back and 183 ahead: the nearer one.
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 3, 2), Event(1, 9)), -182);
    // 182 back and 183 ahead in a common year; in a leap year 183 either way,
    // and next year's occurrence wins over this year's.
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 7, 2), Event(1, 1)), -182);
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 7, 2), Event(1, 1)), 183);
}

TEST_F(DaysLeftTest, TwentyNinthOfFebruary) {
    const Duty leapDay = Event(29, 2, 1996);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 12, 31), leapDay), 61);  // 1 March 2012
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 2, 20), leapDay), 9);
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 2, 29), leapDay), 0);
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 3, 1), leapDay), -1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 2, 28), leapDay), 1);  // common year: 1 March
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 3, 1), leapDay), 0);
    // A common year followed by a leap year still aims at 1 March.
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 9, 1), leapDay), 182);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 9, 1, 0, 30), leapDay), 182);
    // From a leap year the next one is common: 1 March 2013.
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 9, 1), leapDay), 181);
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 12, 31), leapDay), 60);
    EXPECT_EQ(DaysLeftAt(LocalTime(2013, 1, 1), leapDay), 59);
    // A one-off 29 February happens in its leap year; seen from a common year
    // its occurrence is formed on the normalised date, 1 March.
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 2, 1), OneOff(29, 2, 2012)), 28);
    EXPECT_EQ(DaysLeftAt(LocalTime(2012, 12, 1), OneOff(29, 2, 2012)), -276);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 12, 1), OneOff(29, 2, 2012)), 91);
    EXPECT_EQ(DaysLeftAt(LocalTime(2013, 1, 1), OneOff(29, 2, 2012)), -306);
    EXPECT_EQ(DaysLeftAt(LocalTime(2014, 1, 1), OneOff(29, 2, 2012)), -999);
}

TEST_F(DaysLeftTest, OneOffEventsAndTheSentinel) {
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 12, 31), OneOff(1, 1, 2011)), -364);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 12, 31), OneOff(1, 1, 2012)), 1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 1, 1), OneOff(31, 12, 2010)), -1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 6, 1), OneOff(1, 6, 2012)), 366);  // only next year's
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 6, 1), OneOff(1, 6, 2010)), -365);  // only last year's
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 6, 1), OneOff(1, 6, 2013)), -999);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 6, 1), OneOff(1, 6, 2009)), -999);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 6, 1), OneOff(1, 6, 1990)), -999);
    // The yearly twin of a far one-off event is near.
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 6, 1), Event(1, 6, 2013)), 0);
    // Seen in summer time shortly after midnight, a New Year one-off is still
    // in its own year, not -999.
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 10, 1, 0, 30), OneOff(1, 1, 2011)), 92);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 3, 31, 0, 30), OneOff(1, 1, 2011)), -89);
    EXPECT_EQ(DaysLeftAt(LocalTime(2011, 3, 31, 0, 30), OneOff(31, 12, 2010)), -90);
}

TEST_F(DaysLeftTest, WholeDaysAcrossDaylightSavingChanges) {
    // Spring: summer time began on 28 March 2010 at 02:00.
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 27, 23, 30), Event(29, 3)), 2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 27, 0, 30), Event(29, 3)), 2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 29, 0, 30), Event(27, 3)), -2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 29, 23, 30), Event(27, 3)), -2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 28, 0, 30), Event(28, 3)), 0);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 28, 23, 30), Event(27, 3)), -1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 28, 0, 30), Event(29, 3)), 1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 3, 20, 23, 30), Event(10, 4)), 21);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 4, 10, 0, 30), Event(20, 3)), -21);
    // Autumn: winter time began on 31 October 2010 at 03:00.
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 10, 30, 23, 30), Event(1, 11)), 2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 10, 30, 0, 30), Event(1, 11)), 2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 11, 1, 0, 30), Event(30, 10)), -2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 11, 1, 23, 30), Event(30, 10)), -2);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 10, 31, 23, 30), Event(31, 10)), 0);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 10, 31, 0, 30), Event(1, 11)), 1);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 10, 20, 0, 30), Event(10, 11)), 21);
    EXPECT_EQ(DaysLeftAt(LocalTime(2010, 11, 10, 23, 30), Event(20, 10)), -21);
}

namespace {

// Compares, for each day from `firstYear` to `lastYear` in steps of `dayStep`
// days and at each of `minutes` after midnight, the day count of every day of
// the year as a yearly event and as one-off events of five years around it
// with the count of local-time conversions. Returns how many event days were
// compared, over all the days and clock times.
long CompareWithConversions(int firstYear, int lastYear, int dayStep, const std::vector<int>& minutes) {
    long compared = 0;
    int dayIndex = 0;
    for (int year = firstYear; year <= lastYear; ++year) {
        const bool leapYear = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        for (int month = 1; month <= 12; ++month) {
            const int length = (month == 2) ? (leapYear ? 29 : 28) : DaysInMonth(month);
            for (int day = 1; day <= length; ++day) {
                if (dayIndex++ % dayStep != 0) continue;
                for (int minute : minutes) {
                    const time_t now = LocalTime(year, month, day, minute / 60, minute % 60);
                    fake.now = now;
                    for (int eventMonth = 1; eventMonth <= 12; ++eventMonth) {
                        for (int eventDay = 1; eventDay <= DaysInMonth(eventMonth); ++eventDay) {
                            const ConvertedCandidates c = Convert(now, eventMonth, eventDay);
                            EXPECT_EQ(DaysLeft(Event(eventDay, eventMonth)), ChooseOccurrence(c, true, 0))
                                << year << "-" << month << "-" << day << " " << minute << " min, yearly "
                                << eventDay << "." << eventMonth;
                            for (int eventYear = year - 2; eventYear <= year + 2; ++eventYear) {
                                EXPECT_EQ(DaysLeft(OneOff(eventDay, eventMonth, eventYear)),
                                          ChooseOccurrence(c, false, eventYear))
                                    << year << "-" << month << "-" << day << " " << minute << " min, one-off "
                                    << eventDay << "." << eventMonth << "." << eventYear;
                            }
                            if (::testing::Test::HasFailure()) return compared;
                            ++compared;
                        }
                    }
                }
            }
        }
    }
    return compared;
}

}  // namespace

// Every day of a common year before a leap year, the leap year and the
// common year after it, seen at times near midnight: the day counts equal
// those of local-time conversions.
TEST_F(DaysLeftTest, CalendarCountsEqualConvertedOnes) {
    EXPECT_EQ(CompareWithConversions(2011, 2013, 1, {0, 30, 23 * 60 + 30, 23 * 60 + 59}), 1096L * 4 * 366);
}

// Around 2000, a leap year though a century, and 2100, a common year though
// divisible by four, every ninth day at noon.
TEST_F(DaysLeftTest, CenturyYearsEqualConvertedOnes) {
    EXPECT_EQ(CompareWithConversions(1999, 2001, 9, {12 * 60}), 122L * 366);
    EXPECT_EQ(CompareWithConversions(2099, 2101, 9, {12 * 60}), 122L * 366);
}
