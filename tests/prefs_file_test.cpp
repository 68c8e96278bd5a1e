#include "storage/prefs_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/platform.h"
#include "app/prefs.h"
#include "app/state.h"
#include "storage/safe_rewrite.h"
#include "tests/fake_platform.h"
#include "tests/fake_startup_shortcut.h"
#include "tests/storage_helpers.h"

namespace {

class PrefsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18);
        CopyText(workingDirectory, "C:\\Quillbee", sizeof workingDirectory);
        prefs = DefaultPrefs();
        userPresent = 0;
        startupShortcutCalls.clear();
        header = HeaderBytes();
    }
    void TearDown() override {
        ResetFakePlatform();
        prefs = DefaultPrefs();
        userPresent = 0;
    }
    static bool SamePrefs(const Prefs& a, const Prefs& b) {
        return std::memcmp(&a, &b, offsetof(Prefs, listFont.faceName)) == 0 &&
               std::strcmp(a.listFont.faceName, b.listFont.faceName) == 0;
    }

    ScratchDir dir;
    std::string header;
};

}  // namespace

TEST_F(PrefsFileTest, SavesAndReadsBackEveryField) {
    ApplyDefaultListFont(&prefs.listFont);
    EXPECT_EQ(SavePrefs(), 1);
    EXPECT_EQ(ReadFileBytes(kPrefsFileName),
              header +
                  "10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 0 "
                  "'Comic Sans MS'");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_FALSE(fake.waitCursor);

    int32_t* fields = &prefs.warnDaysBefore;
    for (int i = 0; i < 17; ++i) fields[i] = i == 11 ? 4 : 1000 * (i + 1) - 7;
    prefs.listFont = {-19, 2, 3, 4, 700, 1, 0, 1, 238, 3, 2, 5, 34, "Times New Roman"};
    const Prefs saved = prefs;
    ASSERT_EQ(SavePrefs(), 1);
    prefs = DefaultPrefs();
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_TRUE(SamePrefs(prefs, saved));
    EXPECT_STREQ(prefs.listFont.faceName, "Times New Roman");
    EXPECT_EQ(TempFilesLeft(), 0);
}

TEST_F(PrefsFileTest, OlderVersionsMapTheirPresets) {
    WriteFileBytes(kPrefsFileName, ";Quillbee 1.30\r\n;\r\n;\r\n7 2 1 1 0 0 0 1 10 10 500 1750 0 0 0 0");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(prefs.colourScheme, 4);
    EXPECT_EQ(prefs.showTrayIcon, 1);
    EXPECT_EQ(prefs.warnDaysBefore, 7);
    EXPECT_EQ(prefs.windowWidth, 500);
    EXPECT_EQ(prefs.showWeekday, 0);
    EXPECT_EQ(prefs.listFont.height, 0);
    EXPECT_STREQ(prefs.listFont.faceName, "");
    const int presets[][2] = {{1720, 0}, {1730, 1}, {1740, 2}, {3, 3}, {99, 0}};
    for (const auto& preset : presets) {
        std::string line = "1 1 1 1 0 0 0 1 10 10 500 " + std::to_string(preset[0]) + " 0 0 0 0\r\n";
        WriteFileBytes(kPrefsFileName, ";Quillbee 1.20\r\n;\r\n;\r\n" + line);
        EXPECT_EQ(LoadPrefs(), 1);
        EXPECT_EQ(prefs.colourScheme, preset[1]) << preset[0];
    }
}

TEST_F(PrefsFileTest, AnIncompleteLineChangesNothing) {
    const Prefs before = prefs;
    const char* broken[] = {
        "10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0",  // stops after field 20
        "10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 x 'A'",
        "",
    };
    for (const char* line : broken) {
        WriteFileBytes(kPrefsFileName, header + line);
        EXPECT_EQ(LoadPrefs(), -2) << line;
        EXPECT_TRUE(SamePrefs(prefs, before)) << line;
    }
    WriteFileBytes(kPrefsFileName, header);  // no data line at all
    EXPECT_EQ(LoadPrefs(), -2);
    // A missing face name only leaves the face empty.
    WriteFileBytes(kPrefsFileName,
                   header + "1 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 1 -14 0 0 0 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(prefs.warnDaysBefore, 1);
    EXPECT_EQ(prefs.showWeekday, 1);
    EXPECT_STREQ(prefs.listFont.faceName, "");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(PrefsFileTest, UnrecognisedVersionIsFatal) {
    WriteFileBytes(kPrefsFileName, "; my settings\r\n;\r\n;\r\n1 1 1 1 0 0 1 1 40 50 600 0 0 0 0 0");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(prefs.warnDaysBefore, 10);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 1 )");
    EXPECT_EQ(fake.quitRequests, 1);
}

TEST_F(PrefsFileTest, OnlyAMissingEventsFileMakesAFirstRun) {
    // A lost preferences file is not a first run.
    WriteFileBytes(kEventsFileName, "events");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(userPresent, 0);
    EXPECT_TRUE(startupShortcutCalls.empty());
    EXPECT_EQ(ReadFileBytes(kEventsFileName), "events");

    std::remove(kEventsFileName);
    prefs.startWithSystem = 0;
    EXPECT_EQ(LoadPrefs(), 1);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(
        fake.boxes[0].text,
        "It seems this is your first time using Quillbee.\n\nThank you for trying it, and I hope you find "
        "it useful! ");
    EXPECT_EQ(fake.boxes[0].caption, "Welcome to Quillbee 1.41");
    EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconInformation);
    EXPECT_EQ(userPresent, 1);
    EXPECT_EQ(startupShortcutCalls, std::vector<int>{0});
    EXPECT_EQ(ReadFileBytes(kEventsFileName).rfind(header, 0), 0u);
    EXPECT_FALSE(FileExists(kPrefsFileName));
    EXPECT_FALSE(fake.waitCursor);
}

TEST_F(PrefsFileTest, ReadOnlyPreferencesFileIsReported) {
    WriteFileBytes(kPrefsFileName, "kept");
    SetReadOnly(kPrefsFileName, true);
    prefs.warnDaysBefore = 20;
    EXPECT_EQ(SavePrefs(), 0);
    SetReadOnly(kPrefsFileName, false);
    EXPECT_EQ(ReadFileBytes(kPrefsFileName), "kept");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Error writing preferences file in C:\\Quillbee");
    EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
    EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconError);
    EXPECT_EQ(prefs.warnDaysBefore, 20);
    EXPECT_EQ(TempFilesLeft(), 0);
}
