#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/load_str.h"
#include "app/prefs.h"

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
    EXPECT_STREQ(LoadStr(2040), "Fatal error reading data file (invalid format)!\n( at line %d )");
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

TEST(Prefs, DefaultsOfANewRecord) {
    Prefs p = DefaultPrefs();
    const int32_t expected[] = {10, 3, 1, 1, 0, 0, 1, 1, 40, 50, 600, 0, 0x66CCCC, 0x0000D0, 0, 0x008000, 0};
    const int32_t actual[] = {p.warnDaysBefore, p.warnDaysAfter, p.keepPosition,  p.keepWidth,   p.alwaysOnTop,
                              p.hideMenuBar,    p.showTrayIcon,  p.startWithSystem, p.windowX,   p.windowY,
                              p.windowWidth,    p.colourScheme,  p.userBackground,  p.userPastDays, p.userToday,
                              p.userFutureDays, p.showWeekday};
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) EXPECT_EQ(actual[i], expected[i]) << i + 1;
    ListFont zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&p.listFont, &zero, sizeof zero), 0);

    ApplyDefaultListFont(&p.listFont);
    EXPECT_EQ(p.listFont.height, -14);
    EXPECT_STREQ(p.listFont.faceName, "Comic Sans MS");
    p.listFont.height = 0;
    std::strcpy(p.listFont.faceName, "Arial");
    ApplyDefaultListFont(&p.listFont);
    EXPECT_EQ(p.listFont.height, 0) << "a chosen face stays as it is";
    EXPECT_STREQ(p.listFont.faceName, "Arial");
}
