#include "storage/prefs_file.h"

#include <gtest/gtest.h>

#include "app/startup_shortcut.h"
#include "storage/first_run.h"
#include "tests/storage_helpers.h"

std::vector<int> startupShortcutCalls;  // the "on" flags asked for
void UpdateStartupShortcut(int on) { startupShortcutCalls.push_back(on); }

using PrefsFileTest = StorageTest;

static std::string Saved() { return SavePrefs() == 1 ? ReadFileBytes(kPrefsFileName) : "failed"; }

TEST_F(PrefsFileTest, SavesTheDefaultsAndReadsBackEveryField) {
    ApplyDefaultListFont(&prefs.listFont);
    EXPECT_EQ(Saved(), Header() +
                           "10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 "
                           "0 0 'Comic Sans MS'");
    // Every field a value of its own, none a default: a field written in the
    // place of another, or not written at all, comes back wrong.
    int32_t* fields = &prefs.warnDaysBefore;
    for (int i = 0; i < 17; ++i) fields[i] = i == 11 ? 3 : 1000 * (i + 1) - 7;
    prefs.listFont = {-19, 2, 3, 4, 700, 5, 6, 7, 238, 8, 9, 10, 34, "Times New Roman"};
    ASSERT_EQ(SavePrefs(), 1);
    prefs = DefaultPrefs();
    ASSERT_EQ(LoadPrefs(), 1);
    for (int i = 0; i < 17; ++i) EXPECT_EQ(fields[i], i == 11 ? 3 : 1000 * (i + 1) - 7) << "field " << i;
    const ListFont& f = prefs.listFont;
    EXPECT_EQ((std::vector<int>{f.height, f.width, f.escapement, f.orientation, f.weight, f.italic, f.underline,
                                f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality,
                                f.pitchAndFamily}),
              (std::vector<int>{-19, 2, 3, 4, 700, 5, 6, 7, 238, 8, 9, 10, 34}));
    EXPECT_STREQ(f.faceName, "Times New Roman");
}

// 1.30 stored the colour scheme as the number of its button (1750: scheme 4);
// an incomplete data line gives -2 and none of it is applied.
TEST_F(PrefsFileTest, ReadingOlderAndIncompleteFiles) {
    const std::string defaults = Saved();
    const std::pair<std::string, const char*> files[] = {
        {";Quillbee 1.30\r\n;\r\n;\r\n7 2 1 1 0 0 0 1 10 10 500 1750 0 0 0 0",
         "7 2 1 1 0 0 1 1 10 10 500 4 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ''"},
        {Header() + "1 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0", nullptr},  // 20 fields
        {Header() + "1 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 x 'A'",
         nullptr},
        {Header(), nullptr},
        // Longer than any data line the program writes: not read from its first bytes.
        {Header() + "1 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 0 '" +
             std::string(600, 'A') + "'",
         nullptr},
    };
    for (const auto& [file, saved] : files) {
        prefs = DefaultPrefs();
        WriteFileBytes(kPrefsFileName, file);
        EXPECT_EQ(LoadPrefs(), saved ? 1 : -2) << file;
        EXPECT_EQ(Saved(), saved ? Header() + saved : defaults) << file;
    }
    EXPECT_TRUE(fake.boxes.empty());
}

// Events without prefs: the prefs file was lost, not a new user. Without
// either, the user is greeted and gets the sample events.
TEST_F(PrefsFileTest, FirstRunOrLostPrefs) {
    startupShortcutCalls.clear();
    WriteFileBytes(kEventsFileName, "events");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(startupShortcutCalls.empty());
    EXPECT_EQ(ReadFileBytes(kEventsFileName), "events");
    // The shortcut follows the setting, whichever it is.
    for (int on : {1, 0}) {
        std::remove(kEventsFileName);
        fake.boxes.clear();
        startupShortcutCalls.clear();
        prefs.startWithSystem = on;
        EXPECT_EQ(LoadPrefs(), 1);
        EXPECT_EQ(startupShortcutCalls, std::vector<int>{on});
    }
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].caption, "Welcome to Quillbee 1.41");
    EXPECT_EQ(userPresent, 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName),
              Header() + "18-Nov-2010 01Y 000 000 Anniversary of your first Quillbee installation!\x1E" +
                  "Quillbee 1.41 was installed in this machine on 18/Lis/2010.\x1E\x1E" +
                  "Remember to visit \"" + kProductAddress + "\" for updates.\x1E\x1E\r\n\r\n" +
                  "25-Nov-2010 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n\r\n"
                  "18-Dec-2010 01Y 000 000 10:30 - School festival\r\n\r\n"
                  "18-Dec-2010 01Y 000 000 13:00 - Call dentist!\r\n\r\n"
                  "18-Dec-2010 01Y 000 000 16:00 - Car oil change\r\n\r\n");
    // 30 days from a late-October evening cross the end of summer time.
    fake.now = LocalTime(2010, 10, 30, 23, 30);
    ASSERT_EQ(WriteSampleEvents(), 1);
    EXPECT_NE(ReadFileBytes(kEventsFileName).find("\r\n29-Nov-2010 01Y 000 000 10:30"), std::string::npos);
}

// A font no chooser would produce makes rows that cannot be used; the list
// then gets the default font, whole.
TEST(ListFont, OnlyAChooserFontIsKept) {
    const ListFont chooser = {-19, 0, 0, 0, 700, 1, 0, 0, 238, 3, 2, 1, 34, "Times New Roman"};
    ListFont damaged[8];
    for (ListFont& f : damaged) f = chooser;
    damaged[0].height = 0;
    damaged[1].height = 19;
    damaged[2].height = -193;
    damaged[3].width = 400;
    damaged[4].escapement = 900;
    damaged[5].orientation = 900;
    damaged[6].weight = 5000;
    damaged[7].faceName[0] = '\0';
    ListFont kept = chooser;
    kept.height = -192;
    ApplyDefaultListFont(&kept);
    EXPECT_EQ(kept.height, -192);
    EXPECT_STREQ(kept.faceName, "Times New Roman");
    for (int i = 0; i < 8; ++i) {
        ListFont& f = damaged[i];
        ApplyDefaultListFont(&f);
        EXPECT_EQ(f.height, -14) << i;
        EXPECT_STREQ(f.faceName, "Comic Sans MS") << i;
        EXPECT_EQ(f.weight + f.width + f.escapement + f.orientation + f.italic + f.charSet + f.pitchAndFamily,
                  0)
            << i;
    }
}
