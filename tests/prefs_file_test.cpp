// The preferences file, and the first run that its absence may mean.
#include "storage/prefs_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/prefs.h"
#include "app/startup_shortcut.h"
#include "model/calendar.h"
#include "storage/first_run.h"
#include "tests/storage_helpers.h"

// The "on" flags of the start-up shortcut requests.
std::vector<int> startupShortcutCalls;
void UpdateStartupShortcut(int on) { startupShortcutCalls.push_back(on); }

namespace {

class PrefsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18, 9, 30);
        CopyText(workingDirectory, "C:\\Quillbee", sizeof workingDirectory);
        prefs = DefaultPrefs();
        userPresent = 0;
        startupShortcutCalls.clear();
    }
    void TearDown() override { SetUp(); }
    // Every field, as SavePrefs writes them.
    static std::string Saved() { return SavePrefs() == 1 ? ReadFileBytes(kPrefsFileName) : "failed"; }

    ScratchDir dir;
};

}  // namespace

TEST_F(PrefsFileTest, SavesAndReadsBackEveryField) {
    ApplyDefaultListFont(&prefs.listFont);
    EXPECT_EQ(Saved(), Header() +
                           "10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 0 "
                           "'Comic Sans MS'");
    EXPECT_FALSE(fake.waitCursor);
    int32_t* fields = &prefs.warnDaysBefore;
    for (int i = 0; i < 17; ++i) fields[i] = i == 11 ? 4 : 1000 * (i + 1) - 7;
    prefs.listFont = {-19, 2, 3, 4, 700, 1, 0, 1, 238, 3, 2, 5, 34, "Times New Roman"};
    const std::string saved = Saved();
    prefs = DefaultPrefs();
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(Saved(), saved);
    EXPECT_STREQ(prefs.listFont.faceName, "Times New Roman");
}

TEST_F(PrefsFileTest, UnknownVersionsAreFatalAndOlderOnesMapTheirPresets) {
    WriteFileBytes(kPrefsFileName, "; my settings\r\n;\r\n;\r\n1 1 1 1 0 0 1 1 40 50 600 0 0 0 0 0");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(prefs.warnDaysBefore, 10);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 1 )");
    EXPECT_EQ(fake.quitRequests, 1);

    WriteFileBytes(kPrefsFileName, ";Quillbee 1.30\r\n;\r\n;\r\n7 2 1 1 0 0 0 1 10 10 500 1750 0 0 0 0");
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(Saved(), Header() + "7 2 1 1 0 0 1 1 10 10 500 4 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ''");
    const std::pair<int, int> presets[] = {{1720, 0}, {1730, 1}, {1740, 2}, {3, 3}, {99, 0}};
    for (const auto& [stored, scheme] : presets) {
        WriteFileBytes(kPrefsFileName, ";Quillbee 1.20\r\n;\r\n;\r\n1 1 1 1 0 0 0 1 10 10 500 " +
                                           std::to_string(stored) + " 0 0 0 0\r\n");
        EXPECT_EQ(LoadPrefs(), 1);
        EXPECT_EQ(prefs.colourScheme, scheme) << stored;
    }
    EXPECT_EQ(fake.boxes.size(), 1u);
}

TEST_F(PrefsFileTest, AnIncompleteLineChangesNothing) {
    const std::string before = Saved();
    for (const char* line :
         {"10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0",  // 20 fields
          "10 3 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 0 -14 0 0 0 0 0 0 0 0 0 0 0 x 'A'", ""}) {
        WriteFileBytes(kPrefsFileName, Header() + line);
        EXPECT_EQ(LoadPrefs(), -2) << line;
        EXPECT_EQ(Saved(), before) << line;
    }
    // A missing face name only leaves the face empty.
    const std::string noFace =
        "1 2 1 1 0 0 1 1 40 50 600 0 6737100 208 0 32768 1 -14 0 0 0 0 0 0 0 0 0 0 0 0";
    WriteFileBytes(kPrefsFileName, Header() + noFace);
    EXPECT_EQ(LoadPrefs(), 1);
    EXPECT_EQ(Saved(), Header() + noFace + " ''");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(PrefsFileTest, OnlyAMissingEventsFileMakesAFirstRun) {
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
    EXPECT_EQ(fake.boxes[0].text,
              "It seems this is your first time using Quillbee.\n\nThank you for trying it, and I hope you "
              "find it useful! ");
    EXPECT_EQ(fake.boxes[0].caption, "Welcome to Quillbee 1.41");
    EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconInformation);
    EXPECT_EQ(userPresent, 1);
    EXPECT_EQ(startupShortcutCalls, std::vector<int>{0});
    EXPECT_EQ(ReadFileBytes(kEventsFileName).rfind(Header(), 0), 0u);
    EXPECT_FALSE(FileExists(kPrefsFileName));
    EXPECT_FALSE(fake.waitCursor);
}

TEST_F(PrefsFileTest, SampleEventsOfTheEighteenthOfNovember) {
    ASSERT_EQ(WriteSampleEvents(), 1);
    const std::string installed = "Quillbee 1.41 was installed in this machine on 18/Lis/2010.";
    const std::string visit = "Remember to visit \"" + std::string(kProductAddress) + "\" for updates.";
    const std::string first = "18-Nov-2010 01Y 000 000 Anniversary of your first Quillbee installation!\x1E" +
                              installed + "\x1E\x1E" + visit + "\x1E\x1E";
    EXPECT_EQ(ReadFileBytes(kEventsFileName),
              Header() + first + "\r\n\r\n" +
                  "25-Nov-2010 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n\r\n"
                  "18-Dec-2010 01Y 000 000 10:30 - School festival\r\n\r\n"
                  "18-Dec-2010 01Y 000 000 13:00 - Call dentist!\r\n\r\n"
                  "18-Dec-2010 01Y 000 000 16:00 - Car oil change\r\n\r\n");
    // Read back, the marks of the first event's notes are line breaks.
    std::string line = first;
    EXPECT_EQ(ParseDutyLine(line.data(), 4, kVersion141)->notes, installed + "\r\n" + visit + "\r\n");
    EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(PrefsFileTest, SampleDatesFollowTheLocalCalendar) {
    // 30 days from a late-October evening cross the end of summer time.
    fake.now = LocalTime(2010, 10, 30, 23, 30);
    ASSERT_EQ(WriteSampleEvents(), 1);
    const std::string file = ReadFileBytes(kEventsFileName);
    for (const char* line :
         {"\r\n30-Oct-2010 01Y", "\r\n06-Nov-2010 01Y", "\r\n29-Nov-2010 01Y 000 000 10:30"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    // A year's turn gives the appointments the next year.
    fake.now = LocalTime(2010, 12, 20);
    ASSERT_EQ(WriteSampleEvents(), 1);
    EXPECT_NE(ReadFileBytes(kEventsFileName).find("\r\n19-Jan-2011 01Y 000 000 16:00"), std::string::npos);
}
