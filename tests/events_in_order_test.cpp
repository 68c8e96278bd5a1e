// The events file as the list editor reads it (whole, in calendar order) and
// writes it back. The failures of the writer are among the fault tests of
// events_save_test.cpp (kRewriteCases).
#include "storage/events_in_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/storage_helpers.h"

using EventsInOrderTest = StorageTest;

namespace {

// What a visit saw: the message, the line it came from, and the line the
// file gets back for it.
struct Seen {
    std::string message;
    int line;
    std::string written;
};

void Collect(const Duty& duty, const char* keptLine, void* context) {
    std::vector<Seen>* seen = static_cast<std::vector<Seen>*>(context);
    seen->push_back(
        {duty.message, duty.line, keptLine ? std::string(keptLine) + "\r\n" : FormatDutyLine(duty)});
}

const char* SeenLine(int index, void* context) {
    return (*static_cast<std::vector<Seen>*>(context))[static_cast<size_t>(index)].written.c_str();
}

std::vector<Seen> ReadAll(int expected = 1) {
    std::vector<Seen> seen;
    EventsFileStamp stamp;
    EXPECT_EQ(ReadEventsInCalendarOrder(Collect, &seen, &stamp), expected);
    return seen;
}

}  // namespace

// Every event comes, in calendar order, equal ones in the order of the file;
// what writing the record would not give back comes as the line it was, so
// a save without edits changes no event beyond the file's normalisation.
TEST_F(EventsInOrderTest, ReadsEveryEventAndWritesItBackUnchanged) {
    const std::string longMessage(200, 'm');
    const std::string lines[] = {
        "20-Mar-2010 01Y 000 000 Wiosna   idzie\n",                         // 5: blanks collapse
        "; a comment\r\n",                                                  // 6
        "05-Mar-2011 00N 000 000 b\r\n",                                    // 7
        "05-Xyz-2010 01Y 000 000 typo in the month\r\n",                    // 8: no month, first
        "05-Mar-2012 00N 000 000 b\r\n",                                    // 9: after line 7
        "\r\n",                                                             // 10
        "05-Mar-2010 01Y 000 000 A\x1e" + std::string(5000, 'n') + "\r\n",  // 11: notes too long
        "01-Feb-2010 01Y 000 000 " + longMessage + "\r\n",                  // 12: message too long
        "31-Jan-20xx 01Y 000 000 the year is not a number\r\n",             // 13
        "31-Jan-2010 01Y 005 002 notes\x1eline 1\x1e\x1eline 2\r\n",        // 14
    };
    std::string file = Header() + "\r\n", saved = file, expected = file;
    for (const std::string& line : lines) file += line;
    WriteFileBytes(kEventsFileName, file);
    std::vector<Seen> seen = ReadAll();
    std::vector<int> order;
    for (const Seen& s : seen) order.push_back(s.line), saved += s.written;
    EXPECT_EQ(order, (std::vector<int>{8, 14, 13, 12, 11, 7, 9, 5}));
    for (int n : {8, 14, 13, 12, 11, 7, 9}) expected += lines[n - 5];
    expected += "20-Mar-2010 01Y 000 000 Wiosna idzie\r\n";
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(seen[3].message, longMessage.substr(0, 150)) << "the record holds what it can";

    ASSERT_EQ(WriteEventsFromRows(static_cast<int>(seen.size()), SeenLine, &seen), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), expected);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), expected);
    EXPECT_EQ(KeptVersions(), std::vector<std::string>{file}) << "an undo brings the old file back";
    ASSERT_EQ(WriteEventsFromRows(0, SeenLine, &seen), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), Header() + "\r\n");
    EXPECT_TRUE(fake.boxes.empty());
}

// An older file's events come in the current format, to be saved so; a
// missing file gives nothing, an unknown first line stops the program.
TEST_F(EventsInOrderTest, OlderMissingAndUnknownFiles) {
    WriteFileBytes(kEventsFileName, ";File created by Quillbee 1.40\r\n07-May-2011 00n 05 01 Dentist\r\n");
    std::vector<Seen> seen = ReadAll();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].written, "07-May-2011 00N 005 001 Dentist\r\n");

    std::remove(kEventsFileName);
    EXPECT_TRUE(ReadAll(0).empty());
    EXPECT_TRUE(fake.boxes.empty());
    WriteFileBytes(kEventsFileName, "; my file\r\n07-May-2011 00N 005 001 Dentist\r\n");
    EXPECT_TRUE(ReadAll(-1).empty());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 1 )");
    EXPECT_EQ(fake.quitRequests, 1);
}
