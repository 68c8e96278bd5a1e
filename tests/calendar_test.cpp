#include "model/calendar.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

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
    // Across the end of summer time, from half past midnight.
    fake.now = LocalTime(2010, 10, 1, 0, 30);
    EXPECT_STREQ(WeekdayShortName(31), "Pon");  // Monday 1 November
    ResetFakePlatform();
}

TEST(CollapseSpaces, FollowsTheRuleByteByByte) {
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
