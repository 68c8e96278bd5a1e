#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "app/platform.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "tests/storage_helpers.h"

namespace {

// What a reader makes of a line: normalised in place, then parsed.
Duty ReadBack(const std::string& text, int version = kVersion141) {
    std::string line = text;
    IsSkippableLine(&line[0]);
    return *ParseDutyLine(line.c_str(), 2, version);
}

std::string Fields(const Duty& d) {
    char text[kMessageSize + kNotesSize + 64];
    std::snprintf(text, sizeof text, "%d.%d.%d %d%c %d/%d [%s] [%s]", d.day, d.month, d.year, d.yearly,
                  static_cast<char>(d.repeatMark), d.warnBefore, d.warnAfter, d.message, d.notes);
    return text;
}

}  // namespace

using EventsFileTest = StorageTest;

TEST_F(EventsFileTest, MarksPairAndNothingSplitsTheStoredLine) {
    // Marks pair from left to right; a lone one stays.
    EXPECT_STREQ(ReadBack("01-Jan-2010 01Y 000 000 m\x1E" "a\x1E\x1E\x1E" "b").notes, "a\r\n\x1E" "b");
    // A line break or an invisible repeat mark must not split or cut the stored line.
    Duty broken = MakeDuty(1, 1, 2010, true, 0, 0, "a\nb", "one\ntwo\r\n");
    broken.repeatMark = 0;
    EXPECT_STREQ(FormatDutyLine(broken), "01-Jan-2010 01Y 000 000 a b\x1Eone\x1E\x1Etwo\x1E\x1E\r\n");
}

// Every record a writer can produce comes back unchanged.
TEST_F(EventsFileTest, RoundTripOfGeneratedRecords) {
    std::mt19937 random(20101118);
    const char* words[] = {"a", "Zażółć", "gęślą", "$Age{1968}", "\\$x", "100%", "\"q\"", "x;y"};
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    for (int i = 0; i < 2000 && !HasFailure(); ++i) {
        int month = 1 + pick(12);
        std::string message = words[pick(8)];
        while (message.size() < 140 && pick(4) != 0) message += std::string(" ") + words[pick(8)];
        std::string notes;
        for (int p = pick(3) == 0 ? 0 : pick(40); p > 0 && notes.size() < 4000; --p) {
            notes += words[pick(8)];
            if (p > 1) notes += pick(2) ? "\r\n" : " ";
        }
        Duty d = MakeDuty(1 + pick(DaysInMonth(month)), month, pick(10000), pick(2) == 0, pick(1000), pick(1000),
                          message.c_str(), notes.c_str());
        EXPECT_EQ(Fields(ReadBack(FormatDutyLine(d))), Fields(d));
    }
}

TEST_F(EventsFileTest, OverlongTextsAreCutAtCharacterBoundaries) {
    auto parse = [](const std::string& tail) { return ReadBack("01-Jan-2010 01Y 000 000 " + tail); };
    EXPECT_EQ(std::string(parse(std::string(149, 'm') + "ś" + "tail").message), std::string(149, 'm'));
    EXPECT_EQ(std::string(parse("m\x1E" + std::string(4095, 'n') + "ż").notes), std::string(4095, 'n'));
    EXPECT_EQ(std::string(parse("m\x1E" + std::string(4095, 'p') + "\x1E\x1Eq").notes), std::string(4095, 'p'));
    EXPECT_EQ(std::strlen(parse(std::string(300, '\x80')).message), 150u) << "not UTF-8: cut at the limit";
}

TEST_F(EventsFileTest, ValidateChecksTheLayoutThenTheDate) {
    const std::string fatal = "Fatal error reading data file (invalid format)!\n( at line 5 )";
    const std::string ask = "\n\nDo you want to ignore this line and continue reading the file?";
    const struct {
        const char* line;
        int version;
        int answer;
        int verdict;
        std::string text;
    } cases[] = {
        {"29-Feb-2011 00N 000 000 x", kVersion141, 0, 1, ""},
        {"07-May-2011 00n 05 01 Dentist", kVersion140, 0, 1, ""},
        {"15-mar 03 01 Call Anna", kVersion130, 0, 1, ""},
        {"15-Mar-2010 01Y 000 00", kVersion141, 0, -1, fatal},
        {"15-Mar-2010 01Y 0000000 x", kVersion141, 0, -1, fatal},
        {"15-Mar-2010 01Y 000 000 x", kVersion130, 0, -1, fatal},
        {"31-Apr-2011 01Y 000 000 x", kVersion141, kAnswerYes, -2,
         "Invalid date in line 5:  Kwiecień does not have 31 days!" + ask},
        {"00-Apr-2011 01Y 000 000 x", kVersion141, kAnswerNo, -1,
         "Error reading data file!\n( illegal day number in line 5 )" + ask},
        {"12-Abc-2011 01Y 000 000 x", kVersion141, kAnswerYes, -2,
         "Error reading the data file!\n( illegal month name in line 5 )" + ask},
    };
    for (const auto& c : cases) {
        ResetFakePlatform();
        if (c.answer) fake.answers.push_back(c.answer);
        EXPECT_EQ(ValidateDutyLine(c.line, 5, c.version), c.verdict) << c.line;
        ASSERT_EQ(fake.boxes.size(), c.text.empty() ? 0u : 1u) << c.line;
        if (c.text.empty()) continue;
        EXPECT_EQ(fake.boxes[0].text, c.text);
        EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
        EXPECT_EQ(fake.boxes[0].style, c.answer ? kBoxYesNo | kBoxIconWarning : kBoxOk | kBoxIconError);
    }
}

TEST_F(EventsFileTest, HeaderAndVersionLine) {
    FILE* out = std::fopen("header", "wb");
    ASSERT_EQ(WriteFileHeader(out), 1);
    std::fclose(out);
    const std::string header = ReadFileBytes("header");
    EXPECT_EQ(header.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;", 0), 0u);
    const struct {
        std::string first;
        int version;
    } cases[] = {{header, kVersion141},       {";made by 1.40\n", kVersion140}, {"; 1.30 and 1.41\n", kVersion141},
                 {"; v1.35\n", kVersion130},   {"; v1.2\n", kVersion120},       {"; my file\n", 0},
                 {std::string("\0 1.41\n", 7), 0}};
    for (const auto& c : cases) {
        ResetFakePlatform();
        WriteFileBytes("events", c.first + "next\r\n");
        FILE* in = std::fopen("events", "rb");
        std::fgetc(in);  // read from the start whatever the position
        EXPECT_EQ(ReadFileVersion(in), c.version) << c.first;
        std::fclose(in);
        EXPECT_EQ(fake.quitRequests, c.version == 0 ? 1 : 0);
        if (c.version == 0) {
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 1 )");
        }
    }
}

// Notes with any line breaks enter the record with CR LF ones, cut to its
// size at a character boundary and never within a break; what is written then
// reads back byte for byte.
TEST_F(EventsFileTest, NotesWithAnyLineBreaksSurviveTheFile) {
    const struct {
        std::string typed;
        size_t size;
        std::string kept;
    } cases[] = {
        {"a\rb\nc\r\nd\n\re", 64, "a\r\nb\r\nc\r\nd\r\n\r\ne"},
        {"abc\n", 4, "abc"},
        {"a\r\n", 3, "a"},
        {"ażb", 3, "a"},
        {"ażb", 4, "aż"},
    };
    for (const auto& c : cases) {
        char out[64];
        EXPECT_EQ(NormaliseLineBreaks(out, c.size, c.typed.c_str()), c.kept.size()) << c.typed;
        EXPECT_EQ(out, c.kept) << c.typed;
    }

    std::string typed, kept;
    while (typed.size() < 4090) typed += "ąb\n";     // 4 bytes a line as typed,
    for (int i = 0; i < 819; ++i) kept += "ąb\r\n";  // 5 once stored: the 820th "ą" does not fit
    Duty duty = MakeDuty(1, 2, 2011, true, 0, 0, "m");
    EXPECT_EQ(NormaliseLineBreaks(duty.notes, sizeof duty.notes, typed.c_str()), kept.size());
    EXPECT_EQ(std::string(duty.notes), kept);
    EXPECT_EQ(std::string(ReadBack(FormatDutyLine(duty)).notes), kept);
}
