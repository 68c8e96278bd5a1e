// The due list built from the events file, and the text of its rows.
#include "model/due_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/platform.h"
#include "storage/import_export.h"
#include "tests/storage_helpers.h"

namespace {

using Strings = std::vector<std::string>;

Strings Rows(const DueItem* row) {
    Strings rows;
    for (; row; row = row->next) rows.push_back(std::to_string(row->daysLeft) + ' ' + row->message);
    return rows;
}

// Each row read whole as a record: its message and notes.
Strings Texts(const DueItem* row) {
    Strings texts;
    for (; row; row = row->next) {
        const Duty copy = *row;
        texts.push_back(std::string(copy.message) + '|' + copy.notes);
    }
    return texts;
}

void Write(const std::string& lines) {
    WriteFileBytes(kEventsFileName, ";File created by Quillbee 1.41\r\n;notice\r\n;address\r\n" + lines);
}

// 2 May 2010 at 9:00, in a fresh directory with the default settings.
class DueListTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        fake.now = LocalTime(2010, 5, 2, 9, 0);
    }
    void TearDown() override {
        FreeDueList(BuildDueList(nullptr));  // leaves nothing for the leak checker
        dayFirst = 1;
        std::strcpy(languageCode, "pl");
        StorageTest::TearDown();
    }
};

}  // namespace

TEST_F(DueListTest, OrderAndLimits) {
    // Own limits 0/5 and 5/0 next to the global 10/3, each at and past its bounds.
    std::string lines;
    for (const char* line :
         {"04-May 000 000 b", "04-May 000 000 A", "04-May 000 000 a", "04-May 000 000 _", "04-May 000 000 B",
          "12-May 000 000 in 10", "13-May 000 000 in 11", "29-Apr 000 000 ago 3", "28-Apr 000 000 ago 4",
          "02-May 000 005 own 0", "03-May 000 005 own 1", "27-Apr 000 005 own -5", "26-Apr 000 005 own -6",
          "07-May 005 000 own 5", "01-May 005 000 own -1"}) {
        lines += std::string(line, 6) + "-2010 01Y" + (line + 6) + "\r\n";
    }
    Write(lines);
    EXPECT_EQ(Rows(BuildDueList(nullptr)), (Strings{"-5 own -5", "-3 ago 3", "0 own 0", "2 A", "2 a", "2 b",
                                                    "2 B", "2 _", "5 own 5", "10 in 10"}));
    prefs.warnDaysBefore = 11;
    prefs.warnDaysAfter = 4;
    EXPECT_EQ(Rows(BuildDueList(nullptr)),
              (Strings{"-5 own -5", "-4 ago 4", "-3 ago 3", "0 own 0", "2 A", "2 a", "2 b", "2 B", "2 _",
                       "5 own 5", "10 in 10", "11 in 11"}));
}

TEST_F(DueListTest, OneOffEventsByTheirYearWithAndWithoutLimitsOfTheirOwn) {
    // Yesterday's date, a year away for an event of next year: due within a
    // window that long, the global one or its own, though the yearly event
    // of that date is not.
    prefs.warnDaysBefore = 400;
    prefs.warnDaysAfter = 0;
    Write(
        "01-May-2011 00N 000 000 next year\r\n01-May-2011 00N 400 000 own next year\r\n"
        "01-May-2011 01Y 400 000 yearly\r\n01-May-2009 00N 000 000 last year\r\n"
        "03-May-2010 00N 000 000 tomorrow\r\n");
    EXPECT_EQ(Rows(BuildDueList(nullptr)), (Strings{"1 tomorrow", "364 next year", "364 own next year"}));
}

TEST_F(DueListTest, BuildsCountWhenTheFileOpensAndBadLinesSkipOrStop) {
    int first = 0, second = 0, missing = -7;
    Write(
        " 02-may-2010\t00N  004 002  x\x1E"
        "a\tb\n");                      // as hand editing leaves it
    FreeDueList(BuildDueList(&first));  // freed by its holder: not freed again
    const DueItem* head = BuildDueList(&second);
    EXPECT_EQ(Rows(head), Strings{"0 x"});
    EXPECT_STREQ(head->notes, "a b");
    EXPECT_EQ(second, first + 1);
    std::remove(kEventsFileName);
    EXPECT_EQ(BuildDueList(&missing), nullptr);
    EXPECT_EQ(missing, -7);

    // Skipped (yes), then stopped (no) at the bad date; a bad format stops at once.
    Write(
        "02-May-2010 01Y 000 000 before\r\n31-Apr-2011 01Y 000 000 bad\r\n"
        "03-May-2010 01Y 000 000 after\r\n");
    fake.answers = {kAnswerYes, kAnswerNo};
    EXPECT_EQ(Rows(BuildDueList(nullptr)), (Strings{"0 before", "1 after"}));
    EXPECT_EQ(fake.quitRequests, 0);
    EXPECT_EQ(Rows(BuildDueList(&first)), Strings{"0 before"});
    EXPECT_EQ(first, second + 2);
    EXPECT_EQ(fake.quitRequests, 1);
    Write(
        "03-May-2010 01Y 000 000 b\r\n02-May-2010 01Y 000 000 a\r\n02-May-2010 01Y 000000 bad\r\n"
        "02-May-2010 01Y 000 000 unread\r\n");
    EXPECT_EQ(Rows(BuildDueList(nullptr)), (Strings{"0 a", "1 b"}));
    EXPECT_EQ(fake.quitRequests, 2);
    EXPECT_EQ(fake.boxes.size(), 3u);
    // A line longer than the reader's buffer keeps its first piece; the rest is no line.
    Write("02-May-2010 01Y 000 000 long\x1E" + std::string(9000, 'n') + "\r\n");
    head = BuildDueList(nullptr);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(std::strlen(head->notes), 4096u);
    EXPECT_EQ(fake.quitRequests, 2);
    EXPECT_FALSE(fake.waitCursor);
}

TEST_F(DueListTest, LinesAreNumberedByTheirEndsAsTheRemoverCountsThem) {
    // Lines longer than the reader's buffer, the version line among them,
    // count once each; what is cut from them is never read as a line.
    const std::string longComment = ";" + std::string(9000, 'c') + "\r\n";
    WriteFileBytes(kEventsFileName, ";File created by Quillbee 1.41" + std::string(5000, ' ') + "x\r\n" +
                                        longComment + "02-May-2010 01Y 000 000 long\x1E" +
                                        std::string(9000, 'n') +
                                        "\r\n03-May-2010 01Y 000 000 A\r\n04-May-2010 01Y 000 000 B");
    const DueItem* head = BuildDueList(nullptr);
    ASSERT_EQ(Rows(head), (Strings{"0 long", "1 A", "2 B"}));
    EXPECT_EQ(head->line, 3);
    EXPECT_EQ(head->next->line, 4);
    EXPECT_EQ(head->next->next->line, 5);  // the last line has no line end
    EXPECT_TRUE(fake.boxes.empty());

    // The export reads the same lines: three events, no piece left out.
    ExportReport exported;
    ASSERT_EQ(ExportEvents("out.csv", &exported), 1) << exported.message;
    EXPECT_EQ(exported.exported, 3);
    EXPECT_EQ(exported.leftOut, 0);

    const Duty a = *head->next;
    ASSERT_EQ(RemoveDutyLine(a), 1);
    EXPECT_EQ(Rows(BuildDueList(nullptr)), (Strings{"0 long", "2 B"}));
    EXPECT_EQ(ReadFileBytes(kEventsFileName).find("A\r\n"), std::string::npos);
}

// Rows of the greatest size, enough to fill several blocks of rows; then, over
// the bytes of that list, rows of short and long messages in any sequence,
// some with notes; then a rebuild with fewer rows. Each row read whole as a
// record keeps its own message and notes, however closely the rows lie.
TEST_F(DueListTest, RowsOfEverySizeOverBytesOfAnEarlierList) {
    auto notes = [](int i) {
        return std::string(4092, static_cast<char>('a' + i % 26)) + std::to_string(1000 + i);
    };
    std::string lines;
    Strings expected;
    for (int i = 0; i < 150; ++i) {
        lines += "02-May-2010 01Y 000 000 row " + std::to_string(1000 + i) + "\x1E" + notes(i) + "\r\n";
        expected.push_back("row " + std::to_string(1000 + i) + '|' + notes(i));
    }
    Write(lines);
    EXPECT_EQ(Texts(BuildDueList(nullptr)), expected);

    lines.clear(), expected.clear();
    std::mt19937 random(7);
    const size_t lengths[] = {0, 4, 20, 45, 70, 100, 147};  // after the number
    for (int i = 0; i < 400; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d", i);
        const std::string message = number + std::string(lengths[random() % 7], 'm');
        const std::string note = i % 7 == 0 ? std::string(static_cast<size_t>(i % 50 + 1), 'n') : "";
        lines += "02-May-2010 01Y 000 000 " + message + (note.empty() ? "" : "\x1E" + note) + "\r\n";
        expected.push_back(message + '|' + note);
    }
    Write(lines);
    EXPECT_EQ(Texts(BuildDueList(nullptr)), expected);

    Write("02-May-2010 01Y 000 000 b\x1E" + notes(7) + "\r\n02-May-2010 01Y 000 000 a\x1E" + "short\r\n" +
          "03-May-2010 01Y 000 000 c\r\n");
    EXPECT_EQ(Texts(BuildDueList(nullptr)), (Strings{"a|short", "b|" + notes(7), "c|"}));
}

TEST_F(DueListTest, ALongListSortsAsAShortOne) {
    // Messages alike in their first bytes, in any case, some equal: each
    // day's rows by message without regard to case, equal ones in file order.
    std::mt19937 random(5);
    const char* starts[] = {"Birthday of ", "BIRTHDAY OF ", "birthday", "Birthday o", "b", "Call"};
    std::vector<std::pair<std::pair<int, std::string>, std::string>> expected;  // (days, upper case), row
    std::string lines;
    for (int i = 0; i < 300; ++i) {
        const int day = 2 + static_cast<int>(random() % 4);
        std::string message = starts[random() % 6] + std::string(random() % 3, "aB"[random() % 2]);
        message += std::to_string(i % 7);
        lines += "0" + std::to_string(day) + "-May-2010 01Y 000 000 " + message + "\r\n";
        std::string upper = message;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        expected.push_back({{day - 2, upper}, std::to_string(day - 2) + ' ' + message});
    }
    std::stable_sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.first < b.first; });
    Strings order;
    for (const auto& e : expected) order.push_back(e.second);
    Write(lines);
    EXPECT_EQ(Rows(BuildDueList(nullptr)), order);
}

TEST_F(DueListTest, RowTexts) {
    struct RowCase {
        int days, day, month;
        std::string message, row;
        int weekday = 0, dayFirst = 1;
        const char* language = "pl";
        time_t now = LocalTime(2010, 5, 2);
    };
    const std::string m200(200, 'm'), m150(150, 'm');
    const RowCase cases[] = {
        {5, 7, 5, "x", "5 dni:\t07 Maj,\tx"},
        {0, 2, 5, "x", "DZIŚ:\t02 Maj,\tx"},
        {1, 3, 5, "x", "1 dzień:\t03 Maj,\tx"},
        {-1, 1, 5, "x", "-1 dzień:\t01 Maj,\tx"},
        {5, 7, 5, "x", "5 dni:\t07 Maj (Pią),\tx", 1},
        {5, 7, 5, "x", "5 dni:\tMaj 07 (Pią),\tx", 1, 0},
        {5, 7, 5, "x", "5 dni:\t07. Maj,\tx", 0, 2, "ee"},
        // The weekday across daylight saving near midnight; a full message, unterminated.
        {31, 1, 11, "x", "31 dni:\t01 Lis (Pon),\tx", 1, 1, "pl", LocalTime(2010, 10, 1, 0, 30)},
        {10, 30, 3, m200, "10 dni:\t30 Mar (Śro),\t" + m150, 1, 1, "pl", LocalTime(2011, 3, 20, 23, 30)},
        // The age at the occurrence shown; a failed macro as typed.
        {5, 3, 1, "G ($Age{1968})", "5 dni:\t03 Sty,\tG (43)", 0, 1, "pl", LocalTime(2010, 12, 29)},
        {5, 3, 1, "G ($Age{19x8})", "5 dni:\t03 Sty,\tG ($Age{19x8})", 0, 1, "pl", LocalTime(2010, 12, 29)},
    };
    for (const auto& c : cases) {
        DueItem row = {0, c.day, c.month, 2010, 'Y', 1, c.days, 0, 0, nullptr, {}, {}};
        std::memcpy(row.message, c.message.c_str(), std::min(c.message.size() + 1, sizeof row.message));
        fake.now = c.now;
        prefs.showWeekday = c.weekday;
        dayFirst = c.dayFirst;
        std::strcpy(languageCode, c.language);
        EXPECT_EQ(DueRowText(&row), c.row);
    }
}
