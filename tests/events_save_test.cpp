#include "storage/events_save.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/storage_helpers.h"

namespace {

// Line `n` (5 to 9) of a test file holds MarchEvent(n).
std::string EventLine(int n) {
    return "0" + std::to_string(n) + "-Mar-2010 01Y 000 000 event " + std::to_string(n) + "\r\n";
}
// The header, a blank line and event lines 5 to `last`.
std::string FileOf(int last) {
    std::string file = Header() + "\r\n";
    for (int n = 5; n <= last; ++n) file += EventLine(n);
    return file;
}

// Nothing shown or left behind, and one reload of the list per change.
void ExpectQuiet(size_t changes) {
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_FALSE(fake.waitCursor);
    EXPECT_EQ(StrayFiles(), 0);
    EXPECT_EQ(fake.postedCommands, std::vector<int>(changes, CMD_RELOAD_LIST));
}

class EventsSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18);
        CopyText(workingDirectory, "C:\\Quillbee", sizeof workingDirectory);
    }
    ScratchDir dir;
};

}  // namespace

TEST_F(EventsSaveTest, ModifyingMovesTheEventToTheEnd) {
    WriteFileBytes(kEventsFileName, FileOf(8));
    EXPECT_EQ(RemoveDutyLine(MarchEvent(5, 5)), 1);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), FileOf(8)) << "the backup holds the file before the removal";
    EXPECT_EQ(AppendDuty(MarchEvent(9)), 1);
    const std::string expected = FileOf(4) + EventLine(6) + EventLine(7) + EventLine(8) + EventLine(9);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), expected);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), expected);
    EXPECT_GE(fake.waitCursorShows, 2);
    ExpectQuiet(2);
}

// The new line never joins a last line without its end, and a missing or
// empty file gets the header first.
TEST_F(EventsSaveTest, AppendKeepsTheFileReadable) {
    WriteFileBytes(kEventsFileName, FileOf(5) + "; note");
    EXPECT_EQ(AppendDuty(MarchEvent(6)), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(5) + "; note\r\n" + EventLine(6));
    for (bool empty : {false, true}) {
        std::remove(kEventsFileName);
        if (empty) WriteFileBytes(kEventsFileName, "");
        EXPECT_EQ(AppendDuty(MarchEvent(5)), 1);
        EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(5)) << empty;
    }
    ExpectQuiet(3);
}

// Lines of any length, comments, LF-only ends and a last line without an end
// come through byte for byte.
TEST_F(EventsSaveTest, RemoveTouchesOnlyItsLine) {
    const std::string kept = Header() + "; comment\n" + std::string(20000, 'x') + "\r\n";
    WriteFileBytes(kEventsFileName, kept + EventLine(6) + "tail");
    EXPECT_EQ(RemoveDutyLine(MarchEvent(6, 6)), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), kept + "tail");
    EXPECT_EQ(RemoveDutyLine(MarchEvent(6, 6)), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), kept);
    ExpectQuiet(2);
    // The version line stays: without it no reader could use the file.
    WriteFileBytes(kEventsFileName, FileOf(6));
    EXPECT_EQ(RemoveDutyLine(MarchEvent(5, 1)), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(6));
    // A file gone since the list was built: the edit in hand would be lost.
    std::remove(kEventsFileName);
    EXPECT_EQ(RemoveDutyLine(MarchEvent(6, 6)), 0);
    EXPECT_FALSE(FileExists(kEventsFileName));
    ASSERT_EQ(fake.boxes.size(), 2u);
    for (const ShownBox& box : fake.boxes) EXPECT_EQ(box.text, "Error writing events file in C:\\Quillbee");
}

TEST_F(EventsSaveTest, UpgradeRewritesOlderVersionsOnly) {
    const std::pair<std::string, std::string> upgrades[] = {
        {";File created by Quillbee 1.30\r\n; my comment\r\n\r\n15-Mar 03 01 Call Anna\r\n",
         "15-Mar-2010 01Y 003 001 Call Anna\r\n"},
        {";Quillbee 1.40\n07-May-2011 00n 05 01 Dentist\n", "07-May-2011 00N 005 001 Dentist\r\n"},
    };
    for (const auto& [old, events] : upgrades) {
        WriteFileBytes(kEventsFileName, old);
        EXPECT_EQ(UpgradeEventsFile(), 1);
        EXPECT_EQ(ReadFileBytes(kEventsFileName), Header() + "\r\n" + events);
        EXPECT_EQ(ReadFileBytes(kBackupFileName), old);
    }
    ExpectQuiet(0);
    // The current version is left alone, and so is a file that is not ours.
    std::remove(kBackupFileName);
    for (const std::string& file : {FileOf(6), std::string("; my file\r\n")}) {
        WriteFileBytes(kEventsFileName, file);
        EXPECT_EQ(UpgradeEventsFile(), 1);
        EXPECT_EQ(ReadFileBytes(kEventsFileName), file);
    }
    EXPECT_EQ(fake.quitRequests, 1);
    EXPECT_FALSE(FileExists(kBackupFileName));
    std::remove(kEventsFileName);
    EXPECT_EQ(UpgradeEventsFile(), 0);
    EXPECT_FALSE(FileExists(kEventsFileName));
}

// Step 0 makes the target read-only; then each write of each rewrite fails in
// turn, once or for good (a full disk).
TEST_F(EventsSaveTest, AFailedRewriteKeepsTheOldFileAndIsReported) {
    for (const RewriteCase& c : kRewriteCases) {
        const std::vector<int> results = CheckFailures(c, OldEvents(8), [&c](int step, int writes) {
            if (step == 0) SetReadOnly(c.target, true);
            fake.failWriteAt = (step + 1) / 2;
            fake.keepFailing = step % 2 == 0;
            return fake.failWriteAt <= writes;
        });
        ASSERT_GT(results.size(), 2u) << c.name;
        EXPECT_EQ(results[0], 0) << c.name << " of a read-only file";
        EXPECT_EQ(results[1] + results[2], 0) << c.name << ": the first write failed";
    }
}
