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

// What a reader sees: the formatted line normalised, then parsed.
Duty ReadBack(const char* formatted, int lineNumber, int version = kVersion141) {
    std::string copy = formatted;
    std::vector<char> line(copy.begin(), copy.end());
    line.push_back('\0');
    EXPECT_FALSE(IsSkippableLine(line.data()));
    return *ParseDutyLine(line.data(), lineNumber, version);
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
};

}  // namespace

TEST_F(EventsFileTest, FormatsTheCurrentLayout) {
    Duty birthday = MakeDuty(15, 3, 2010, true, 0, 0, "George's birthday! ($Age{1968} years old)");
    EXPECT_STREQ(FormatDutyLine(birthday), "15-Mar-2010 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n");

    Duty dentist = MakeDuty(7, 5, 2011, false, 5, 1, "Dentist", "Bring card\r\nRoom 4");
    EXPECT_STREQ(FormatDutyLine(dentist), "07-May-2011 00N 005 001 Dentist\x1E" "Bring card\x1E\x1ERoom 4\r\n");

    Duty wide = MakeDuty(1, 12, 987, true, 182, 999, "x");
    EXPECT_STREQ(FormatDutyLine(wide), "01-Dec-0987 01Y 182 999 x\r\n");
}

TEST_F(EventsFileTest, StoredLinesNeverBreak) {
    // A lone CR or LF in the notes, or a break in the message, would split the
    // stored line in two and make the next reader stop.
    Duty d = MakeDuty(1, 1, 2010, true, 0, 0, "a\nb", "one\ntwo\rthree\r\n");
    std::string line = FormatDutyLine(d);
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    std::string body = line.substr(0, line.size() - 2);
    EXPECT_EQ(body.find('\r'), std::string::npos);
    EXPECT_EQ(body.find('\n'), std::string::npos);
    Duty back = ReadBack(line.c_str(), 2);
    EXPECT_STREQ(back.message, "a b");
    EXPECT_STREQ(back.notes, "one\r\ntwo\r\nthree\r\n");
}

TEST_F(EventsFileTest, ParsesEveryVersion) {
    char v141[] = "07-May-2011 00N 005 001 Dentist\x1E" "Bring card\x1E\x1ERoom 4\r\n";
    IsSkippableLine(v141);
    Duty d = *ParseDutyLine(v141, 7, kVersion141);
    ExpectSameRecord(d, MakeDuty(7, 5, 2011, false, 5, 1, "Dentist", "Bring card\r\nRoom 4"));
    EXPECT_EQ(d.line, 7);
    EXPECT_EQ(d.daysLeft, 0);

    char v140[] = "07-May-2011 00n 05 01 Dentist";
    d = *ParseDutyLine(v140, 3, kVersion140);
    ExpectSameRecord(d, MakeDuty(7, 5, 2011, false, 5, 1, "Dentist"));
    EXPECT_EQ(d.repeatMark, 'N');

    // Older files have no year: every event is yearly, in the current year.
    for (int version : {kVersion130, kVersion120}) {
        char v130[] = "15-mar 03 01 Call Anna";
        d = *ParseDutyLine(v130, 4, version);
        ExpectSameRecord(d, MakeDuty(15, 3, 2010, true, 3, 1, "Call Anna"));
    }

    // The 1.41 mark is taken as it stands.
    char lower[] = "07-May-2011 00n 005 001 Dentist";
    EXPECT_EQ(ParseDutyLine(lower, 3, kVersion141)->repeatMark, 'n');
}

TEST_F(EventsFileTest, ReaderNormalisesWhitespace) {
    Duty d = MakeDuty(2, 2, 2010, true, 0, 0, "a  b", "x\t\ty  \r\nz   ");
    Duty back = ReadBack(FormatDutyLine(d), 2);
    EXPECT_STREQ(back.message, "a b");
    EXPECT_STREQ(back.notes, "x y \r\nz");
}

TEST_F(EventsFileTest, NotesMarksPairLeftToRight) {
    char line[] = "01-Jan-2010 01Y 000 000 m\x1E" "a\x1E\x1E\x1E" "b\x1E";
    Duty d = *ParseDutyLine(line, 2, kVersion141);
    EXPECT_STREQ(d.message, "m");
    EXPECT_STREQ(d.notes, "a\r\n\x1E" "b\x1E");
}

// Every record a writer can produce comes back unchanged.
TEST_F(EventsFileTest, RoundTripOfGeneratedRecords) {
    std::mt19937 random(20101118);
    const char* words[] = {"a", "Zażółć", "gęślą", "jaźń", "$Age{1968}", "\\$x", "100%", "\"q\"", "x;y", "ŚĆ"};
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    for (int i = 0; i < 2000; ++i) {
        int month = 1 + pick(12);
        bool yearly = pick(2) == 0;
        std::string message;
        while (message.size() < 140 && (message.empty() || pick(4) != 0)) {
            if (!message.empty()) message += ' ';
            message += words[pick(10)];
        }
        std::string notes;
        int parts = pick(3) == 0 ? 0 : pick(40);
        for (int p = 0; p < parts && notes.size() < 4000; ++p) {
            notes += words[pick(10)];
            int sep = pick(4);
            if (p + 1 < parts) notes += sep == 0 ? "\r\n" : sep == 1 ? " \r\n" : " ";
        }
        if (pick(10) == 0) notes += "\r\n";
        Duty d = MakeDuty(1 + pick(DaysInMonth(month)), month, pick(10000), yearly, pick(1000), pick(1000),
                          message.c_str(), notes.c_str());
        Duty back = ReadBack(FormatDutyLine(d), i + 2);
        SCOPED_TRACE(FormatDutyLine(d));
        ExpectSameRecord(back, d);
        if (HasFailure()) break;
    }
}

TEST_F(EventsFileTest, ShortAndDamagedLinesParseSafely) {
    const char* lines[] = {"", "1", "15-", "15-Mar", "15-Mar-2010", "15-Mar-2010 01Y 0", "xx-Xyz-abcd 0",
                           "\x1E\x1E\x1E", "15-Mar-2010 01Y 000 000", "\xFF\xFE\x80\x80 \x80"};
    for (const char* text : lines) {
        for (int version : {kVersion141, kVersion140, kVersion130, kVersion120}) {
            char line[64];
            std::snprintf(line, sizeof line, "%s", text);
            Duty* d = ParseDutyLine(line, 9, version);
            EXPECT_LT(std::strlen(d->message), sizeof d->message);
            EXPECT_EQ(d->line, 9);
        }
    }
    char noMonth[] = "15-Xyz-2010 01Y 000 000 m";
    EXPECT_EQ(ParseDutyLine(noMonth, 2, kVersion141)->month, 0);
    char shortLine[] = "15-Mar";
    Duty* d = ParseDutyLine(shortLine, 2, kVersion141);
    EXPECT_EQ(d->day, 15);
    EXPECT_EQ(d->month, 3);
    EXPECT_EQ(d->year, 0);
    EXPECT_STREQ(d->message, "");
    EXPECT_STREQ(d->notes, "");
}

TEST_F(EventsFileTest, OverlongTextsAreCutAtCharacterBoundaries) {
    std::string message(149, 'm');
    message += "ś";  // bytes 150 and 151: it no longer fits
    message += "tail";
    std::string notes(4095, 'n');
    notes += "ż";
    std::string line = "01-Jan-2010 01Y 000 000 " + message + "\x1E" + notes;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    Duty* d = ParseDutyLine(buffer.data(), 2, kVersion141);
    EXPECT_EQ(std::string(d->message), std::string(149, 'm'));
    EXPECT_EQ(std::string(d->notes), std::string(4095, 'n'));

    // A line break in the notes is never cut in half either.
    std::string pairs = std::string(4095, 'p') + "\x1E\x1E" + "q";
    line = "01-Jan-2010 01Y 000 000 m\x1E" + pairs;
    buffer.assign(line.begin(), line.end());
    buffer.push_back('\0');
    d = ParseDutyLine(buffer.data(), 2, kVersion141);
    EXPECT_EQ(std::string(d->notes), std::string(4095, 'p'));

    // Bytes that are not UTF-8 are cut at the limit rather than dropped.
    std::string junk(300, '\x80');
    line = "01-Jan-2010 01Y 000 000 " + junk;
    buffer.assign(line.begin(), line.end());
    buffer.push_back('\0');
    d = ParseDutyLine(buffer.data(), 2, kVersion141);
    EXPECT_EQ(std::strlen(d->message), 150u);
}

TEST_F(EventsFileTest, ValidateChecksLayoutThenDate) {
    // Good lines pass without a word.
    char good[] = "29-Feb-2011 00N 000 000 x";
    EXPECT_EQ(ValidateDutyLine(good, 4, kVersion141), 1);
    char good140[] = "07-May-2011 00n 05 01 Dentist";
    EXPECT_EQ(ValidateDutyLine(good140, 4, kVersion140), 1);
    char good130[] = "15-mar 03 01 Call Anna";
    EXPECT_EQ(ValidateDutyLine(good130, 4, kVersion130), 1);
    EXPECT_TRUE(fake.boxes.empty());

    // A broken layout stops reading.
    const char* broken[] = {"15-Mar-2010 01Y 000 00", "15/Mar-2010 01Y 000 000 x", "15-Mar/2010 01Y 000 000 x",
                            "15-Mar-2010.01Y 000 000 x", "15-Mar-2010 01Y 0000000 x", ""};
    for (const char* text : broken) {
        ResetFakePlatform();
        char line[64];
        std::snprintf(line, sizeof line, "%s", text);
        EXPECT_EQ(ValidateDutyLine(line, 12, kVersion141), -1) << text;
        ASSERT_EQ(fake.boxes.size(), 1u) << text;
        EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 12 )");
        EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
        EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconError);
    }
    ResetFakePlatform();
    char old[] = "15-Mar-2010 01Y 000 000 x";
    EXPECT_EQ(ValidateDutyLine(old, 2, kVersion130), -1) << "a 1.41 line is not a 1.30 line";
}

TEST_F(EventsFileTest, ImpossibleDatesAskToSkip) {
    struct Case {
        const char* line;
        const char* problem;
    } cases[] = {
        {"31-Apr-2011 01Y 000 000 x", "Invalid date in line 5:  Kwiecień does not have 31 days!"},
        {"00-Apr-2011 01Y 000 000 x", "Error reading data file!\n( illegal day number in line 5 )"},
        {"32-Jan-2011 01Y 000 000 x", "Error reading data file!\n( illegal day number in line 5 )"},
        {"12-Abc-2011 01Y 000 000 x", "Error reading the data file!\n( illegal month name in line 5 )"},
    };
    for (const Case& c : cases) {
        for (int answer : {kAnswerYes, kAnswerNo}) {
            ResetFakePlatform();
            fake.answers.push_back(answer);
            char line[64];
            std::snprintf(line, sizeof line, "%s", c.line);
            EXPECT_EQ(ValidateDutyLine(line, 5, kVersion141), answer == kAnswerYes ? -2 : -1) << c.line;
            ASSERT_EQ(fake.boxes.size(), 1u);
            EXPECT_EQ(fake.boxes[0].text,
                      std::string(c.problem) + "\n\nDo you want to ignore this line and continue reading the file?");
            EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
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
    std::string bytes = ReadFileBytes("header");
    EXPECT_EQ(bytes.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n;", 0), 0u);
    size_t lines = 0;
    for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) {
        ++lines;
        if (at + 2 < bytes.size()) {
            EXPECT_EQ(bytes[at + 2], ';');
        }
    }
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    struct Case {
        const char* first;
        int version;
    } cases[] = {
        {";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n", kVersion141},
        {";made by 1.40\n", kVersion140},
        {"; 1.30 and 1.41\n", kVersion141},
        {"; v1.30\n", kVersion130},
        {"; v1.35\n", kVersion130},
        {"; v1.2\n", kVersion120},
        {"; v1.20", kVersion120},
    };
    for (const Case& c : cases) {
        WriteFileBytes("events", std::string(c.first) + "second line\r\n");
        FILE* in = std::fopen("events", "rb");
        ASSERT_NE(in, nullptr);
        std::fgetc(in);  // the version is read from the start whatever the position
        EXPECT_EQ(ReadFileVersion(in), c.version) << c.first;
        char next[64] = "";
        if (std::strchr(c.first, '\n')) {
            ASSERT_NE(std::fgets(next, sizeof next, in), nullptr);
            EXPECT_STREQ(next, "second line\r\n");
        }
        std::fclose(in);
    }
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.quitRequests, 0);
}

TEST_F(EventsFileTest, UnrecognisedVersionIsFatal) {
    ScratchDir dir;
    const std::string contents[] = {"; my file\r\n15-Mar-2010 01Y 000 000 x\r\n", "", std::string("\0 1.41\r\n", 8)};
    for (const std::string& content : contents) {
        ResetFakePlatform();
        WriteFileBytes("events", content);
        FILE* in = std::fopen("events", "rb");
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(ReadFileVersion(in), 0);
        std::fclose(in);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, "Fatal error reading data file (invalid format)!\n( at line 1 )");
        EXPECT_EQ(fake.boxes[0].caption, "Quillbee 1.41");
        EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconError);
        EXPECT_EQ(fake.quitRequests, 1);
    }
}

TEST_F(EventsFileTest, NumericColumnsReadAsStrtolReadsThem) {
    // Each field is converted from exactly its columns: whitespace, a sign,
    // digits, and anything after them ignored.
    const char alphabet[] = "0123456789  +-x\t";
    const struct {
        int column, width;
        int32_t Duty::*field;
    } fields[] = {{0, 2, &Duty::day},       {7, 4, &Duty::year},      {12, 2, &Duty::yearly},
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
