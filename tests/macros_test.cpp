// The $Age macro: scanning, parameters, results and the safety of the output.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/macros.h"
#include "tests/fake_platform.h"

namespace {

struct Case {
    std::string text, expanded;  // expanded "": the text as typed
    int result = kMacrosValid, offset = 0;
    time_t now = 0;
};

}  // namespace

TEST(MacrosTest, Expansion) {
    const int kOk = kMacrosValid, kBad = kMacroInvalidParameter, kBig = kMacroValueTooBig;
    const time_t oct = LocalTime(2010, 10, 1, 0, 30), mar = LocalTime(2011, 3, 31, 0, 30);
    const std::string longName = "$" + std::string(200, 'A') + "{x} ";
    const Case cases[] = {
        {"Birthday! ($Age{1968} years)", "Birthday! (42 years)"}, {"$Age{2020}", "-10"},
        {"$age{ \t+1968} $AGE{}", "42 2010"}, {"$Age{-27990} $Age{32010}", "30000 -30000"},
        {"\\$Age{1968} or $Age{1968}", "\\$Age{1968} or 42"}, {"$5 for $Age{1968}", "$5 for 42"},
        {"$$Age{1968}$ $Name{1} $Age 1968} $Age{1968", "$42$ $Name{1} $Age 1968} $Age{1968"},
        {"$Age{" + std::string(147, ' ') + "1968}", "42"},
        {"$Age{" + std::string(148, ' ') + "1968}", ""},  // too long for a parameter: plain text
        {longName + "$Age{1968}", longName + "42"},
        {"$Age{19x}", "", kBad}, {"$Age{1968 }", "", kBad}, {"$Age{-27991}", "", kBig},
        {"$Age{32011}", "", kBig},
        {"$Age{-99999999999999999999999}", "", kBig}, {"$Age{1968} $Age{x} $Age{-40000}", "", kBad},
        {"$Age{-40000} $Age{x}", "", kBig}, {"$Age{-27990}", "", kBig, 365},  // next year's age
        // The occurrence's year counts calendar days, across daylight saving too.
        {"$Age{2000}", "10", kOk, 43}, {"$Age{2000}", "11", kOk, 44}, {"$Age{2000}", "10", kOk, 91, oct},
        {"$Age{2000}", "11", kOk, 92, oct}, {"$Age{2000}", "10", kOk, -90, mar},
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
        if (c.offset == 0) {
            EXPECT_EQ(CheckMacros(c.text.c_str()), c.result) << c.text;
        }
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
