// Days left to an event's nearest occurrence: the edge cases, and every day
// of several years against the count local-time conversions give.
#include <gtest/gtest.h>

#include <ctime>
#include <initializer_list>
#include <limits>
#include <utility>

#include "model/calendar.h"
#include "model/due_list.h"
#include "tests/fake_platform.h"

namespace {

Duty Event(int day, int month, int year = 0) {  // year 0: yearly
    return Duty{0, day, month, year, year == 0 ? 'Y' : 'N', year == 0, 0, 0, 0, nullptr, {}, {}};
}

// The candidates of last, this and next year found by conversions: each date
// normalised as mktime does, then converted at now's clock time and
// daylight-saving state, so its distance from now is whole days.
struct Converted {
    time_t seconds[3];  // this, next, last year
    int year[3];
};

Converted Convert(time_t now, int month, int day) {
    const struct tm local = *std::localtime(&now);
    Converted c;
    int y = local.tm_year + 1900, m = month, d = day;
    for (int k = 0; k < 3; ++k, y += (k == 1) ? 1 : -2) {
        struct tm noon = {};
        noon.tm_year = y - 1900, noon.tm_mon = m - 1, noon.tm_mday = d, noon.tm_hour = 12, noon.tm_isdst = -1;
        std::mktime(&noon);
        y = noon.tm_year + 1900, m = noon.tm_mon + 1, d = noon.tm_mday;
        struct tm t = local;
        t.tm_year = y - 1900, t.tm_mon = m - 1, t.tm_mday = d;
        c.seconds[k] = std::mktime(&t) - now;
        c.year[k] = y;
    }
    return c;
}

// The nearest candidate in the event's year (any year for a yearly event),
// -999 without one. On equal distance this year's yields to either other
// year's, and next year's to last year's.
int Choose(const Converted& c, int oneOffYear) {
    const int rank[3] = {2, 1, 0};
    std::pair<time_t, int> best = {std::numeric_limits<time_t>::max(), 3};
    int days = -999;
    for (int k = 0; k < 3; ++k) {
        if (oneOffYear && c.year[k] != oneOffYear) continue;
        const std::pair<time_t, int> key = {c.seconds[k] < 0 ? -c.seconds[k] : c.seconds[k], rank[k]};
        if (key < best) best = key, days = static_cast<int>(c.seconds[k] / 86400);
    }
    return days;
}

// Every `step`-th day from 1 January of `firstYear` to the end of `lastYear`
// at each of `minutes` after midnight, for every date of the year and the
// days just outside each month, which normalise into the next or last month
// as a damaged line's would; returns the event days compared.
long CompareWithConversions(int firstYear, int lastYear, int step, std::initializer_list<int> minutes) {
    long compared = 0;
    for (int i = 0;; i += step) {
        for (int minute : minutes) {
            fake.now = LocalTime(firstYear, 1, 1 + i, minute / 60, minute % 60);
            const int year = std::localtime(&fake.now)->tm_year + 1900;
            if (year > lastYear) return compared;
            for (int month = 1; month <= 12; ++month) {
                for (int day = 0; day <= DaysInMonth(month) + 2; ++day, ++compared) {
                    const Converted c = Convert(fake.now, month, day);
                    for (int eventYear = year - 2; eventYear <= year + 2; ++eventYear) {
                        EXPECT_EQ(DaysLeft(Event(day, month, eventYear)), Choose(c, eventYear))
                            << std::ctime(&fake.now) << day << "." << month << "." << eventYear;
                    }
                    EXPECT_EQ(DaysLeft(Event(day, month)), Choose(c, 0)) << std::ctime(&fake.now) << day;
                    if (::testing::Test::HasFailure()) return -1;
                }
            }
        }
    }
}

}  // namespace

TEST(DaysLeftTest, NearestOccurrence) {
    const struct { time_t now; Duty event; int daysLeft; } cases[] = {
        {LocalTime(2010, 12, 30), Event(2, 1), 3}, {LocalTime(2011, 1, 2), Event(30, 12), -3},
        {LocalTime(2012, 3, 2), Event(1, 9), -183},  // a tie: last year's wins
        {LocalTime(2011, 3, 2), Event(1, 9), -182},
        {LocalTime(2012, 7, 2), Event(1, 1), 183},  // a tie: next year's beats this year's
        // 29 February: 1 March in a common year, and in the year after a leap year.
        {LocalTime(2011, 12, 31), Event(29, 2), 61}, {LocalTime(2011, 2, 28), Event(29, 2), 1},
        {LocalTime(2012, 2, 29), Event(29, 2), 0}, {LocalTime(2012, 3, 1), Event(29, 2), -1},
        {LocalTime(2012, 9, 1), Event(29, 2), 181}, {LocalTime(2011, 12, 1), Event(29, 2, 2012), 91},
        {LocalTime(2013, 1, 1), Event(29, 2, 2012), -306}, {LocalTime(2014, 1, 1), Event(29, 2, 2012), -999},
        // One-off events of last, this and next year, and of no year near.
        {LocalTime(2011, 6, 1), Event(1, 6, 2010), -365}, {LocalTime(2011, 6, 1), Event(1, 6, 2011), 0},
        {LocalTime(2011, 6, 1), Event(1, 6, 2012), 366}, {LocalTime(2011, 12, 31), Event(1, 1, 2012), 1},
        {LocalTime(2011, 6, 1), Event(1, 6, 2013), -999}, {LocalTime(2011, 6, 1), Event(1, 6, 2009), -999},
    };
    for (const auto& c : cases) {
        fake.now = c.now;
        EXPECT_EQ(DaysLeft(c.event), c.daysLeft) << std::ctime(&c.now) << c.event.day << "." << c.event.month;
    }
    ResetFakePlatform();
}

// Counting calendar days equals converting local times: over a common year,
// a leap year and a common year, with both daylight-saving changes, half an
// hour after and before midnight; and around 2000 and 2100 at noon.
TEST(DaysLeftTest, CalendarCountsEqualConvertedOnes) {
    EXPECT_EQ(CompareWithConversions(2011, 2013, 1, {30, 23 * 60 + 30}), 1096L * 2 * 402);
    EXPECT_EQ(CompareWithConversions(1999, 2001, 9, {12 * 60}), 122L * 402);
    EXPECT_EQ(CompareWithConversions(2099, 2101, 9, {12 * 60}), 122L * 402);
    ResetFakePlatform();
}
