#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/calendar.h"
#include "tests/fake_platform.h"

TEST(MonthNames, CodesAndLocalizedNames) {
    EXPECT_EQ(MonthCode(0), nullptr);
    EXPECT_EQ(MonthCode(13), nullptr);
    EXPECT_STREQ(MonthCode(5), "May");
    EXPECT_STREQ(MonthCode(12), "Dec");
    EXPECT_EQ(MonthFromCode("December"), 12) << "only three characters count";
    EXPECT_EQ(MonthFromCode("Sty"), 0) << "localized names are not file codes";
    EXPECT_STREQ(MonthLongName(4), "Kwiecień");
    EXPECT_STREQ(MonthShortName(10), "Paź");
    EXPECT_EQ(MonthLongName(0), nullptr);
    EXPECT_EQ(MonthShortName(13), nullptr);

    char lis[] = "lis";
    EXPECT_EQ(MonthFromShortName(lis), 11);
    EXPECT_STREQ(lis, "LIS") << "upper-cased in place";
    char paz[] = "Paź";
    EXPECT_EQ(MonthFromShortName(paz), 10);
    char longName[] = "Listopad";
    EXPECT_EQ(MonthFromShortName(longName), 0);

    const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(DaysInMonth(m), days[m - 1]) << m;
}

TEST(WeekdayShortName, CountsCalendarDaysFromToday) {
    ResetFakePlatform();
    fake.now = LocalTime(2010, 11, 21);  // a Sunday
    EXPECT_STREQ(WeekdayShortName(0), "Nie");
    EXPECT_STREQ(WeekdayShortName(5), "Pią");
    fake.now = LocalTime(2010, 11, 22);  // a Monday
    EXPECT_STREQ(WeekdayShortName(-1), "Nie");
    EXPECT_STREQ(WeekdayShortName(-365), "Nie");  // 22 November 2009
    // Across the end of summer time, from half past midnight.
    fake.now = LocalTime(2010, 10, 1, 0, 30);
    EXPECT_STREQ(WeekdayShortName(31), "Pon");  // Monday 1 November
    ResetFakePlatform();
}

TEST(IsSkippableLine, NormalisesInPlace) {
    char text[] = "  a \t\tb  \r\n";
    EXPECT_STREQ(CollapseSpaces(text), "a b");
    EXPECT_EQ(CollapseSpaces(nullptr), nullptr);
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
}

TEST(CollapseSpaces, WholeLinesAndLineHeadsFollowTheSameRule) {
    // The text as collapsed one byte at a time: runs of whitespace become one
    // blank, and none is left at either end.
    auto collapsed = [](const std::string& text) {
        std::string out;
        bool blank = false;
        for (char c : text) {
            unsigned char u = static_cast<unsigned char>(c);
            if (u == 32 || (u >= 9 && u <= 13)) {
                blank = !out.empty();
                continue;
            }
            if (blank) out += ' ';
            blank = false;
            out += c;
        }
        return out;
    };
    const char alphabet[] = {'a', ' ', ' ', '\t', '\r', '\n', '\v', 30, 1, ';', '\xC5', '\x82', '-'};
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i) text += alphabet[random() % sizeof alphabet];
        const std::string whole = collapsed(text);
        std::string copy = text;
        EXPECT_EQ(CollapseSpaces(&copy[0]), &copy[0]);
        EXPECT_EQ(std::string(copy.c_str()), whole) << text;

        // A head is the start of the whole result, as long as fits, with no
        // blank left dangling at the cut.
        char head[9];
        std::memset(head, 'Z', sizeof head);
        const size_t size = 2 + random() % 7;
        const bool skippable = IsSkippableLineHead(text.c_str(), head, size);
        std::string expected = whole.substr(0, size - 1);
        if (expected.size() < whole.size() && !expected.empty() && expected.back() == ' ') expected.pop_back();
        EXPECT_EQ(std::string(head), expected) << text << " in " << size;
        EXPECT_EQ(head[size], 'Z');  // nothing written beyond `size` bytes
        EXPECT_EQ(skippable, whole.empty() || whole[0] == ';') << text;
        EXPECT_EQ(std::string(text.c_str()), text);
    }
}

TEST(MonthFromCode, OnlyTheTwelveCodesInAnyCaseAreMonths) {
    const char* const codes[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    std::vector<unsigned char> bytes;
    for (int b = 32; b < 127; ++b) bytes.push_back(static_cast<unsigned char>(b));
    for (int b : {0x80, 0xC5, 0xE1, 0xFF}) bytes.push_back(static_cast<unsigned char>(b));
    int months = 0;
    for (unsigned char a : bytes) {
        for (unsigned char b : bytes) {
            for (unsigned char c : bytes) {
                const char text[5] = {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c), 'x', '\0'};
                int expected = 0;
                for (int m = 0; m < 12; ++m) {
                    if (std::toupper(a) == codes[m][0] && std::toupper(b) == codes[m][1] &&
                        std::toupper(c) == codes[m][2]) {
                        expected = m + 1;
                    }
                }
                ASSERT_EQ(MonthFromCode(text), expected) << text;
                months += expected != 0;
            }
        }
    }
    EXPECT_EQ(months, 12 * 8);  // each code in the eight mixes of case
}
