#include "storage/events_save.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "app/platform.h"
#include "app/state.h"
#include "tests/storage_helpers.h"

namespace {

const char* const kWriteError = "Error writing events file in C:\\Quillbee";

class EventsSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18);
        CopyText(workingDirectory, "C:\\Quillbee", sizeof workingDirectory);
        header = HeaderBytes();
    }
    void TearDown() override { ResetFakePlatform(); }

    // Line `n` of a test file: event lines numbered by their own line.
    static std::string EventLine(int n) {
        return FormatDutyLine(YearlyDuty(n, 3, ("event " + std::to_string(n)).c_str()));
    }
    // The header, a blank line and event lines 5 to `last`.
    std::string FileOf(int last) const {
        std::string file = header + "\r\n";
        for (int n = 5; n <= last; ++n) file += EventLine(n);
        return file;
    }
    void ExpectNoReport() const {
        EXPECT_TRUE(fake.boxes.empty());
        EXPECT_FALSE(fake.waitCursor);
        EXPECT_EQ(TempFilesLeft(), 0);
    }
    void ExpectReported() const {
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, kWriteError);
        EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
        EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconError);
        EXPECT_TRUE(fake.postedCommands.empty());
        EXPECT_FALSE(fake.waitCursor);
        EXPECT_EQ(TempFilesLeft(), 0);
    }

    ScratchDir dir;
    std::string header;
};

}  // namespace

TEST_F(EventsSaveTest, TempNamesFollowTheTemplateAndAreNew) {
    char first[kTempNameSize];
    char second[kTempNameSize];
    FILE* a = CreateTempFile(first);
    FILE* b = CreateTempFile(second);
    ASSERT_TRUE(a && b);
    std::fclose(a);
    std::fclose(b);
    for (const char* name : {first, second}) {
        ASSERT_EQ(std::strlen(name), 16u);
        EXPECT_EQ(std::string(name, 10), "temp_file_");
        for (int i = 10; i < 16; ++i) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(name[i]))) << name;
        EXPECT_EQ(ReadFileBytes(name), "");
    }
    EXPECT_STRNE(first, second);
}

TEST_F(EventsSaveTest, AppendAddsTheLastLineAndBacksUpTheNewFile) {
    WriteFileBytes(kEventsFileName, FileOf(6));
    WriteFileBytes(kBackupFileName, "previous backup\r\n");
    EXPECT_EQ(AppendDuty(YearlyDuty(7, 3, "event 7")), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(7));
    EXPECT_EQ(ReadFileBytes(kBackupFileName), FileOf(7));
    EXPECT_EQ(fake.postedCommands, std::vector<int>{CMD_RELOAD_LIST});
    EXPECT_GE(fake.waitCursorShows, 1);
    ExpectNoReport();

    // A last line without its line end keeps it: the new line never joins it.
    WriteFileBytes(kEventsFileName, FileOf(5) + "; note");
    EXPECT_EQ(AppendDuty(YearlyDuty(6, 3, "event 6")), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(5) + "; note\r\n" + EventLine(6));

    // Without a file, or with an empty one, the header comes first.
    for (bool empty : {false, true}) {
        std::remove(kEventsFileName);
        if (empty) WriteFileBytes(kEventsFileName, "");
        EXPECT_EQ(AppendDuty(YearlyDuty(5, 3, "event 5")), 1);
        EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(5));
    }
}

TEST_F(EventsSaveTest, ModifyingMovesTheEventToTheEnd) {
    WriteFileBytes(kEventsFileName, FileOf(8));
    Duty read = YearlyDuty(5, 3, "event 5");
    read.line = 5;
    EXPECT_EQ(RemoveDutyLine(read), 1);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), FileOf(8)) << "the backup holds the file before the removal";
    Duty edited = YearlyDuty(9, 4, "edited");
    EXPECT_EQ(AppendDuty(edited), 1);
    const std::string editedLine = FormatDutyLine(edited);
    std::string expected = header + "\r\n" + EventLine(6) + EventLine(7) + EventLine(8) + editedLine;
    EXPECT_EQ(ReadFileBytes(kEventsFileName), expected);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), expected);
    EXPECT_EQ(fake.postedCommands, (std::vector<int>{CMD_RELOAD_LIST, CMD_RELOAD_LIST}));
    ExpectNoReport();
}

TEST_F(EventsSaveTest, RemoveTouchesOnlyItsLine) {
    // Lines of any length, comments, LF-only ends and a last line without an
    // end come through byte for byte.
    std::string longLine(20000, 'x');
    std::string file = header + "; comment\n" + longLine + "\r\n" + EventLine(6) + "tail";
    WriteFileBytes(kEventsFileName, file);
    Duty duty = YearlyDuty(6, 3, "event 6");
    duty.line = 6;
    EXPECT_EQ(RemoveDutyLine(duty), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), header + "; comment\n" + longLine + "\r\ntail");
    EXPECT_EQ(RemoveDutyLine(duty), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), header + "; comment\n" + longLine + "\r\n");
    ExpectNoReport();

    std::remove(kEventsFileName);
    EXPECT_EQ(RemoveDutyLine(duty), 0);
    EXPECT_FALSE(FileExists(kEventsFileName));
    ExpectNoReport();

    // The version line stays: without it no reader could use the file.
    WriteFileBytes(kEventsFileName, FileOf(6));
    fake.postedCommands.clear();
    duty.line = 1;
    EXPECT_EQ(RemoveDutyLine(duty), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(6));
    ExpectReported();
}

TEST_F(EventsSaveTest, UpgradeRewritesOlderVersionsOnly) {
    const std::string old =
        ";File created by Quillbee 1.30\r\n; my comment\r\n\r\n15-Mar 03 01 Call Anna\r\n";
    WriteFileBytes(kEventsFileName, old);
    EXPECT_EQ(UpgradeEventsFile(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), header + "\r\n15-Mar-2010 01Y 003 001 Call Anna\r\n");
    EXPECT_EQ(ReadFileBytes(kBackupFileName), old);

    const std::string old140 = ";Quillbee 1.40\n07-May-2011 00n 05 01 Dentist\n";
    WriteFileBytes(kEventsFileName, old140);
    EXPECT_EQ(UpgradeEventsFile(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), header + "\r\n07-May-2011 00N 005 001 Dentist\r\n");
    EXPECT_EQ(ReadFileBytes(kBackupFileName), old140);
    ExpectNoReport();

    // The current version is left alone, and so is a file that is not ours.
    std::remove(kBackupFileName);
    WriteFileBytes(kEventsFileName, FileOf(6));
    EXPECT_EQ(UpgradeEventsFile(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(6));
    WriteFileBytes(kEventsFileName, "; my file\r\n");
    EXPECT_EQ(UpgradeEventsFile(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), "; my file\r\n");
    EXPECT_EQ(fake.quitRequests, 1);
    EXPECT_FALSE(FileExists(kBackupFileName));

    std::remove(kEventsFileName);
    EXPECT_EQ(UpgradeEventsFile(), 0);
    EXPECT_FALSE(FileExists(kEventsFileName));
}

TEST_F(EventsSaveTest, ReadOnlyEventsFileIsReportedAndKept) {
    WriteFileBytes(kEventsFileName, FileOf(6));
    WriteFileBytes(kBackupFileName, "previous backup\r\n");
    SetReadOnly(kEventsFileName, true);
    EXPECT_EQ(AppendDuty(YearlyDuty(7, 3, "event 7")), 0);
    ExpectReported();
    fake.boxes.clear();
    Duty duty = YearlyDuty(5, 3, "event 5");
    duty.line = 5;
    EXPECT_EQ(RemoveDutyLine(duty), 0);
    ExpectReported();
    SetReadOnly(kEventsFileName, false);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FileOf(6));
    EXPECT_EQ(ReadFileBytes(kBackupFileName), "previous backup\r\n");
}

// Each write of each rewrite fails in turn, once or for good (a full disk).
TEST_F(EventsSaveTest, AFailedWriteNeverLeavesAPartialFile) {
    for (const RewriteCase& c : RewriteCases(FileOf(8), ";Quillbee 1.30\r\n15-Mar 03 01 Call Anna\r\n")) {
        int failures = CheckFailures(c, [](int step, int writes) {
            fake.failWriteAt = step / 2 + 1;
            fake.keepFailing = step % 2 == 1;
            return fake.failWriteAt <= writes;
        });
        // The first write, and every write of the new file, fails the rewrite.
        EXPECT_GE(failures, 2) << c.name;
    }
}
