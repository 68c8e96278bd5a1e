#include "storage/events_save.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/storage_helpers.h"

using EventsSaveTest = StorageTest;

// A modified event moves to the end, whether removed and appended again or
// replaced in one rewrite; a long last line without its end comes through
// whole and gets one.
TEST_F(EventsSaveTest, ModifyingLineFiveOfEight) {
    const std::string tail = "; " + std::string(20000, 'x'), start = EventsOf({5, 6, 7, 8}) + tail;
    const std::string nine = FormatDutyLine(MarchEvent(9)),
                      expected = EventsOf({6, 7, 8}) + tail + "\r\n" + nine;
    WriteFileBytes(kEventsFileName, start);
    EXPECT_EQ(RemoveDutyLine(MarchEvent(5, 5)), 1);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), start) << "the backup holds the file before the removal";
    EXPECT_EQ(AppendDuty(MarchEvent(9)), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), expected);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), expected);
    WriteFileBytes(kEventsFileName, start);
    EXPECT_EQ(ReplaceDutyLine(MarchEvent(9, 5)), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), expected);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), expected);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.postedCommands, std::vector<int>(3, CMD_RELOAD_LIST));

    std::remove(kEventsFileName);  // a missing file gets the header first
    EXPECT_EQ(AppendDuty(MarchEvent(5)), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5}));
    std::remove(kEventsFileName);
    EXPECT_EQ(ReplaceDutyLine(MarchEvent(5, 7)), 1) << "the edited event is kept";
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5}));
    // The version line stays; and a file gone since the list was built is
    // reported, since the caller then drops the edited event.
    EXPECT_EQ(RemoveDutyLine(MarchEvent(5, 1)), 0);
    EXPECT_EQ(ReplaceDutyLine(MarchEvent(6, 1)), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5}));
    std::remove(kEventsFileName);
    EXPECT_EQ(RemoveDutyLine(MarchEvent(5, 5)), 0);
    EXPECT_EQ(fake.boxes.size(), 3u);
}

// The backup keeps the 1.30 file; a current file is left alone.
TEST_F(EventsSaveTest, UpgradeOfA130File) {
    const std::string old =
        ";File created by Quillbee 1.30\r\n; my comment\r\n\r\n15-Mar 03 01 Call Anna\r\n";
    WriteFileBytes(kEventsFileName, old);
    EXPECT_EQ(UpgradeEventsFile(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), Header() + "\r\n15-Mar-2010 01Y 003 001 Call Anna\r\n");
    EXPECT_EQ(ReadFileBytes(kBackupFileName), old);
    WriteFileBytes(kEventsFileName, EventsOf({5, 6}));
    EXPECT_EQ(UpgradeEventsFile(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5, 6}));
    EXPECT_EQ(ReadFileBytes(kBackupFileName), old);
}

// Step 0 makes the target read-only; then each write of each rewrite fails in
// turn, once or for good (a full disk), also those that keep the replaced
// events file for an undo.
TEST_F(EventsSaveTest, AFailedRewriteKeepsTheOldFileAndIsReported) {
    for (const RewriteCase& c : kRewriteCases) {
        const std::vector<int> results = CheckFailures(c, 8, [&c](int step, int writes) {
            if (step == 0) SetReadOnly(c.target, true);
            fake.failWriteAt = (step + 1) / 2;
            fake.keepFailing = step % 2 == 0;
            return fake.failWriteAt <= writes;
        });
        ASSERT_GT(results.size(), 2u) << c.name;
        EXPECT_EQ(results[0], 0) << c.name << " of a read-only file";
        EXPECT_EQ(results[1] + results[2], 0) << c.name << ": the first write failed";
        const bool versionLost = std::count(results.begin(), results.end(), 2) > 0;
        EXPECT_EQ(versionLost, std::string(c.target) == kEventsFileName) << c.name;
    }
}
