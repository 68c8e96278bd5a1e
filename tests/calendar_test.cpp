#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/calendar.h"
#include "tests/fake_platform.h"

TEST(MonthCode, NamesAndBounds) {
    EXPECT_EQ(MonthCode(0), nullptr);
    EXPECT_EQ(MonthCode(13), nullptr);
    EXPECT_EQ(MonthCode(-1), nullptr);
    EXPECT_STREQ(MonthCode(5), "May");
    EXPECT_STREQ(MonthCode(1), "Jan");
    EXPECT_STREQ(MonthCode(12), "Dec");
}

TEST(MonthFromCode, FirstThreeLettersInAnyCase) {
    EXPECT_EQ(MonthFromCode("dec"), 12);
    EXPECT_EQ(MonthFromCode("DEC"), 12);
    EXPECT_EQ(MonthFromCode("December"), 12);
    EXPECT_EQ(MonthFromCode("dEcxyz"), 12);
    EXPECT_EQ(MonthFromCode("jan"), 1);
    EXPECT_EQ(MonthFromCode("Sep"), 9);
    EXPECT_EQ(MonthFromCode("de"), 0);
    EXPECT_EQ(MonthFromCode(""), 0);
    EXPECT_EQ(MonthFromCode("Sty"), 0) << "localized names are not file codes";
    char text[] = "mar";
    MonthFromCode(text);
    EXPECT_STREQ(text, "mar") << "the text is not changed";
}

TEST(MonthNames, LocalizedFromTheStringTable) {
    EXPECT_STREQ(MonthLongName(4), "Kwiecień");
    EXPECT_STREQ(MonthShortName(10), "Paź");
    EXPECT_EQ(MonthLongName(0), nullptr);
    EXPECT_EQ(MonthShortName(13), nullptr);
}

TEST(MonthFromShortName, UpperCasesInPlace) {
    char lis[] = "lis";
    EXPECT_EQ(MonthFromShortName(lis), 11);
    EXPECT_STREQ(lis, "LIS");
    char paz[] = "Paź";
    EXPECT_EQ(MonthFromShortName(paz), 10);
    char longName[] = "Listopad";
    EXPECT_EQ(MonthFromShortName(longName), 0);
    char empty[] = "";
    EXPECT_EQ(MonthFromShortName(empty), 0);
}

TEST(DaysInMonth, FebruaryAlwaysHas29) {
    const int expected[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(DaysInMonth(m), expected[m - 1]) << m;
    EXPECT_EQ(DaysInMonth(0), 0);
    EXPECT_EQ(DaysInMonth(13), 0);
}

TEST(WeekdayShortName, CountsWholeDaysFromNow) {
    ResetFakePlatform();
    fake.now = LocalTime(2010, 11, 21);  // a Sunday
    EXPECT_STREQ(WeekdayShortName(0), "Nie");
    EXPECT_STREQ(WeekdayShortName(1), "Pon");
    EXPECT_STREQ(WeekdayShortName(5), "Pią");
    fake.now = LocalTime(2010, 11, 22);  // a Monday
    EXPECT_STREQ(WeekdayShortName(-1), "Nie");
    EXPECT_STREQ(WeekdayShortName(2), "Śro");
    EXPECT_STREQ(WeekdayShortName(-365), "Nie");  // 22 Nov 2009, a Sunday
    ResetFakePlatform();
}

TEST(CollapseSpaces, RunsBecomeOneBlankAndEndsAreTrimmed) {
    char text[] = "  a \t\tb  \r\n";
    EXPECT_STREQ(CollapseSpaces(text), "a b");
    char empty[] = "";
    EXPECT_STREQ(CollapseSpaces(empty), "");
    char blanks[] = " \t\v\f\r\n ";
    EXPECT_STREQ(CollapseSpaces(blanks), "");
    EXPECT_EQ(CollapseSpaces(nullptr), nullptr);
    // Bytes of 128 and above and the notes mark are not whitespace.
    char polish[] = "\xC5\x9A  x\x1E\x1E  y";
    EXPECT_STREQ(CollapseSpaces(polish), "\xC5\x9A x\x1E\x1E y");
    char nbsp[] = "\xA0" "a" "\xA0";
    EXPECT_STREQ(CollapseSpaces(nbsp), "\xA0" "a" "\xA0");
}

TEST(IsSkippableLine, BlankAndCommentLines) {
    char blanks[] = "   \t ";
    EXPECT_TRUE(IsSkippableLine(blanks));
    char lineEnd[] = "\r\n";
    EXPECT_TRUE(IsSkippableLine(lineEnd));
    char comment[] = "   ; a comment\r\n";
    EXPECT_TRUE(IsSkippableLine(comment));
    EXPECT_STREQ(comment, "; a comment");
    char event[] = "15-Mar-2010 01Y 000 000 Call  Anna\r\n";
    EXPECT_FALSE(IsSkippableLine(event));
    EXPECT_STREQ(event, "15-Mar-2010 01Y 000 000 Call Anna");
    char semicolonLater[] = "x ;";
    EXPECT_FALSE(IsSkippableLine(semicolonLater));
}
