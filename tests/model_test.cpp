// The calendar, the $Age macro and the days left to an event's nearest
// occurrence: the edge cases, and references of their own compared over
// every input or every day of several years.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "model/calendar.h"
#include "model/due_list.h"
#include "model/macros.h"
#include "tests/fake_platform.h"

TEST(MonthNames, CodesAndLocalizedNames) {
    EXPECT_EQ(MonthCode(13), nullptr);
    EXPECT_STREQ(MonthCode(5), "May");
    EXPECT_STREQ(MonthLongName(4), "Kwiecień");
    EXPECT_EQ(MonthShortName(0), nullptr);
    char paz[] = "paź";
    EXPECT_EQ(MonthFromShortName(paz), 10);
    EXPECT_STREQ(paz, "PAź") << "upper-cased in place";
    char longName[] = "Listopad";
    EXPECT_EQ(MonthFromShortName(longName), 0);
}

TEST(WeekdayShortName, CountsCalendarDaysFromToday) {
    ResetFakePlatform();
    fake.now = LocalTime(2010, 11, 22);  // a Monday
    EXPECT_STREQ(WeekdayShortName(-1), "Nie");
    EXPECT_STREQ(WeekdayShortName(-365), "Nie");  // 22 November 2009
    ResetFakePlatform();
}

// Runs of whitespace become one blank, none left at either end: against a
// split into words, over random texts of blanks, controls and UTF-8.
TEST(CollapseSpaces, AgreesWithASplitIntoWords) {
    const char alphabet[] = {'a', ' ', ' ', '\t', '\r', '\n', '\v', 30, 1, ';', '\xC5', '\x82', '-'};
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round) {
        std::string text, word, whole;
        for (int i = static_cast<int>(random() % 24); i > 0; --i)
            text += alphabet[random() % sizeof alphabet];
        for (std::istringstream words(text); words >> word;) whole += (whole.empty() ? "" : " ") + word;
        std::string copy = text;
        EXPECT_EQ(CollapseSpaces(&copy[0]), &copy[0]);
        EXPECT_EQ(std::string(copy.c_str()), whole) << text;
    }
}

TEST(MonthFromCode, OnlyTheTwelveCodesInAnyCaseAreMonths) {
    const std::string codes = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    const std::string bytes = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz@[`{ 1\x80\xC5\xFF";
    auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
    int months = 0;
    for (char a : bytes) {
        for (char b : bytes) {
            for (char c : bytes) {
                const char text[] = {a, b, c, 'x', '\0'};
                const size_t at = codes.find(std::string{upper(a), upper(b), upper(c)});
                const int expected =
                    at != std::string::npos && at % 3 == 0 ? static_cast<int>(at / 3 + 1) : 0;
                ASSERT_EQ(MonthFromCode(text), expected) << text;
                months += expected != 0;
            }
        }
    }
    EXPECT_EQ(months, 12 * 8) << "each code in the eight mixes of case";
}

TEST(MacrosTest, Expansion) {
    struct Case {
        std::string text, expanded;  // expanded "": the text as typed
        int result = kMacrosValid, offset = 0;
        time_t now = 0;
    };
    const int kOk = kMacrosValid, kBad = kMacroInvalidParameter, kBig = kMacroValueTooBig;
    const time_t oct = LocalTime(2010, 10, 1, 0, 30), mar = LocalTime(2011, 3, 31, 0, 30);
    const std::string longName = "$" + std::string(200, 'A') + "{x} ";
    const Case cases[] = {
        {"Birthday! ($Age{1968} years)", "Birthday! (42 years)"},
        {"$Age{2020}", "-10"},
        {"$age{ \t+1968} $AGE{}", "42 2010"},
        {"$Age{-27990} $Age{32010}", "30000 -30000"},
        {"\\$Age{1968} or $Age{1968}", "\\$Age{1968} or 42"},
        {"$5 for $Age{1968}", "$5 for 42"},
        {"$$Age{1968}$ $Name{1} $Age 1968} $Age{1968", "$42$ $Name{1} $Age 1968} $Age{1968"},
        {"$Age{" + std::string(147, ' ') + "1968}", "42"},
        {"$Age{" + std::string(148, ' ') + "1968}", ""},  // too long for a parameter: plain text
        {longName + "$Age{1968}", longName + "42"},
        {"$Age{19x}", "", kBad},
        {"$Age{1968 }", "", kBad},
        {"$Age{-27991}", "", kBig},
        {"$Age{32011}", "", kBig},
        {"$Age{-99999999999999999999999}", "", kBig},
        {"$Age{1968} $Age{x} $Age{-40000}", "", kBad},
        {"$Age{-40000} $Age{x}", "", kBig},
        {"$Age{-27990}", "", kBig, 365},  // next year's age
        // The occurrence's year counts calendar days, across daylight saving too.
        {"$Age{2000}", "10", kOk, 43},
        {"$Age{2000}", "11", kOk, 44},
        {"$Age{2000}", "10", kOk, 91, oct},
        {"$Age{2000}", "11", kOk, 92, oct},
        {"$Age{2000}", "10", kOk, -90, mar},
        {"$Age{2000}", "11", kOk, -89, mar},
    };
    for (const auto& c : cases) {
        fake.now = c.now != 0 ? c.now : LocalTime(2010, 11, 18);
        // An output of the input's size is enough and is never overrun.
        char output[512];
        std::memset(output, 'Z', sizeof output);
        EXPECT_EQ(ExpandMacros(c.text.c_str(), c.offset, output, c.text.size() + 1), c.result) << c.text;
        EXPECT_EQ(output, c.expanded.empty() ? c.text : c.expanded) << c.offset;  // failed: as typed
        EXPECT_EQ(output[c.text.size() + 1], 'Z') << c.text;
        EXPECT_TRUE(c.offset != 0 || CheckMacros(c.text.c_str()) == c.result) << c.text;
    }
    ResetFakePlatform();

    // A buffer too small is filled up to its end, cut between characters.
    char small[8];
    std::memset(small, 'Z', sizeof small);
    ExpandMacros("Żółw $Age{1968} lat", 0, small, 6);
    EXPECT_STREQ(small, "Żó");
    EXPECT_EQ(small[6], 'Z');
    ExpandMacros("$Age{x} Żółw", 0, small, 7);
    EXPECT_STREQ(small, "$Age{x");
    std::memset(small, 'Z', sizeof small);
    ExpandMacros("$Age{1968}", 0, small, 0);  // no room at all: nothing written
    EXPECT_EQ(small[0], 'Z');
    EXPECT_EQ(small[7], 'Z');
}

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

// Anchors of the reference below: its ties and 29 February.
TEST(DaysLeftTest, NearestOccurrence) {
    const struct {
        time_t now;
        Duty event;
        int daysLeft;
    } cases[] = {
        {LocalTime(2012, 3, 2), Event(1, 9), -183},  // a tie: last year's wins
        {LocalTime(2011, 3, 2), Event(1, 9), -182},
        {LocalTime(2012, 7, 2), Event(1, 1), 183},  // a tie: next year's beats this year's
        // 29 February: 1 March in a common year, and in the year after a leap year.
        {LocalTime(2011, 12, 31), Event(29, 2), 61},
        {LocalTime(2011, 2, 28), Event(29, 2), 1},
        {LocalTime(2012, 9, 1), Event(29, 2), 181},
        {LocalTime(2011, 12, 1), Event(29, 2, 2012), 91},
        {LocalTime(2013, 1, 1), Event(29, 2, 2012), -306},
        {LocalTime(2014, 1, 1), Event(29, 2, 2012), -999},
        // One-off events of next year, and of no year near.
        {LocalTime(2011, 6, 1), Event(1, 6, 2012), 366},
        {LocalTime(2011, 12, 31), Event(1, 1, 2012), 1},
        {LocalTime(2011, 6, 1), Event(1, 6, 2013), -999},
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
