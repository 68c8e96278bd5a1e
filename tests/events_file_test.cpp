#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "app/platform.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "tests/fake_platform.h"
#include "tests/scratch_dir.h"

namespace {

Duty MakeDuty(int day, int month, int year, bool yearly, int before, int after, const char* message,
              const char* notes = "") {
    Duty d;
    std::memset(&d, 0, sizeof d);
    d.day = day;
    d.month = month;
    d.year = year;
    d.yearly = yearly ? 1 : 0;
    d.repeatMark = yearly ? 'Y' : 'N';
    d.warnBefore = before;
    d.warnAfter = after;
    std::snprintf(d.message, sizeof d.message, "%s", message);
    std::snprintf(d.notes, sizeof d.notes, "%s", notes);
    return d;
}

// What a reader makes of a line: normalised in place, then parsed.
Duty ReadBack(const std::string& text, int version = kVersion141) {
    std::string line = text;
    IsSkippableLine(&line[0]);
    return *ParseDutyLine(line.c_str(), 2, version);
}

void ExpectSameRecord(const Duty& a, const Duty& b) {
    EXPECT_EQ(a.day, b.day);
    EXPECT_EQ(a.month, b.month);
    EXPECT_EQ(a.year, b.year);
    EXPECT_EQ(a.yearly, b.yearly);
    EXPECT_EQ(a.repeatMark, b.repeatMark);
    EXPECT_EQ(a.warnBefore, b.warnBefore);
    EXPECT_EQ(a.warnAfter, b.warnAfter);
    EXPECT_STREQ(a.message, b.message);
    EXPECT_STREQ(a.notes, b.notes);
}

class EventsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18);
    }
    void TearDown() override { ResetFakePlatform(); }

    // Validates `line` as line 5 and expects one box with this text and style.
    void ExpectVerdict(const char* line, int version, int verdict, const std::string& text, unsigned style) {
        ResetFakePlatform();
        EXPECT_EQ(ValidateDutyLine(line, 5, version), verdict) << line;
        ASSERT_EQ(fake.boxes.size(), 1u) << line;
        EXPECT_EQ(fake.boxes[0].text, text);
        EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
        EXPECT_EQ(fake.boxes[0].style, style);
    }
};

const char kFatal[] = "Fatal error reading data file (invalid format)!\n( at line %d )";

std::string Fatal(int line) {
    char text[128];
    std::snprintf(text, sizeof text, kFatal, line);
    return text;
}

}  // namespace

TEST_F(EventsFileTest, FormatsTheCurrentLayout) {
    EXPECT_STREQ(FormatDutyLine(MakeDuty(15, 3, 2010, true, 0, 0, "George's birthday! ($Age{1968} years old)")),
                 "15-Mar-2010 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n");
    EXPECT_STREQ(FormatDutyLine(MakeDuty(7, 5, 2011, false, 5, 1, "Dentist", "Bring card\r\nRoom 4")),
                 "07-May-2011 00N 005 001 Dentist\x1E" "Bring card\x1E\x1ERoom 4\r\n");
    EXPECT_STREQ(FormatDutyLine(MakeDuty(1, 12, 987, true, 182, 999, "x")), "01-Dec-0987 01Y 182 999 x\r\n");

    // A line break anywhere in the record, or no visible repeat mark, must
    // not split or cut the stored line.
    Duty broken = MakeDuty(1, 1, 2010, true, 0, 0, "a\nb", "one\ntwo\rthree\r\n");
    broken.repeatMark = 0;
    std::string line = FormatDutyLine(broken);
    EXPECT_EQ(line, "01-Jan-2010 01Y 000 000 a b\x1Eone\x1E\x1Etwo\x1E\x1Ethree\x1E\x1E\r\n");
    EXPECT_STREQ(ReadBack(line).notes, "one\r\ntwo\r\nthree\r\n");
}

TEST_F(EventsFileTest, ParsesEveryVersion) {
    Duty dentist = MakeDuty(7, 5, 2011, false, 5, 1, "Dentist", "Bring card\r\nRoom 4");
    Duty d = ReadBack("07-May-2011 00N 005 001 Dentist\x1E" "Bring card\x1E\x1ERoom 4\r\n");
    ExpectSameRecord(d, dentist);
    EXPECT_EQ(d.line, 2);
    EXPECT_EQ(d.daysLeft, 0);
    dentist.notes[0] = '\0';
    ExpectSameRecord(ReadBack("07-May-2011 00n 05 01 Dentist", kVersion140), dentist);
    EXPECT_EQ(ReadBack("07-May-2011 00n 005 001 Dentist").repeatMark, 'n') << "1.41 takes the mark as it stands";
    // Older files have no year: every event is yearly, in the current year.
    for (int version : {kVersion130, kVersion120}) {
        ExpectSameRecord(ReadBack("15-mar 03 01 Call Anna", version), MakeDuty(15, 3, 2010, true, 3, 1, "Call Anna"));
    }
}

TEST_F(EventsFileTest, ReaderNormalisesWhitespaceAndPairsMarks) {
    Duty back = ReadBack(FormatDutyLine(MakeDuty(2, 2, 2010, true, 0, 0, "a  b", "x\t\ty  \r\nz   ")));
    EXPECT_STREQ(back.message, "a b");
    EXPECT_STREQ(back.notes, "x y \r\nz");
    // Marks pair from left to right; a lone one stays.
    EXPECT_STREQ(ReadBack("01-Jan-2010 01Y 000 000 m\x1E" "a\x1E\x1E\x1E" "b\x1E").notes, "a\r\n\x1E" "b\x1E");
    // A short line leaves the missing fields empty.
    Duty shortLine = ReadBack("15-Mar");
    EXPECT_EQ(shortLine.day, 15);
    EXPECT_EQ(shortLine.month, 3);
    EXPECT_EQ(shortLine.year, 0);
    EXPECT_STREQ(shortLine.message, "");
    EXPECT_EQ(ReadBack("15-Xyz-2010 01Y 000 000 m").month, 0);
}

// Every record a writer can produce comes back unchanged.
TEST_F(EventsFileTest, RoundTripOfGeneratedRecords) {
    std::mt19937 random(20101118);
    const char* words[] = {"a", "Zażółć", "gęślą", "jaźń", "$Age{1968}", "\\$x", "100%", "\"q\"", "x;y", "ŚĆ"};
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    for (int i = 0; i < 2000 && !HasFailure(); ++i) {
        int month = 1 + pick(12);
        std::string message = words[pick(10)];
        while (message.size() < 140 && pick(4) != 0) message += std::string(" ") + words[pick(10)];
        std::string notes;
        for (int p = pick(3) == 0 ? 0 : pick(40); p > 0 && notes.size() < 4000; --p) {
            int sep = pick(4);
            notes += words[pick(10)];
            if (p > 1) notes += sep == 0 ? "\r\n" : sep == 1 ? " \r\n" : " ";
        }
        if (pick(10) == 0) notes += "\r\n";
        Duty d = MakeDuty(1 + pick(DaysInMonth(month)), month, pick(10000), pick(2) == 0, pick(1000), pick(1000),
                          message.c_str(), notes.c_str());
        SCOPED_TRACE(FormatDutyLine(d));
        ExpectSameRecord(ReadBack(FormatDutyLine(d)), d);
    }
}

TEST_F(EventsFileTest, OverlongTextsAreCutAtCharacterBoundaries) {
    auto parse = [](const std::string& tail) { return ReadBack("01-Jan-2010 01Y 000 000 " + tail); };
    EXPECT_EQ(std::string(parse(std::string(149, 'm') + "ś" + "tail").message), std::string(149, 'm'));
    EXPECT_EQ(std::string(parse("m\x1E" + std::string(4095, 'n') + "ż").notes), std::string(4095, 'n'));
    // A line break is never cut in half either.
    EXPECT_EQ(std::string(parse("m\x1E" + std::string(4095, 'p') + "\x1E\x1Eq").notes), std::string(4095, 'p'));
    // Bytes that are not UTF-8 are cut at the limit rather than dropped.
    EXPECT_EQ(std::strlen(parse(std::string(300, '\x80')).message), 150u);
}

TEST_F(EventsFileTest, NumericColumnsReadAsStrtolReadsThem) {
    // Each field is converted from exactly its columns: whitespace, a sign,
    // digits, and anything after them ignored.
    const char alphabet[] = "0123456789  +-x\t";
    const struct {
        int column, width;
        int32_t Duty::*field;
    } fields[] = {{0, 2, &Duty::day},         {7, 4, &Duty::year},      {12, 2, &Duty::yearly},
                  {16, 3, &Duty::warnBefore}, {20, 3, &Duty::warnAfter}};
    std::mt19937 random(5);
    for (int round = 0; round < 5000; ++round) {
        std::string line = "07-May-2011 00N 005 001 m";
        for (const auto& f : fields) {
            for (int i = 0; i < f.width; ++i) line[f.column + i] = alphabet[random() % (sizeof alphabet - 1)];
        }
        line.resize(random() % (line.size() + 1));
        const Duty* d = ParseDutyLine(line.c_str(), 1, kVersion141);
        for (const auto& f : fields) {
            std::string field = static_cast<size_t>(f.column) < line.size() ? line.substr(f.column, f.width) : "";
            EXPECT_EQ(d->*f.field, std::strtol(field.c_str(), nullptr, 10)) << "'" << line << "' column " << f.column;
        }
    }
}

TEST_F(EventsFileTest, ValidateChecksTheLayoutThenTheDate) {
    EXPECT_EQ(ValidateDutyLine("29-Feb-2011 00N 000 000 x", 4, kVersion141), 1);
    EXPECT_EQ(ValidateDutyLine("07-May-2011 00n 05 01 Dentist", 4, kVersion140), 1);
    EXPECT_EQ(ValidateDutyLine("15-mar 03 01 Call Anna", 4, kVersion130), 1);
    EXPECT_TRUE(fake.boxes.empty());

    // A broken layout stops the reading.
    for (const char* line : {"15-Mar-2010 01Y 000 00", "15/Mar-2010 01Y 000 000 x", "15-Mar/2010 01Y 000 000 x",
                             "15-Mar-2010.01Y 000 000 x", "15-Mar-2010 01Y 0000000 x", ""}) {
        ExpectVerdict(line, kVersion141, -1, Fatal(5), kBoxOk | kBoxIconError);
    }
    ExpectVerdict("15-Mar-2010 01Y 000 000 x", kVersion130, -1, Fatal(5), kBoxOk | kBoxIconError);

    // An impossible date asks: Yes skips the line, No stops.
    const std::string question = "\n\nDo you want to ignore this line and continue reading the file?";
    const struct {
        const char* line;
        const char* problem;
    } dates[] = {
        {"31-Apr-2011 01Y 000 000 x", "Invalid date in line 5:  Kwiecień does not have 31 days!"},
        {"00-Apr-2011 01Y 000 000 x", "Error reading data file!\n( illegal day number in line 5 )"},
        {"32-Jan-2011 01Y 000 000 x", "Error reading data file!\n( illegal day number in line 5 )"},
        {"12-Abc-2011 01Y 000 000 x", "Error reading the data file!\n( illegal month name in line 5 )"},
    };
    for (const auto& c : dates) {
        for (int answer : {kAnswerYes, kAnswerNo}) {
            ResetFakePlatform();
            fake.answers.push_back(answer);
            EXPECT_EQ(ValidateDutyLine(c.line, 5, kVersion141), answer == kAnswerYes ? -2 : -1) << c.line;
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text, c.problem + question);
            EXPECT_EQ(fake.boxes[0].style, kBoxYesNo | kBoxIconWarning);
            EXPECT_EQ(fake.quitRequests, 0);
        }
    }
}

TEST_F(EventsFileTest, HeaderAndVersionLine) {
    ScratchDir dir;
    FILE* out = std::fopen("header", "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(WriteFileHeader(out), 1);
    std::fclose(out);
    std::string header = ReadFileBytes("header");
    EXPECT_EQ(header.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;", 0), 0u);
    size_t second = header.find("\r\n;") + 3, third = header.find("\r\n;", second) + 3;
    EXPECT_EQ(header.find("\r\n", third), header.size() - 2) << "three lines, each a comment";

    const struct {
        std::string first;
        int version;
    } cases[] = {
        {header, kVersion141},   {";made by 1.40\n", kVersion140}, {"; 1.30 and 1.41\n", kVersion141},
        {"; v1.30\n", kVersion130}, {"; v1.35\n", kVersion130},     {"; v1.2\n", kVersion120},
        {"; v1.20", kVersion120},   {"; my file\r\n", 0},            {"", 0},
        {std::string("\0 1.41\r\n", 8), 0},
    };
    for (const auto& c : cases) {
        ResetFakePlatform();
        WriteFileBytes("events", c.first + "next line\r\n");
        FILE* in = std::fopen("events", "rb");
        ASSERT_NE(in, nullptr);
        std::fgetc(in);  // the version is read from the start whatever the position
        EXPECT_EQ(ReadFileVersion(in), c.version) << c.first;
        char next[64] = "";
        if (c.version != 0 && c.first.back() == '\n' && c.first != header) {
            EXPECT_STREQ(std::fgets(next, sizeof next, in), "next line\r\n") << "left after the first line";
        }
        std::fclose(in);
        EXPECT_EQ(fake.quitRequests, c.version == 0 ? 1 : 0);
        ASSERT_EQ(fake.boxes.size(), c.version == 0 ? 1u : 0u);
        if (c.version == 0) {
            EXPECT_EQ(fake.boxes[0].text, Fatal(1));
            EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
            EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconError);
        }
    }
}
