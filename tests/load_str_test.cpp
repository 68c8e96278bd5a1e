#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/load_str.h"

TEST(LoadStr, RingOfNineBuffers) {
    const char* first = LoadStr(4001);
    for (int i = 0; i < 8; ++i) LoadStr(1275);
    EXPECT_STREQ(first, "Styczeń") << "the 9th call must not overwrite the 1st";
    EXPECT_EQ(LoadStr(1280), first) << "the 10th call reuses the 1st buffer";
    EXPECT_STREQ(first, "DZIŚ");
}

TEST(LoadStr, TextsComeBackAsTheyStandInTheTable) {
    EXPECT_STREQ(LoadStr(1000), "pl");
    EXPECT_STREQ(LoadStr(4010), "Październik");
    EXPECT_STREQ(LoadStr(1225),
                 "%s was installed in this machine on %s.%c%cRemember to visit \"%s\" for updates.%c%c");
    EXPECT_STREQ(LoadStr(1050), "Data                 ") << "trailing blanks belong to the text";
    for (int id : {1235, 1245, 1246, 1247, 1, 65535}) EXPECT_STREQ(LoadStr(id), "") << id;
}

TEST(LookupString, CutsAtCharacterBoundaries) {
    const struct {
        int id;
        int size;
        const char* expected;
    } cases[] = {{4106, 3, "So"}, {4103, 3, "Ś"}, {4103, 2, ""}, {4103, 4, "Śr"}};
    for (const auto& c : cases) {
        char buffer[8];
        std::memset(buffer, 'Z', sizeof buffer);
        LookupString(c.id, buffer, c.size);
        EXPECT_STREQ(buffer, c.expected) << c.id << " in " << c.size;
        EXPECT_EQ(buffer[c.size], 'Z') << "nothing written beyond the buffer";
    }
}
