// The due list built from the events file, and the text of its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/state.h"
#include "model/due_list.h"
#include "storage/events_file.h"
#include "tests/fake_platform.h"
#include "tests/scratch_dir.h"

namespace {

typedef std::vector<std::string> Strings;

// Each row as "daysLeft message", or in full with every field it carries.
Strings Rows(const DueItem* row, bool full = false) {
    Strings rows;
    for (char fields[96]; row != nullptr; row = row->next) {
        std::snprintf(fields, sizeof fields, " @%d %02d-%02d-%d %d%c %d/%d|", row->line, row->day, row->month,
                      row->year, row->yearly, row->repeatMark, row->warnBefore, row->warnAfter);
        rows.push_back(std::to_string(row->daysLeft) + " " + row->message +
                       (full ? fields + std::string(row->notes) : ""));
    }
    return rows;
}

class DueListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        savedPrefs = prefs;
        prefs = DefaultPrefs();
        fake.now = LocalTime(2010, 5, 2, 9, 0);  // a Sunday
    }
    void TearDown() override {
        FreeDueList(BuildDueList(nullptr));  // leaves nothing for the leak checker
        prefs = savedPrefs;
        dayFirst = 1;
        std::strcpy(languageCode, "pl");
        ResetFakePlatform();
    }
    void WriteEvents(const std::string& lines) {
        WriteFileBytes(kEventsFileName, ";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;notice\r\n"
                                        ";address\r\n" + lines);
    }

    ScratchDir scratch;
    Prefs savedPrefs;
};

}  // namespace

TEST_F(DueListTest, OrderIsDaysLeftThenUpperCasedMessageThenFileOrder) {
    // "_" sorts after the letters only when upper-cased.
    WriteEvents("04-May-2010 01Y 000 000 b\r\n04-May-2010 01Y 000 000 A\r\n01-May-2010 01Y 000 000 z past\r\n"
                "04-May-2010 01Y 000 000 a\r\n02-May-2010 01Y 000 000 today\n04-May-2010 01Y 000 000 _\r\n"
                "04-May-2010 01Y 000 000 B\r\n30-Apr-2010 01Y 000 000 Zebra\r\n");
    EXPECT_EQ(Rows(BuildDueList(nullptr)),
              (Strings{"-2 Zebra", "-1 z past", "0 today", "2 A", "2 a", "2 b", "2 B", "2 _"}));
    EXPECT_EQ(fake.waitCursorShows, 1);
    EXPECT_FALSE(fake.waitCursor);
}

TEST_F(DueListTest, GlobalAndOwnLimitsAreInclusive) {
    // Own limits of none before the day and five after it, then the reverse.
    WriteEvents("12-May-2010 01Y 000 000 in 10\r\n13-May-2010 01Y 000 000 in 11\r\n"
                "29-Apr-2010 01Y 000 000 ago 3\r\n28-Apr-2010 01Y 000 000 ago 4\r\n"
                "02-May-2010 01Y 000 005 own today\r\n03-May-2010 01Y 000 005 own tomorrow\r\n"
                "27-Apr-2010 01Y 000 005 own ago 5\r\n26-Apr-2010 01Y 000 005 own ago 6\r\n"
                "07-May-2010 01Y 005 000 own in 5\r\n01-May-2010 01Y 005 000 own ago 1\r\n");
    EXPECT_EQ(Rows(BuildDueList(nullptr)),
              (Strings{"-5 own ago 5", "-3 ago 3", "0 own today", "5 own in 5", "10 in 10"}));
    prefs.warnDaysBefore = 11;
    prefs.warnDaysAfter = 4;
    EXPECT_EQ(Rows(BuildDueList(nullptr)),
              (Strings{"-5 own ago 5", "-4 ago 4", "-3 ago 3", "0 own today", "5 own in 5", "10 in 10",
                       "11 in 11"}));
}

TEST_F(DueListTest, EachBuildReadsTheFileAnewAndCountsWhenItOpens) {
    // Blanks and case as hand editing leaves them; the whole line is copied.
    WriteEvents(" 02-may-2010\t00N  004 002  first\x1E" "line\tone\x1E\x1Eline two\n");
    int first = 0, second = 0, third = 0, empty = 0, missing = -7;
    DueItem* head = BuildDueList(&first);
    EXPECT_EQ(Rows(head, true), Strings{"0 first @4 02-05-2010 0N 4/2|line one\r\nline two"});
    EXPECT_EQ(FreeDueList(head), nullptr);  // freed by its holder: the next build must not free it again
    EXPECT_EQ(Rows(BuildDueList(&second)), Strings{"0 first"});
    EXPECT_EQ(second, first + 1);
    WriteEvents("02-May-2010 01Y 000 000 changed\r\n03-May-2010 01Y 000 000 added\r\n");
    EXPECT_EQ(Rows(BuildDueList(&third)), (Strings{"0 changed", "1 added"}));
    EXPECT_EQ(third, second + 1);
    std::remove(kEventsFileName);  // no file: no rows, and the count stays
    EXPECT_EQ(BuildDueList(&missing), nullptr);
    EXPECT_EQ(missing, -7);
    WriteEvents("");
    EXPECT_EQ(BuildDueList(&empty), nullptr);
    EXPECT_EQ(empty, third + 1);
}

TEST_F(DueListTest, BadLinesAreSkippedOrStopTheReadingAndQuit) {
    WriteEvents("02-May-2010 01Y 000 000 before\r\n31-Apr-2011 01Y 000 000 bad\r\n"
                "03-May-2010 01Y 000 000 after\r\n");
    fake.answers = {kAnswerYes, kAnswerNo};
    int skipped = 0, stopped = 0, broken = 0, unknown = 0;
    EXPECT_EQ(Rows(BuildDueList(&skipped)), (Strings{"0 before", "1 after"}));
    EXPECT_EQ(fake.quitRequests, 0);
    EXPECT_EQ(Rows(BuildDueList(&stopped)), Strings{"0 before"});
    EXPECT_EQ(stopped, skipped + 1);
    EXPECT_EQ(fake.quitRequests, 1);
    EXPECT_FALSE(fake.waitCursor);

    WriteEvents("03-May-2010 01Y 000 000 kept\r\n02-May-2010 01Y 000 000 kept too\r\n"
                "02-May-2010 01Y 000000 broken\r\n02-May-2010 01Y 000 000 never read\r\n");
    EXPECT_EQ(Rows(BuildDueList(&broken)), (Strings{"0 kept too", "1 kept"}));
    EXPECT_EQ(broken, stopped + 1);
    ASSERT_EQ(fake.boxes.size(), 3u);
    EXPECT_EQ(fake.boxes[0].text,
              "Invalid date in line 5:  Kwiecień does not have 31 days!\n\n"
              "Do you want to ignore this line and continue reading the file?");
    EXPECT_EQ(fake.boxes[2].text, "Fatal error reading data file (invalid format)!\n( at line 6 )");
    EXPECT_EQ(fake.quitRequests, 2);

    // An unknown version line: nothing is read, yet the build counts.
    WriteFileBytes(kEventsFileName, "; my file\r\n02-May-2010 01Y 000 000 unread\r\n");
    EXPECT_EQ(BuildDueList(&unknown), nullptr);
    EXPECT_EQ(unknown, broken + 1);
    EXPECT_EQ(fake.quitRequests, 3);

    // The second piece of a line longer than the reader's buffer is no event
    // line: the reading stops there, keeping the first piece.
    WriteEvents("02-May-2010 01Y 000 000 long\x1E" + std::string(9000, 'n') + "\r\n");
    const DueItem* head = BuildDueList(nullptr);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(std::strlen(head->notes), 4096u);
    EXPECT_EQ(fake.quitRequests, 4);

    WriteFileBytes(kEventsFileName,
                   ";File created by Quillbee 1.30\n02-may 00 00 old\n \t\n; comment\n04-MAY 05 01 own\n");
    EXPECT_EQ(Rows(BuildDueList(nullptr), true),
              (Strings{"0 old @2 02-05-2010 1Y 0/0|", "2 own @5 04-05-2010 1Y 5/1|"}));
}

TEST_F(DueListTest, RowTexts) {
    auto text = [](int daysLeft, int day, int month, const std::string& message) {
        DueItem row = {0, day, month, 2010, 'Y', 1, daysLeft, 0, 0, nullptr, {}, {}};
        // Unterminated when the message fills the field.
        std::memcpy(row.message, message.c_str(), std::min(message.size() + 1, sizeof row.message));
        return std::string(DueRowText(&row));
    };
    fake.now = LocalTime(2010, 5, 2);
    EXPECT_EQ(text(5, 7, 5, "Dentist"), "5 dni:\t07 Maj,\tDentist");
    EXPECT_EQ(text(0, 2, 5, "x"), "DZIŚ:\t02 Maj,\tx");
    EXPECT_EQ(text(1, 3, 5, "x"), "1 dzień:\t03 Maj,\tx");
    EXPECT_EQ(text(-1, 1, 5, "x"), "-1 dzień:\t01 Maj,\tx");
    prefs.showWeekday = 1;
    EXPECT_EQ(text(5, 7, 5, "Dentist"), "5 dni:\t07 Maj (Pią),\tDentist");
    dayFirst = 0;
    EXPECT_EQ(text(5, 7, 5, "Dentist"), "5 dni:\tMaj 07 (Pią),\tDentist");
    dayFirst = 2;
    std::strcpy(languageCode, "ee");
    EXPECT_EQ(text(5, 7, 5, "Dentist"), "5 dni:\t07. Maj (Pią),\tDentist");
    // The weekday of a date across a daylight-saving change, near midnight.
    fake.now = LocalTime(2010, 10, 1, 0, 30);
    EXPECT_EQ(text(31, 1, 11, "x"), "31 dni:\t01. Lis (Pon),\tx");
    fake.now = LocalTime(2011, 3, 20, 23, 30);
    EXPECT_EQ(text(10, 30, 3, std::string(200, 'm')), "10 dni:\t30. Mar (Śro),\t" + std::string(150, 'm'));
    // The age is that of the occurrence shown; a failed macro shows as typed.
    prefs.showWeekday = 0;
    fake.now = LocalTime(2010, 12, 29);
    EXPECT_EQ(text(5, 3, 1, "George ($Age{1968})"), "5 dni:\t03. Sty,\tGeorge (43)");
    EXPECT_EQ(text(5, 3, 1, "George ($Age{19x8})"), "5 dni:\t03. Sty,\tGeorge ($Age{19x8})");
}
