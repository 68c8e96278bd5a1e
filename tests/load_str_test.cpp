#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/load_str.h"
#include "app/prefs.h"
#include "app/state.h"

TEST(LoadStr, RingOfNineBuffers) {
    const char* first = LoadStr(4001);
    std::string saved = first;
    for (int i = 0; i < 7; ++i) LoadStr(1275);
    const char* ninth = LoadStr(1270);
    EXPECT_STREQ(first, saved.c_str()) << "the 9th call must not overwrite the 1st";
    EXPECT_NE(first, ninth);
    const char* tenth = LoadStr(1280);
    EXPECT_EQ(first, tenth) << "the 10th call reuses the 1st buffer";
    EXPECT_STREQ(first, "DZIŚ");
}

TEST(LoadStr, TextsComeBackAsUtf8) {
    EXPECT_STREQ(LoadStr(1000), "pl");
    EXPECT_STREQ(LoadStr(4010), "Październik");
    EXPECT_STREQ(LoadStr(4103), "Środa");
    EXPECT_STREQ(LoadStr(2040), "Fatal error reading data file (invalid format)!\n( at line %d )");
    EXPECT_STREQ(LoadStr(1225),
                 "%s was installed in this machine on %s.%c%cRemember to visit \"%s\" for updates.%c%c");
    // Trailing blanks belong to the texts.
    EXPECT_STREQ(LoadStr(1050), "Data                 ");
}

TEST(LoadStr, UnknownIdsGiveAnEmptyText) {
    for (int id : {1235, 1245, 1246, 1247, 1, 65535}) EXPECT_STREQ(LoadStr(id), "") << id;
}

TEST(LookupString, CutsAtCharacterBoundaries) {
    char buffer[3];
    LookupString(4106, buffer, sizeof buffer);  // "Sobota"
    EXPECT_STREQ(buffer, "So");
    char small[4];
    LookupString(4101, small, sizeof small);  // "Poniedziałek"
    EXPECT_STREQ(small, "Pon");
    char polish[3];
    LookupString(4103, polish, sizeof polish);  // "Środa": Ś takes two bytes
    EXPECT_STREQ(polish, "Ś");
    char tiny[2];
    LookupString(4103, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "");
}

TEST(Prefs, DefaultsOfANewRecord) {
    Prefs p = DefaultPrefs();
    EXPECT_EQ(p.warnDaysBefore, 10);
    EXPECT_EQ(p.warnDaysAfter, 3);
    EXPECT_EQ(p.keepPosition, 1);
    EXPECT_EQ(p.keepWidth, 1);
    EXPECT_EQ(p.alwaysOnTop, 0);
    EXPECT_EQ(p.hideMenuBar, 0);
    EXPECT_EQ(p.showTrayIcon, 1);
    EXPECT_EQ(p.startWithSystem, 1);
    EXPECT_EQ(p.windowX, 40);
    EXPECT_EQ(p.windowY, 50);
    EXPECT_EQ(p.windowWidth, 600);
    EXPECT_EQ(p.colourScheme, 0);
    EXPECT_EQ(p.userBackground, 0x66CCCC);
    EXPECT_EQ(p.userPastDays, 0x0000D0);
    EXPECT_EQ(p.userToday, 0);
    EXPECT_EQ(p.userFutureDays, 0x008000);
    EXPECT_EQ(p.showWeekday, 0);
    ListFont zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&p.listFont, &zero, sizeof zero), 0);

    ApplyDefaultListFont(&p.listFont);
    EXPECT_EQ(p.listFont.height, -14);
    EXPECT_STREQ(p.listFont.faceName, "Comic Sans MS");
    p.listFont.height = -20;
    std::strcpy(p.listFont.faceName, "Arial");
    ApplyDefaultListFont(&p.listFont);
    EXPECT_EQ(p.listFont.height, -20) << "a chosen font stays";
    EXPECT_STREQ(p.listFont.faceName, "Arial");
}

TEST(State, StartValues) {
    EXPECT_EQ(dayFirst, 1);
    EXPECT_EQ(instanceNumber, 1);
    EXPECT_EQ(newEventRepeatMark, 'Y');
    EXPECT_STREQ(kProgramTitle, "Quillbee 1.41");
}
