// The due list built from the events file, and the text of its rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"
#include "model/due_list.h"
#include "storage/events_file.h"
#include "tests/fake_platform.h"
#include "tests/scratch_dir.h"

namespace {

const char* const kHeader =
    ";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n"
    ";notice\r\n"
    ";address\r\n";

struct Row {
    int daysLeft;
    std::string message;
    int line;
};

std::vector<Row> Rows(const DueItem* head) {
    std::vector<Row> rows;
    for (const DueItem* r = head; r != nullptr; r = r->next) rows.push_back({r->daysLeft, r->message, r->line});
    return rows;
}

std::vector<std::string> Messages(const DueItem* head) {
    std::vector<std::string> messages;
    for (const DueItem* r = head; r != nullptr; r = r->next) messages.push_back(r->message);
    return messages;
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
        FreeDueList(BuildDueList(nullptr));  // the file is gone: nothing is left allocated
        prefs = savedPrefs;
        dayFirst = 1;
        std::strcpy(languageCode, "pl");
        ResetFakePlatform();
    }
    void WriteEvents(const std::string& lines) { WriteFileBytes(kEventsFileName, kHeader + lines); }

    ScratchDir scratch;
    Prefs savedPrefs;
};

DueItem MakeRow(int daysLeft, int day, int month, const char* message) {
    DueItem r;
    std::memset(&r, 0, sizeof r);
    r.daysLeft = daysLeft;
    r.day = day;
    r.month = month;
    r.yearly = 1;
    std::strcpy(r.message, message);
    return r;
}

}  // namespace

TEST_F(DueListTest, OrderIsDaysLeftThenMessageThenFileOrder) {
    WriteEvents(
        "04-May-2010 01Y 000 000 b\r\n"
        "04-May-2010 01Y 000 000 A\r\n"
        "01-May-2010 01Y 000 000 z past\r\n"
        "04-May-2010 01Y 000 000 a\r\n"
        "02-May-2010 01Y 000 000 today\n"
        "04-May-2010 01Y 000 000 B\r\n"
        "30-Apr-2010 01Y 000 000 Zebra\r\n");
    int count = 0;
    DueItem* head = BuildDueList(&count);
    std::vector<Row> rows = Rows(head);
    ASSERT_EQ(rows.size(), 7u);
    const Row expected[] = {{-2, "Zebra", 10}, {-1, "z past", 6}, {0, "today", 8}, {2, "A", 5},
                            {2, "a", 7},       {2, "b", 4},       {2, "B", 9}};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].daysLeft, expected[i].daysLeft) << i;
        EXPECT_EQ(rows[i].message, expected[i].message) << i;
        EXPECT_EQ(rows[i].line, expected[i].line) << i;
    }
    EXPECT_GE(count, 1);
    EXPECT_EQ(fake.waitCursorShows, 1);
    EXPECT_FALSE(fake.waitCursor);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.quitRequests, 0);
}

TEST_F(DueListTest, LimitsAreInclusive) {
    WriteEvents(
        "12-May-2010 01Y 000 000 in 10\r\n"
        "13-May-2010 01Y 000 000 in 11\r\n"
        "29-Apr-2010 01Y 000 000 ago 3\r\n"
        "28-Apr-2010 01Y 000 000 ago 4\r\n"
        // Special limits: none before the day, five after it.
        "02-May-2010 01Y 000 005 special today\r\n"
        "03-May-2010 01Y 000 005 special tomorrow\r\n"
        "27-Apr-2010 01Y 000 005 special ago 5\r\n"
        "26-Apr-2010 01Y 000 005 special ago 6\r\n"
        "07-May-2010 01Y 005 000 special in 5\r\n"
        "01-May-2010 01Y 005 000 special ago 1\r\n");
    EXPECT_EQ(Messages(BuildDueList(nullptr)),
              (std::vector<std::string>{"special ago 5", "ago 3", "special today", "special in 5", "in 10"}));

    prefs.warnDaysBefore = 0;
    prefs.warnDaysAfter = 0;
    EXPECT_EQ(Messages(BuildDueList(nullptr)),
              (std::vector<std::string>{"special ago 5", "special today", "special in 5"}));
    prefs.warnDaysBefore = 11;
    prefs.warnDaysAfter = 4;
    EXPECT_EQ(Messages(BuildDueList(nullptr)),
              (std::vector<std::string>{"special ago 5", "ago 4", "ago 3", "special today", "special in 5",
                                        "in 10", "in 11"}));
}

TEST_F(DueListTest, OneOffEventsAndLeapDays) {
    fake.now = LocalTime(2011, 12, 31, 23, 30);
    WriteEvents(
        "01-Jan-2012 00N 000 000 next year\r\n"
        "01-Jan-2013 00N 000 000 two years on\r\n"
        "29-Dec-2011 00N 000 000 this year\r\n"
        "29-Dec-2010 00N 000 000 last year\r\n"
        "29-Feb-2012 01Y 061 000 leap day\r\n"
        "29-Feb-2012 01Y 060 000 leap day short\r\n");
    std::vector<Row> rows = Rows(BuildDueList(nullptr));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].message, "this year");
    EXPECT_EQ(rows[0].daysLeft, -2);
    EXPECT_EQ(rows[1].message, "next year");
    EXPECT_EQ(rows[1].daysLeft, 1);
    EXPECT_EQ(rows[2].message, "leap day");
    EXPECT_EQ(rows[2].daysLeft, 61);
}

TEST_F(DueListTest, FileIsReadAnewOnEveryBuild) {
    WriteEvents("02-May-2010 01Y 000 000 first\r\n");
    int first = 0;
    DueItem* head = BuildDueList(&first);
    EXPECT_EQ(Messages(head), std::vector<std::string>{"first"});
    int second = 0;
    EXPECT_EQ(Messages(BuildDueList(&second)), std::vector<std::string>{"first"});
    EXPECT_EQ(second, first + 1);

    WriteEvents("02-May-2010 01Y 000 000 changed\r\n03-May-2010 01Y 000 000 added\r\n");
    int third = 0;
    EXPECT_EQ(Messages(BuildDueList(&third)), (std::vector<std::string>{"changed", "added"}));
    EXPECT_EQ(third, second + 1);

    // Without a file: nothing, and the count stays.
    std::remove(kEventsFileName);
    int missing = -7;
    EXPECT_EQ(BuildDueList(&missing), nullptr);
    EXPECT_EQ(missing, -7);
    WriteEvents("");
    int fourth = 0;
    EXPECT_EQ(BuildDueList(&fourth), nullptr);
    EXPECT_EQ(fourth, third + 1);
}

TEST_F(DueListTest, RowsAreWholeCopiesThatOutliveTheirHoldersFree) {
    WriteEvents(std::string("02-May-2010 00N 004 002 with notes\x1E") + "line one\x1E\x1Eline two\r\n");
    DueItem* head = BuildDueList(nullptr);
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(head->notes, "line one\r\nline two");
    EXPECT_EQ(head->warnBefore, 4);
    EXPECT_EQ(head->warnAfter, 2);
    EXPECT_EQ(head->yearly, 0);
    EXPECT_EQ(head->repeatMark, 'N');
    EXPECT_EQ(head->next, nullptr);
    // The main window may free the list itself; the next build must not free
    // it again (the sanitizer build would report a double free).
    EXPECT_EQ(FreeDueList(head), nullptr);
    EXPECT_EQ(Messages(BuildDueList(nullptr)), std::vector<std::string>{"with notes"});
}

TEST_F(DueListTest, InvalidDateSkippedOrStopped) {
    const std::string lines =
        "02-May-2010 01Y 000 000 before\r\n"
        "31-Apr-2011 01Y 000 000 bad date\r\n"
        "03-May-2010 01Y 000 000 after\r\n";
    WriteEvents(lines);
    fake.answers.push_back(kAnswerYes);
    int count = 0;
    EXPECT_EQ(Messages(BuildDueList(&count)), (std::vector<std::string>{"before", "after"}));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              "Invalid date in line 5:  Kwiecień does not have 31 days!\n\n"
              "Do you want to ignore this line and continue reading the file?");
    EXPECT_EQ(fake.quitRequests, 0);

    fake.answers.push_back(kAnswerNo);
    int stopped = 0;
    EXPECT_EQ(Messages(BuildDueList(&stopped)), std::vector<std::string>{"before"});
    EXPECT_EQ(stopped, count + 1);
    EXPECT_EQ(fake.quitRequests, 1);
    EXPECT_FALSE(fake.waitCursor);
}

TEST_F(DueListTest, BrokenLayoutStopsAndQuits) {
    WriteEvents(
        "03-May-2010 01Y 000 000 kept\r\n"
        "02-May-2010 01Y 000 000 kept too\r\n"
        "02-May-2010 01Y 000000 broken\r\n"
        "02-May-2010 01Y 000 000 never read\r\n");
    int count = 0;
    EXPECT_EQ(Messages(BuildDueList(&count)), (std::vector<std::string>{"kept too", "kept"}));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 6 )");
    EXPECT_EQ(fake.quitRequests, 1);
    EXPECT_GE(count, 1);

    // An unknown version line: nothing is read, the program quits.
    WriteFileBytes(kEventsFileName, "; my file\r\n02-May-2010 01Y 000 000 unread\r\n");
    int next = 0;
    EXPECT_EQ(BuildDueList(&next), nullptr);
    EXPECT_EQ(next, count + 1);
    EXPECT_EQ(fake.quitRequests, 2);
}

TEST_F(DueListTest, OlderVersionsAndOverlongLines) {
    WriteFileBytes(kEventsFileName,
                   ";File created by Quillbee 1.30\n"
                   "02-may 00 00 old yearly\n"
                   "   \t\n"
                   "; comment\n"
                   "04-MAY 05 01 old special\n");
    std::vector<Row> rows = Rows(BuildDueList(nullptr));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].line, 5);
    EXPECT_EQ(rows[1].daysLeft, 2);

    // A line longer than the reader's buffer is read in pieces; the second
    // piece is not an event line, so reading stops there, keeping the first.
    WriteEvents("02-May-2010 01Y 000 000 long\x1E" + std::string(9000, 'n') + "\r\n");
    DueItem* head = BuildDueList(nullptr);
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(head->message, "long");
    EXPECT_EQ(std::strlen(head->notes), 4096u);
    EXPECT_EQ(head->next, nullptr);
    EXPECT_EQ(fake.quitRequests, 1);
}

TEST_F(DueListTest, RowTexts) {
    fake.now = LocalTime(2010, 5, 2);  // the row of 7 May is a Friday
    DueItem dentist = MakeRow(5, 7, 5, "Dentist");
    EXPECT_STREQ(DueRowText(&dentist), "5 dni:\t07 Maj,\tDentist");
    prefs.showWeekday = 1;
    EXPECT_STREQ(DueRowText(&dentist), "5 dni:\t07 Maj (Pią),\tDentist");
    dayFirst = 0;
    EXPECT_STREQ(DueRowText(&dentist), "5 dni:\tMaj 07 (Pią),\tDentist");
    dayFirst = 2;
    std::strcpy(languageCode, "ee");
    EXPECT_STREQ(DueRowText(&dentist), "5 dni:\t07. Maj (Pią),\tDentist");
    std::strcpy(languageCode, "pl");
    prefs.showWeekday = 0;

    const struct {
        int daysLeft;
        const char* start;
    } days[] = {{0, "DZIŚ:\t"}, {1, "1 dzień:\t"}, {-1, "-1 dzień:\t"}, {2, "2 dni:\t"}, {-2, "-2 dni:\t"},
                {-999, "-999 dni:\t"}};
    for (const auto& d : days) {
        DueItem row = MakeRow(d.daysLeft, 30, 4, "x");
        EXPECT_EQ(std::string(DueRowText(&row)).rfind(d.start, 0), 0u) << DueRowText(&row);
    }

    // The age is that of the occurrence shown; a failed macro shows as typed.
    fake.now = LocalTime(2010, 12, 29);
    DueItem birthday = MakeRow(5, 3, 1, "George ($Age{1968})");
    EXPECT_STREQ(DueRowText(&birthday), "5 dni:\t03 Sty,\tGeorge (43)");
    DueItem broken = MakeRow(5, 3, 1, "George ($Age{19x8})");
    EXPECT_STREQ(DueRowText(&broken), "5 dni:\t03 Sty,\tGeorge ($Age{19x8})");
    DueItem full = MakeRow(0, 29, 12, "");
    std::memset(full.message, 'm', sizeof full.message);  // no terminator
    EXPECT_EQ(std::string(DueRowText(&full)), "DZIŚ:\t29 Gru,\t" + std::string(150, 'm'));
}

TEST_F(DueListTest, WeekdayAndDaysAgreeAcrossDaylightSaving) {
    prefs.showWeekday = 1;
    prefs.warnDaysBefore = 40;
    // 00:30 in summer time; 1 November 2010 is a Monday in winter time.
    fake.now = LocalTime(2010, 10, 1, 0, 30);
    WriteEvents("01-Nov-2010 00N 000 000 autumn\r\n");
    DueItem* head = BuildDueList(nullptr);
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(DueRowText(head), "31 dni:\t01 Lis (Pon),\tautumn");
    // 23:30 in winter time; 30 March 2011 is a Wednesday in summer time.
    fake.now = LocalTime(2011, 3, 20, 23, 30);
    WriteEvents("30-Mar-2011 01Y 000 000 spring\r\n");
    head = BuildDueList(nullptr);
    ASSERT_NE(head, nullptr);
    EXPECT_STREQ(DueRowText(head), "10 dni:\t30 Mar (Śro),\tspring");
}

namespace {

// The list as the plain reading gives it: each whole line normalised,
// validated and parsed, its days left computed, kept when due, the rows in a
// stable order of days left and upper-cased message.
std::vector<Duty> ReadEveryLineWhole() {
    std::vector<Duty> rows;
    FILE* file = std::fopen(kEventsFileName, "rb");
    const int version = ReadFileVersion(file);
    static char line[kDueLineBufferSize];
    int lineNumber = 1;
    while (version != 0 && std::fgets(line, sizeof line, file) != nullptr) {
        ++lineNumber;
        if (IsSkippableLine(line)) continue;
        const int check = ValidateDutyLine(line, lineNumber, version);
        if (check == -2) continue;
        if (check == -1) {
            PlatformQuit(0);
            break;
        }
        Duty d = *ParseDutyLine(line, lineNumber, version);
        d.daysLeft = DaysLeft(d);
        const bool special = d.warnBefore != 0 || d.warnAfter != 0;
        const int before = special ? d.warnBefore : prefs.warnDaysBefore;
        const int after = special ? d.warnAfter : prefs.warnDaysAfter;
        if (-after <= d.daysLeft && d.daysLeft <= before) rows.push_back(d);
    }
    std::fclose(file);
    auto upper = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const Duty& a, const Duty& b) {
        if (a.daysLeft != b.daysLeft) return a.daysLeft < b.daysLeft;
        return upper(a.message) < upper(b.message);
    });
    return rows;
}

// An events line with the oddities a hand-edited file may have: runs of
// blanks and tabs anywhere, any case in the month, impossible dates, special
// limits, notes, comments, blank lines and now and then a broken layout.
std::string RandomLine(std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* const months[] = {"Jan", "FEB", "mar", "Apr", "May", "jUn", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec", "Xyz"};
    const char* const words[] = {"a", "B", "anna", "Anna", "$Age{1968}", "ż", "z", "!"};
    auto blank = [&]() { return std::string(pick(8) == 0 ? (pick(2) ? "\t" : "  ") : " "); };
    switch (pick(20)) {
        case 0: return "; a comment\r\n";
        case 1: return "  \t\r\n";
        case 2: return "02-May-2010 01Y 000000 broken\r\n";
        default: break;
    }
    char date[32];
    std::snprintf(date, sizeof date, "%02d-%s-%04d", 1 + pick(31), months[pick(pick(30) == 0 ? 13 : 12)], 2008 + pick(6));
    const bool yearly = pick(3) != 0;
    int before = 0, after = 0;
    if (pick(5) == 0) {
        before = pick(40);
        after = pick(10);
    }
    char limits[32];
    std::snprintf(limits, sizeof limits, "%03d", before);
    std::string line = (pick(10) == 0 ? " " : "") + std::string(date) + blank() + (yearly ? "01Y" : "00N") + blank() +
                       limits;
    std::snprintf(limits, sizeof limits, "%03d", after);
    line += blank() + limits + blank();
    int count = 1 + pick(4);
    for (int i = 0; i < count; ++i) line += (i ? blank() : "") + words[pick(8)];
    if (pick(4) == 0) line += "\x1E" "note" + blank() + "two\x1E\x1E" "lines";
    return line + (pick(4) ? "\r\n" : " \n");
}

}  // namespace

// The rows come out as if every whole line had been read, checked and parsed,
// though only the start of a line is looked at until it proves due.
TEST_F(DueListTest, SameRowsAsReadingEveryLineWhole) {
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        std::string lines;
        const int count = static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) lines += RandomLine(random);
        WriteEvents(lines);
        fake.now = LocalTime(2010 + static_cast<int>(random() % 2), 1 + static_cast<int>(random() % 12),
                             1 + static_cast<int>(random() % 28), static_cast<int>(random() % 24), 30);
        prefs.warnDaysBefore = static_cast<int>(random() % 40);
        prefs.warnDaysAfter = static_cast<int>(random() % 10);

        fake.boxes.clear();
        fake.quitRequests = 0;
        fake.answers.assign(200, kAnswerYes);
        const std::vector<Duty> expected = ReadEveryLineWhole();
        const std::vector<ShownBox> expectedBoxes = fake.boxes;
        const int expectedQuits = fake.quitRequests;

        fake.boxes.clear();
        fake.quitRequests = 0;
        fake.answers.assign(200, kAnswerYes);
        std::vector<Duty> built;
        for (const DueItem* r = BuildDueList(nullptr); r != nullptr; r = r->next) built.push_back(*r);

        ASSERT_EQ(built.size(), expected.size()) << lines;
        for (size_t i = 0; i < built.size(); ++i) {
            const Duty& a = built[i];
            const Duty& b = expected[i];
            EXPECT_EQ(a.line, b.line);
            EXPECT_EQ(a.daysLeft, b.daysLeft) << a.line;
            EXPECT_EQ(std::vector<int>({a.day, a.month, a.year, a.yearly, a.repeatMark, a.warnBefore, a.warnAfter}),
                      std::vector<int>({b.day, b.month, b.year, b.yearly, b.repeatMark, b.warnBefore, b.warnAfter}));
            EXPECT_STREQ(a.message, b.message);
            EXPECT_STREQ(a.notes, b.notes);
        }
        ASSERT_EQ(fake.boxes.size(), expectedBoxes.size()) << lines;
        for (size_t i = 0; i < expectedBoxes.size(); ++i) EXPECT_EQ(fake.boxes[i].text, expectedBoxes[i].text);
        EXPECT_EQ(fake.quitRequests, expectedQuits);
    }
}
