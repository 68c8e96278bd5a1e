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
    void SetUp() override { fake.now = LocalTime(2010, 11, 18); }
    void TearDown() override { ResetFakePlatform(); }

    // The expansion into an output of the input's size, which must hold the
    // input itself on failure and must not be overrun; the result is kept.
    std::string Expand(const std::string& text, int offset = 0) {
        char output[512];
        std::memset(output, 'Z', sizeof output);
        result = ExpandMacros(text.c_str(), offset, output, text.size() + 1);
        EXPECT_EQ(output[text.size() + 1], 'Z') << text;
        EXPECT_LE(std::strlen(output), text.size()) << text;
        if (result != kMacrosValid) {
            EXPECT_EQ(output, text);
        }
        return output;
    }
    int result = 0;
};

}  // namespace

TEST_F(MacrosTest, ValidTexts) {
    const char* const texts[][2] = {
        {"George's birthday! ($Age{1968} years old)", "George's birthday! (42 years old)"},
        {"$Age{1968}, $Age{2000}", "42, 10"}, {"$Age{2020}", "-10"}, {"$Age{ \t1968}", "42"},
        {"$age{1968} $AGE{1968} $aGe{+1968}", "42 42 42"}, {"$Age{}$Age{-0}.", "20102010."},
        {"$Age{-27990} $Age{32010}", "30000 -30000"},
        // A '$' that starts no macro is plain text, and scanning goes on after it.
        {"Price \\$Age{1968}", "Price \\$Age{1968}"}, {"\\$Age{1968} or $Age{1968}", "\\$Age{1968} or 42"},
        {"$5 for $Age{1968}", "$5 for 42"}, {"$$Age{1968}$", "$42$"}, {"$Age{1968", "$Age{1968"},
        {"$ Age{1968} $Name{1} $Age 1968} 5$", "$ Age{1968} $Name{1} $Age 1968} 5$"},
    };
    for (const auto& t : texts) {
        EXPECT_EQ(Expand(t[0]), t[1]);
        EXPECT_EQ(result, kMacrosValid) << t[0];
        EXPECT_EQ(CheckMacros(t[0]), kMacrosValid) << t[0];
    }
    EXPECT_EQ(CheckMacros("$Name{x} \\$Age{x} $Age{1968"), kMacrosValid);

    // The occurrence's year counts calendar days, also across daylight saving
    // half an hour from midnight.
    const time_t dec = LocalTime(2010, 12, 29), oct = LocalTime(2010, 10, 1, 0, 30);
    const time_t mar = LocalTime(2011, 3, 31, 0, 30), eve = LocalTime(2010, 12, 31, 23, 30);
    const struct { time_t now; int offset; const char* age; } years[] = {
        {dec, 5, "(11)"},   {dec, 2, "(10)"},   {dec, -365, "(9)"}, {oct, 92, "(11)"},
        {oct, 91, "(10)"},  {mar, -89, "(11)"}, {mar, -90, "(10)"}, {eve, 1, "(11)"}};
    for (const auto& y : years) {
        fake.now = y.now;
        EXPECT_EQ(Expand("($Age{2000})", y.offset), y.age) << y.offset;
    }
}

TEST_F(MacrosTest, FirstInvalidMacroDecides) {
    const int kBad = kMacroInvalidParameter, kBig = kMacroValueTooBig;
    const struct { const char* text; int result; } cases[] = {
        {"$Age{19x}", kBad},   {"$Age{1968 }", kBad},  {"$Age{ }", kBad},      {"$Age{-}", kBad},
        {"$Age{19 68}", kBad}, {"$Age{-40000}", kBig}, {"$Age{-27991}", kBig}, {"$Age{32011}", kBig},
        {"$Age{99999999999999999999999}", kBig},       {"$Age{-99999999999999999999999}", kBig},
        {"ok $Age{1968} then $Age{x}", kBad},          {"$Age{x} $Age{-40000}", kBad},
        {"$Age{-40000} $Age{x}", kBig},
    };
    for (const auto& c : cases) {
        Expand(c.text);
        EXPECT_EQ(result, c.result) << c.text;
        EXPECT_EQ(CheckMacros(c.text), c.result) << c.text;
    }
    Expand("$Age{-27990}", 365);  // valid this year, as checked; too big next year
    EXPECT_EQ(result, kBig);
}

TEST_F(MacrosTest, OverlongFieldsArePlainTextAndOutputsAreNeverOverrun) {
    // A parameter of 151 characters fits its field; one of 152 makes the '$' plain text.
    EXPECT_EQ(Expand("$Age{" + std::string(147, ' ') + "1968}"), "42");
    const std::string tooLong = "$Age{" + std::string(148, ' ') + "1968}";
    EXPECT_EQ(Expand(tooLong), tooLong);
    EXPECT_EQ(result, kMacrosValid);
    EXPECT_EQ(CheckMacros(("$Age{" + std::string(160, 'x') + "}").c_str()), kMacrosValid);
    const std::string longName = "$" + std::string(200, 'A') + "{x} ";
    EXPECT_EQ(Expand(longName + "$Age{1968}"), longName + "42");

    // A buffer too small is filled up to its end, cut between characters.
    char small[8];
    std::memset(small, 'Z', sizeof small);
    ExpandMacros("Żółw $Age{1968} lat", 0, small, 6);
    EXPECT_STREQ(small, "Żó");
    EXPECT_EQ(small[6], 'Z');
    ExpandMacros("$Age{x} Żółw", 0, small, 7);
    EXPECT_STREQ(small, "$Age{x");
    ExpandMacros("$Age{1968}", 0, small, 0);  // no room at all: nothing written
    EXPECT_EQ(small[0], '$');
    EXPECT_EQ(small[7], 'Z');

    // Random texts full of macro pieces fit an output of their own size.
    std::mt19937 random(7);
    const char* pieces[] = {"$", "Age", "{", "}", "\\", "1968", "-", " ", "x", "$Age{}", "$Age{1}", "ą"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = static_cast<int>(random() % 40); i > 0; --i) text += pieces[random() % 12];
        Expand(text, static_cast<int>(random() % 2000) - 1000);
        EXPECT_EQ(CheckMacros(text.c_str()) == kMacroInvalidParameter, result == kMacroInvalidParameter) << text;
    }
}
