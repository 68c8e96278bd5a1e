// Import and export of the events file: round trips, the awkward corners of
// each format, and inputs that must change nothing.
#include "storage/import_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "storage/events_check.h"
#include "tests/storage_helpers.h"

namespace {

using Strings = std::vector<std::string>;

std::string EventsFile(const std::vector<Duty>& events) {
    std::string file = Header() + "\r\n";
    for (const Duty& d : events) file += FormatDutyLine(d);
    return file;
}

// The event lines of the events file, without their line ends.
Strings EventLines() {
    Strings lines;
    std::istringstream file(ReadFileBytes(kEventsFileName));
    for (std::string line; std::getline(file, line);) {
        if (line.size() > 1 && line[0] != ';') lines.push_back(line.substr(0, line.size() - 1));
    }
    return lines;
}

// Imports `text` as a file named `name` into an empty directory; the event
// lines it adds.
Strings ImportText(const char* name, const std::string& text, ImportReport* report) {
    std::remove(kEventsFileName);
    WriteFileBytes(name, text);
    EXPECT_EQ(ImportEvents(name, report), 1) << report->message;
    return EventLines();
}

std::string Reasons(const ImportReport& report) {
    std::string text;
    for (const ImportProblem& p : report.problems) text += std::to_string(p.line) + ": " + p.reason + "\n";
    return text;
}

using ImportExportTest = StorageTest;

// Quillbee -> file -> Quillbee gives every event back: dates, recurrence,
// limits, macros, notes with line breaks and the characters each format
// escapes, and texts filled to the limit with two-byte characters.
TEST_F(ImportExportTest, RoundTripsAreExact) {
    std::string notes;
    while (notes.size() < 4000) notes += "Zażółć gęślą jaźń, \"q\"; a\\b $Age{1990}\r\n";
    const std::string events = EventsFile({
        MakeDuty(15, 3, 2010, true, 0, 0, "George's birthday! ($Age{1968} years old)",
                 "Cake at $Age{2000}:00"),
        MakeDuty(29, 2, 2010, true, 5, 2, "Leap day, entered in a common year"),
        MakeDuty(29, 2, 2012, true, 0, 5, "Leap day; entered in a leap year"),
        MakeDuty(7, 5, 2011, false, 182, 182, "Dentist \"Room 4\"", "Bring card\r\nRoom 4\r\n"),
        MakeDuty(31, 12, 2010, true, 1, 0,
                 std::string(75, 'x') + std::string(37, 'z') + "ż" + std::string(36, 'y'), notes),
        MakeDuty(1, 1, 2011, false, 0, 0, "\\$Age{1968} stays text, $age{1968} and $Age{19x} stay too"),
        MakeDuty(2, 1, 2011, false, 0, 0, std::string(66, 'x') + "ąąą" + std::string(70, 'x')),
    });
    // Long lines of the calendar are folded at 75 bytes, never inside a character.
    const std::string folded =
        "SUMMARY:" + std::string(66, 'x') + "\r\n ąąą" + std::string(68, 'x') + "\r\n xx\r\n";
    for (const char* name : {"events.ics", "EVENTS.CSV"}) {
        SCOPED_TRACE(name);
        WriteFileBytes(kEventsFileName, events);
        ExportReport exported;
        ASSERT_EQ(ExportEvents(name, &exported), 1) << exported.message;
        EXPECT_EQ(exported.exported, 7);
        EXPECT_TRUE(name[7] != 'i' || ReadFileBytes(name).find(folded) != std::string::npos);
        EXPECT_NE(exported.message.find(name), std::string::npos) << exported.message;
        std::remove(kEventsFileName);
        ImportReport imported;
        ASSERT_EQ(ImportEvents(name, &imported), 1) << imported.message;
        EXPECT_EQ(imported.added, 7) << Reasons(imported);
        EXPECT_EQ(ReadFileBytes(kEventsFileName), events);
    }
}

// Two New York times that fall on either side of midnight here only when
// the right offset of the season is taken.
const char* const kNewYork =
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
    "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nDTSTART:20070311T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
    "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nDTSTART:20071104T020000\r\n"
    "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

#define JAN1 "DTSTART;VALUE=DATE:20240101\r\n"
#define ALARM(trigger) "\r\nBEGIN:VALARM\r\nTRIGGER:" trigger "\r\nEND:VALARM"

TEST_F(ImportExportTest, ICalendarCorners) {
    std::string a100;
    for (int i = 0; i < 100; ++i) a100 += "ą";
    const struct {
        const char* what;
        std::string event;     // the lines of one VEVENT
        std::string expected;  // the event line it gives, or the start of the reason it is refused for
    } cases[] = {
        {"LF line ends, a summary too long cut at a character",
         "DTSTART;VALUE=DATE:20240101\nSUMMARY:a" + a100, "01-Jan-2024 00N 000 000 a" + a100.substr(0, 148)},
        {"all-day yearly", "DTSTART;VALUE=DATE:19680315\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:George",
         "15-Mar-1968 01Y 000 000 George"},
        {"restated date",
         "DTSTART;VALUE=DATE:19680315\r\nRRULE:FREQ=YEARLY;BYMONTHDAY=15;BYMONTH=3\r\nSUMMARY:G",
         "15-Mar-1968 01Y 000 000 G"},
        {"leap day", "DTSTART;VALUE=DATE:20240229\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Leap",
         "29-Feb-2024 01Y 000 000 Leap"},
        {"no such day", "DTSTART;VALUE=DATE:20230229\r\nSUMMARY:x", "a start date not understood: 20230229"},
        {"fold splits a character",
         JAN1 "SUMMARY:Za\xC5\r\n \xBC\xC3\xB3\xC5\x82\xC4\x87,\r\n\t ja\xC5\xBA\xC5\x84",
         "01-Jan-2024 00N 000 000 Zażółć, jaźń"},
        {"escapes and blanks", JAN1 "SUMMARY:  Tea\\,  cake\\;\\n and \\\\o/ ",
         "01-Jan-2024 00N 000 000 Tea, cake; and \\o/"},
        {"notes", JAN1 "SUMMARY:n\r\nDESCRIPTION:one\\ntwo\\, three",
         "01-Jan-2024 00N 000 000 n\x1Eone\x1E\x1Etwo, three"},
        {"UTC just before midnight", "DTSTART:20240314T233000Z\r\nSUMMARY:u", "15-Mar-2024 00N 000 000 u"},
        {"floating time", "DTSTART:20240314T233000\r\nSUMMARY:f", "14-Mar-2024 00N 000 000 f"},
        {"New York in summer time", "DTSTART;TZID=America/New_York:20240314T185000\r\nSUMMARY:s",
         "14-Mar-2024 00N 000 000 s"},
        {"New York in winter", "DTSTART;TZID=America/New_York:20240110T183000\r\nSUMMARY:w",
         "11-Jan-2024 00N 000 000 w"},
        {"a zone the file does not define", "DTSTART;TZID=Mars/Olympus:20240110T233000\r\nSUMMARY:m",
         "10-Jan-2024 00N 000 000 m"},
        {"alarm a week before", JAN1 "SUMMARY:a" ALARM("-P1W"), "01-Jan-2024 00N 007 003 a"},
        {"the earliest of whole-day alarms",
         JAN1 "SUMMARY:a" ALARM("-PT1440M") ALARM("-P2DT0H") ALARM("-PT15M") ALARM("-P183D"),
         "01-Jan-2024 00N 002 003 a"},
        {"no whole-day alarm", JAN1 "SUMMARY:a" ALARM("-PT12H"), "01-Jan-2024 00N 000 000 a"},
        {"monthly", JAN1 "RRULE:FREQ=MONTHLY\r\nSUMMARY:r",
         "a repetition Quillbee cannot keep: RRULE:FREQ=MONTHLY"},
        {"every other year", JAN1 "RRULE:FREQ=YEARLY;INTERVAL=2\r\nSUMMARY:r",
         "a repetition Quillbee cannot keep: RRULE:FREQ=YEARLY;INTERVAL=2"},
        {"a count", JAN1 "RRULE:FREQ=YEARLY;COUNT=3\r\nSUMMARY:r", "a repetition"},
        {"a long rule, cut in the reason between characters",
         JAN1 "RRULE:FREQ=DAILY;X-NAME=żżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżżż\r\nSUMMARY:r",
         "a repetition Quillbee cannot keep: RRULE:FREQ=DAILY;X-NAME=żżżżżżżżżżżżżżżżżż...\n"},
        {"no summary", JAN1 "SUMMARY: \\n ", "an event without a summary"},
        {"no start", "SUMMARY:s", "an event without a start date"},
        {"cancelled", JAN1 "SUMMARY:s\r\nSTATUS:CANCELLED", "a cancelled event"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n") + kNewYork +
                                 "BEGIN:VEVENT\r\n" + c.event + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        ImportReport report;
        const Strings lines = ImportText("in.ics", text, &report);
        if (std::isdigit(static_cast<unsigned char>(c.expected[0]))) {
            EXPECT_EQ(lines, Strings{c.expected}) << Reasons(report);
        } else {
            EXPECT_TRUE(lines.empty());
            ASSERT_EQ(report.problems.size(), 1u);
            EXPECT_EQ((report.problems[0].reason + "\n").rfind(c.expected, 0), 0u)
                << report.problems[0].reason;
        }
    }
}

TEST_F(ImportExportTest, VCardBirthdays) {
    std::string cards = "\r\n";  // blank lines are common between cards
    for (const std::string& card :
         Strings{"VERSION:3.0\r\nFN:Anna Nowak\r\nBDAY:1990-03-15", "VERSION:4.0\r\nFN:Jan\r\nBDAY:19850704",
                 "VERSION:4.0\r\nFN:Ewa\r\nBDAY:--1224", "VERSION:4.0\r\nFN:Leap\r\nBDAY:--02-29",
                 "VERSION:3.0\r\nFN:Tim\r\nitem1.BDAY;X-APPLE-OMIT-YEAR=1604:1604-08-01",
                 "VERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C5=81ukasz "
                 "=\r\nKowalski\r\nBDAY:1977-05-05",
                 "VERSION:3.0\r\nN:Kowalska;Maria;;;\r\nBDAY:1980-01-02T00:00:00Z",
                 "VERSION:3.0\r\nFN:No birthday", "VERSION:4.0\r\nFN:Old\r\nBDAY;VALUE=text:circa 1800",
                 "VERSION:3.0\r\nFN:Not leap\r\nBDAY:1991-02-29",
                 "VERSION:3.0\r\nFN:" + std::string(200, 'L') + "\r\nBDAY:2000-06-30"}) {
        cards += "BEGIN:VCARD\r\n" + card + "\r\nEND:VCARD\r\n";
    }
    ImportReport report;
    EXPECT_EQ(ImportText("contacts.VCF", cards, &report),
              (Strings{"15-Mar-1990 01Y 000 000 Anna Nowak's birthday! ($Age{1990} years old)",
                       "04-Jul-1985 01Y 000 000 Jan's birthday! ($Age{1985} years old)",
                       "24-Dec-2010 01Y 000 000 Ewa's birthday!", "29-Feb-2010 01Y 000 000 Leap's birthday!",
                       "01-Aug-2010 01Y 000 000 Tim's birthday!",
                       "05-May-1977 01Y 000 000 Łukasz Kowalski's birthday! ($Age{1977} years old)",
                       "02-Jan-1980 01Y 000 000 Maria Kowalska's birthday! ($Age{1980} years old)",
                       "30-Jun-2000 01Y 000 000 " + std::string(115, 'L') +
                           "'s birthday! ($Age{2000} years old)"}));
    EXPECT_EQ(Reasons(report),
              "45: a birthday not understood: circa 1800\n50: a birthday not understood: 1991-02-29\n");
}

// Semicolons and a byte-order mark, as a spreadsheet in Polish writes them;
// columns in another order; quoted line breaks; bad rows with their lines.
TEST_F(ImportExportTest, CsvDialect) {
    const std::string csv =
        "\xEF\xBB\xBF"
        "Message;DATE;notes;yearly;days before;days after;my column\r\n"
        "Christmas Eve;--12-24;\"Buy a tree\nand \"\"lights\"\"\";;5;1;x\r\n"
        "Dentist;2011-05-07;;no\n"
        "Spreadsheet date;07.05.2012;;NO;;\r\n"
        "Yearly with a year;2012-02-29;;tak\r\n"
        "\r\n"
        "Bad day;2011-02-30\r\n"
        "No year;--03-01;;no\r\n"
        "Maybe;2011-01-01;;maybe\r\n"
        "Too far;2011-01-01;;no;200\r\n"
        ";2011-01-01;;no\r\n"
        "Dentist;2011-05-07;;no\r\n";
    ImportReport report;
    EXPECT_EQ(ImportText("list.csv", csv, &report),
              (Strings{"24-Dec-2010 01Y 005 001 Christmas Eve\x1E"
                       "Buy a tree\x1E\x1E"
                       "and \"lights\"",
                       "07-May-2011 00N 000 000 Dentist", "07-May-2012 00N 000 000 Spreadsheet date",
                       "29-Feb-2012 01Y 000 000 Yearly with a year"}));
    EXPECT_EQ(report.duplicates, 1);
    EXPECT_EQ(report.notUnderstood, 5);
    EXPECT_EQ(Reasons(report),
              "8: a date not understood: 2011-02-30\n9: a one-off event without a year\n"
              "10: yearly is \"maybe\": yes or no\n11: a limit of \"200\" days: 0 to 182\n"
              "12: an event without a message\n");
}

// Events already in the file, or twice in the input, are counted and left
// out; the summary gives the first reasons with their lines.
TEST_F(ImportExportTest, DuplicatesAndSummary) {
    WriteFileBytes(kEventsFileName, EventsFile({MakeDuty(15, 3, 2000, true, 0, 0, "George"),
                                                MakeDuty(7, 5, 2011, false, 0, 0, "Dentist")}));
    std::string csv =
        "date,message,yearly\r\n1968-03-15,George,yes\r\n2012-05-07,Dentist,no\r\n"
        "2012-05-07,Dentist,no\r\n2011-05-07,Dentist, yes \r\n";
    for (int i = 0; i < 7; ++i) csv += "2011-13-01,bad\r\n";
    WriteFileBytes("in.csv", csv);
    ImportReport report;
    ASSERT_EQ(ImportEvents("in.csv", &report), 1);
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.duplicates, 2);
    std::string expected = "Imported from in.csv:\n\n2 added\n2 skipped as duplicates\n7 not understood";
    for (int line = 6; line <= 10; ++line)
        expected += "\nline " + std::to_string(line) + ": a date not understood: 2011-13-01";
    EXPECT_EQ(report.message, expected + "\n(and 2 more)");
    EXPECT_EQ(EventLines().size(), 4u);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), ReadFileBytes(kEventsFileName));
    EXPECT_EQ(fake.postedCommands, std::vector<int>{CMD_RELOAD_LIST});
    EXPECT_FALSE(fake.waitCursor);
}

// A file cut short, of another kind than its name, not UTF-8, or unreadable
// changes neither the events file nor its backup, and says why.
TEST_F(ImportExportTest, RefusedFilesChangeNothing) {
    const std::string calendar = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n" JAN1 "SUMMARY:x\r\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"cut.ics", calendar,
         "Nothing was imported from cut.ics:\nline 4: the file ends inside VEVENT: it is incomplete."},
        {"cut.vcf", "BEGIN:VCARD\r\nFN:a\r\nBDAY:2000-01-01\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:b",
         "Nothing was imported from cut.vcf:\nline 6: the file ends inside VCARD: it is incomplete."},
        {"cut.csv", "date,message,notes\r\n2011-01-01,a,\"notes that go on\r\nand on",
         "Nothing was imported from cut.csv:\nline 2: the file ends inside a quoted field: it is "
         "incomplete."},
        {"crossed.ics", calendar + "END:VCALENDAR\r\n", "line 5: END:VCALENDAR does not close"},
        {"garbage.ics", calendar + "just words\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 5: this line is not a property"},
        {"csv.ics", "date,message\r\n2011-01-01,a\r\n",
         "line 1: the file does not begin with BEGIN:VCALENDAR."},
        {"ics.csv", calendar, "line 1: the file does not begin with date,message."},
        {"latin1.ics", calendar + "DESCRIPTION:caf\xE9\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
         "line 5: the text is not UTF-8."},
        {"utf16.csv",
         std::string("\xFF\xFE"
                     "d\0a\0t\0e\0",
                     10),
         "line 1: this is not a text file."},
        {"events.txt", "date,message\r\n", "events.txt cannot be imported: only iCalendar"},
        {"missing.ics", "", "Cannot read missing.ics."},
    };
    const std::string events = EventsFile({MakeDuty(1, 1, 2010, true, 0, 0, "old")});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(kEventsFileName, events);
        WriteFileBytes(kBackupFileName, "old backup");
        if (!c.bytes.empty()) WriteFileBytes(c.name, c.bytes);
        ImportReport report;
        EXPECT_EQ(ImportEvents(c.name, &report), 0);
        EXPECT_NE(report.message.find(c.message), std::string::npos) << report.message;
        EXPECT_EQ(ReadFileBytes(kEventsFileName), events);
        EXPECT_EQ(ReadFileBytes(kBackupFileName), "old backup");
        EXPECT_FALSE(fake.waitCursor);
        std::remove(c.name);
    }

    // An events file the program cannot read is not added to, nor exported.
    ImportReport report;
    WriteFileBytes("good.csv", "date,message\r\n2011-01-01,a\r\n");
    WriteFileBytes(kEventsFileName, "; my own file\r\n");
    EXPECT_EQ(ImportEvents("good.csv", &report), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), "; my own file\r\n");
    ExportReport exported;
    EXPECT_EQ(ExportEvents("out.csv", &exported), 0);
    EXPECT_FALSE(FileExists("out.csv"));
    EXPECT_EQ(ExportEvents("out.vcf", &exported), 0);
    EXPECT_TRUE(fake.boxes.empty()) << "failures are told in the message, not in boxes";
    EXPECT_EQ(fake.quitRequests, 0);

    // A write that fails leaves the events file as it was, and is reported.
    WriteFileBytes(kEventsFileName, events);
    fake.failWriteAt = 1;
    fake.keepFailing = true;
    EXPECT_EQ(ImportEvents("good.csv", &report), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), events);
    EXPECT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(ExportEvents("out.csv", &exported), 0);
    EXPECT_FALSE(FileExists("out.csv"));
    EXPECT_FALSE(FileExists("out.csv.part"));
}

// Every problem, with its line, without stopping at the first.
TEST_F(ImportExportTest, CheckListsEveryProblem) {
    WriteFileBytes(kEventsFileName,
                   Header() +
                       "\r\n01-Jan-2010 01Y 000 000 sound\r\n01-Jan-2010 01Y 000000 broken\r\n"
                       "31-Apr-2010 01Y 000 000 no such day\r\n01-Jan-2010 01Y 000 000 " +
                       std::string(151, 'm') + "\r\n01-Jan-2010 01Y 000 000 age $Age{19x}\r\n; comment\r\n;" +
                       std::string(9000, 'c') + "\r\n01-Xyz-2010 01Y 000 000 month\r\n");
    std::vector<EventsFileProblem> problems;
    EXPECT_EQ(CheckEventsFile(&problems), 1);
    std::string listed;
    for (const EventsFileProblem& p : problems) listed += std::to_string(p.line) + " " + p.text + "\n";
    EXPECT_EQ(
        listed,
        "6 Fatal error reading data file (invalid format)!\n( at line 6 ) (The program stops reading the "
        "file here.)\n7 Invalid date in line 7:  Kwiecień does not have 31 days!\n"
        "8 The message is longer than 150 bytes; the program keeps the first 150.\n"
        "9 A $Age macro in the message cannot be worked out; it is shown as it stands.\n"
        "11 The line is longer than the program reads at once; the rest of it is not read.\n"
        "12 Error reading the data file!\n( illegal month name in line 12 )\n");
    WriteFileBytes(kEventsFileName, "; not ours\r\n");
    problems.clear();
    EXPECT_EQ(CheckEventsFile(&problems), -1);
    EXPECT_EQ(problems.size(), 1u);
    std::remove(kEventsFileName);
    EXPECT_EQ(CheckEventsFile(&problems), 0);
}

}  // namespace
