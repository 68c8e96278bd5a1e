// The $Age macro: scanning, parameters, results and the safety of the output.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "model/macros.h"
#include "tests/fake_platform.h"

namespace {

class MacrosTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18);
    }
    void TearDown() override { ResetFakePlatform(); }

    // The expansion, checked to be the input itself whenever it fails.
    std::string Expand(const char* text, int offset = 0, int* result = nullptr) {
        char output[512];
        std::memset(output, 'Z', sizeof output);
        int r = ExpandMacros(text, offset, output, std::strlen(text) + 1);
        if (result) *result = r;
        if (r != kMacrosValid) {
            EXPECT_STREQ(output, text);
        }
        EXPECT_LE(std::strlen(output), std::strlen(text));
        EXPECT_EQ(output[std::strlen(text) + 1], 'Z');
        return output;
    }
};

}  // namespace

TEST_F(MacrosTest, AgeInTheYearOfTheOccurrence) {
    EXPECT_EQ(Expand("George's birthday! ($Age{1968} years old)"), "George's birthday! (42 years old)");
    fake.now = LocalTime(2010, 12, 29);
    EXPECT_EQ(Expand("($Age{1968} years old)", 5), "(43 years old)");
    EXPECT_EQ(Expand("($Age{1968} years old)", 2), "(42 years old)");
    EXPECT_EQ(Expand("($Age{1968} years old)", -365), "(41 years old)");
    fake.now = LocalTime(2010, 11, 18);
    EXPECT_EQ(Expand("$Age{1968}, $Age{2000}"), "42, 10");
    EXPECT_EQ(Expand("$Age{2020}"), "-10");
    EXPECT_EQ(Expand("$age{1968} $AGE{1968} $aGe{+1968}"), "42 42 42");
    EXPECT_EQ(Expand("$Age{}"), "2010");
    EXPECT_EQ(Expand("$Age{ \t1968}"), "42");
    EXPECT_EQ(Expand("$Age{-0}."), "2010.");
}

TEST_F(MacrosTest, YearCountedInCalendarDaysAcrossDaylightSaving) {
    // 92 days after 1 October is 1 January, also half an hour after midnight
    // in summer time, when 92 times 86400 s would end on 31 December.
    fake.now = LocalTime(2010, 10, 1, 0, 30);
    EXPECT_EQ(Expand("$Age{2000}", 92), "11");
    EXPECT_EQ(Expand("$Age{2000}", 91), "10");
    fake.now = LocalTime(2011, 3, 31, 0, 30);
    EXPECT_EQ(Expand("$Age{2000}", -89), "11");
    EXPECT_EQ(Expand("$Age{2000}", -90), "10");
    fake.now = LocalTime(2010, 12, 31, 23, 30);
    EXPECT_EQ(Expand("$Age{2000}", 1), "11");
}

TEST_F(MacrosTest, PlainDollarsStayText) {
    EXPECT_EQ(Expand("Price \\$Age{1968}"), "Price \\$Age{1968}");
    EXPECT_EQ(Expand("$5 for $Age{1968}"), "$5 for 42");
    EXPECT_EQ(Expand("$ Age{1968}"), "$ Age{1968}");
    EXPECT_EQ(Expand("$Name{1}"), "$Name{1}");
    EXPECT_EQ(Expand("$Age{1968"), "$Age{1968");
    EXPECT_EQ(Expand("$Age 1968}"), "$Age 1968}");
    EXPECT_EQ(Expand("cost: 5$"), "cost: 5$");
    EXPECT_EQ(Expand("$$Age{1968}$"), "$42$");
    EXPECT_EQ(Expand("\\$Age{1968} but $Age{1968}"), "\\$Age{1968} but 42");
    int result = 0;
    Expand("$Age{1968", 0, &result);
    EXPECT_EQ(result, kMacrosValid);
    EXPECT_EQ(CheckMacros("$Name{x} \\$Age{x} $Age{1968"), kMacrosValid);
}

TEST_F(MacrosTest, InvalidParametersAndValues) {
    const struct {
        const char* text;
        int result;
    } cases[] = {
        {"$Age{19x}", kMacroInvalidParameter},   {"$Age{1968 }", kMacroInvalidParameter},
        {"$Age{ }", kMacroInvalidParameter},     {"$Age{-}", kMacroInvalidParameter},
        {"$Age{19 68}", kMacroInvalidParameter}, {"ok $Age{1968} then $Age{x}", kMacroInvalidParameter},
        {"$Age{-40000}", kMacroValueTooBig},     {"$Age{99999999999999999999999}", kMacroValueTooBig},
        {"$Age{-99999999999999999999999}", kMacroValueTooBig},
        // The first invalid macro decides.
        {"$Age{x} $Age{-40000}", kMacroInvalidParameter}, {"$Age{-40000} $Age{x}", kMacroValueTooBig},
    };
    for (const auto& c : cases) {
        int result = 0;
        Expand(c.text, 0, &result);
        EXPECT_EQ(result, c.result) << c.text;
        EXPECT_EQ(CheckMacros(c.text), c.result) << c.text;
    }
    // A value of 30000 either way is still an age.
    EXPECT_EQ(Expand("$Age{-27990}"), "30000");
    EXPECT_EQ(Expand("$Age{32010}"), "-30000");
    EXPECT_EQ(CheckMacros("$Age{-27991}"), kMacroValueTooBig);
    EXPECT_EQ(CheckMacros("$Age{32011}"), kMacroValueTooBig);
    // Checking uses this year: next year 2011 - (-28990) would be too big.
    EXPECT_EQ(CheckMacros("$Age{-27990}"), kMacrosValid);
    int result = 0;
    Expand("$Age{-27990}", 365, &result);
    EXPECT_EQ(result, kMacroValueTooBig);
}

TEST_F(MacrosTest, LongNamesAndParametersArePlainText) {
    // A parameter of 151 characters fits its buffer; one of 152 makes the '$'
    // plain text.
    std::string fits = "$Age{" + std::string(147, ' ') + "1968}";
    EXPECT_EQ(Expand(fits.c_str()), "42");
    std::string tooLong = "$Age{" + std::string(148, ' ') + "1968}";
    int result = 0;
    EXPECT_EQ(Expand(tooLong.c_str(), 0, &result), tooLong);
    EXPECT_EQ(result, kMacrosValid);
    std::string badButLong = "$Age{" + std::string(160, 'x') + "}";
    EXPECT_EQ(CheckMacros(badButLong.c_str()), kMacrosValid);
    std::string longName = "$" + std::string(200, 'A') + "{x} $Age{1968}";
    EXPECT_EQ(Expand(longName.c_str()), std::string("$") + std::string(200, 'A') + "{x} 42");
}

TEST_F(MacrosTest, OutputNeverOverruns) {
    // A buffer too small is filled up to its end, cut between characters.
    char small[8];
    std::memset(small, 'Z', sizeof small);
    ExpandMacros("Żółw $Age{1968} lat", 0, small, 7);
    EXPECT_STREQ(small, "Żół");
    EXPECT_EQ(small[7], 'Z');
    ExpandMacros("$Age{x} Żółw", 0, small, 7);
    EXPECT_STREQ(small, "$Age{x");
    char none[1] = {'Z'};
    ExpandMacros("$Age{1968}", 0, none, 0);
    EXPECT_EQ(none[0], 'Z');

    // Random texts full of macro pieces fit a buffer of their own size.
    std::mt19937 random(7);
    const char* pieces[] = {"$", "Age", "{", "}", "\\", "1968", "-", " ", "x", "$Age{}", "$Age{1}", "ą"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) text += pieces[random() % 12];
        int result = 0;
        Expand(text.c_str(), static_cast<int>(random() % 2000) - 1000, &result);
        EXPECT_EQ(CheckMacros(text.c_str()) == kMacroInvalidParameter, result == kMacroInvalidParameter) << text;
    }
}
