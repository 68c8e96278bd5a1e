#include "storage/events_file.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"

namespace {

constexpr char kNotesMark = 30;  // separates message and notes, and stands for line breaks

struct Layout {
    int yearColumn;  // -1: the version has no year and no recurrence
    int beforeColumn;
    int beforeWidth;
    int afterColumn;
    int afterWidth;
    int messageColumn;
};

const Layout kLayout141 = {7, 16, 3, 20, 3, 24};
const Layout kLayout140 = {7, 16, 2, 19, 2, 22};
const Layout kLayout130 = {-1, 7, 2, 10, 2, 13};

const Layout& LayoutOf(int version) {
    if (version == kVersion140) return kLayout140;
    if (version == kVersion130 || version == kVersion120) return kLayout130;
    return kLayout141;
}

bool IsBlankByte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == 32 || (u >= 9 && u <= 13);
}

// The decimal value of columns [start, start + width) of the line; columns
// beyond its end count as absent, and no digit gives 0.
// The field is read as strtol reads it (leading whitespace, a sign, then
// digits), without copying it: every line of every rebuild comes through here.
// Fields are at most four columns wide, so the value cannot overflow.
int ColumnNumber(const char* line, size_t length, int start, int width) {
    if (static_cast<size_t>(start) >= length) return 0;
    size_t end = static_cast<size_t>(start) + static_cast<size_t>(width);
    if (end > length) end = length;
    size_t i = static_cast<size_t>(start);
    while (i < end && IsBlankByte(line[i])) ++i;
    bool negative = false;
    if (i < end && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < end && line[i] >= '0' && line[i] <= '9'; ++i) value = value * 10 + (line[i] - '0');
    return negative ? -value : value;
}

// Columns 0-1 and the month code at column 3, alike in every version.
void ReadDate(const char* line, size_t length, int32_t* day, int32_t* month) {
    *day = ColumnNumber(line, length, 0, 2);
    *month = length > 3 ? MonthFromCode(line + 3) : 0;
}

char ColumnChar(const char* line, size_t length, int column) {
    return static_cast<size_t>(column) < length ? line[column] : '\0';
}

bool ColumnIsBlank(const char* line, size_t length, int column) {
    return static_cast<size_t>(column) < length && IsBlankByte(line[column]);
}

bool ColumnIsDash(const char* line, size_t length, int column) {
    return static_cast<size_t>(column) < length && line[column] == '-';
}

int CurrentYear() {
    time_t now = PlatformNow();
    struct tm* local = std::localtime(&now);
    return local ? local->tm_year + 1900 : 1970;
}

// Copies the notes part, turning each pair of marks back into CR LF, and cuts
// it to the record's size without splitting a character.
void ReadNotes(const char* text, char* notes) {
    const size_t limit = kNotesSize - 1;
    size_t out = 0;
    size_t i = 0;
    bool cut = false;
    while (text[i] != '\0') {
        bool pair = text[i] == kNotesMark && text[i + 1] == kNotesMark;
        size_t need = pair ? 2 : 1;
        if (out + need > limit) {
            cut = true;
            break;
        }
        if (pair) {
            notes[out++] = '\r';
            notes[out++] = '\n';
        } else {
            notes[out++] = text[i];
        }
        i += need;
    }
    if (cut) {
        notes[out] = text[i];  // the first byte left out decides where a character starts
        out = CharBoundary(notes, static_cast<unsigned>(out + 1), static_cast<unsigned>(out));
    }
    notes[out] = '\0';
}

void ShowDataFileError(int lineNumber) {
    char text[1024];
    std::snprintf(text, sizeof text, LoadStr(2040), lineNumber);
    PlatformMessageBox(text, kProgramTitle, kBoxOk | kBoxIconError);
}

// Asks whether to skip a line with an impossible date; -2 skip, -1 stop.
int AskToSkipLine(const char* problem) {
    char text[2048];
    std::snprintf(text, sizeof text, "%s\n\n%s", problem, LoadStr(2030));
    int answer = PlatformMessageBox(text, kProgramTitle, kBoxYesNo | kBoxIconWarning);
    return answer == kAnswerYes ? -2 : -1;
}

// Appends `text` to `out` with every CR LF pair, and any lone CR or LF, as a
// pair of marks: a stored line must never break.
size_t AppendNotes(char* out, size_t used, size_t size, const char* text) {
    size_t n = strnlen(text, kNotesSize - 1);
    for (size_t i = 0; i < n && used + 2 < size; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out[used++] = kNotesMark;
            out[used++] = kNotesMark;
            if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            continue;
        }
        out[used++] = text[i];
    }
    out[used] = '\0';
    return used;
}

}  // namespace

int WriteFileHeader(FILE* file) {
    char title[256];
    std::snprintf(title, sizeof title, LoadStr(1260), kProgramTitle);
    char header[768];
    int length = std::snprintf(header, sizeof header,
                               ";%s\r\n"
                               ";Quillbee is made by its authors and given away free of charge.\r\n"
                               ";%s\r\n",
                               title, kProductAddress);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof header) return 0;
    return PlatformWrite(file, header, static_cast<size_t>(length)) == static_cast<size_t>(length) ? 1 : 0;
}

int VersionOfLine(const char* line) {
    if (std::strstr(line, "1.41")) return kVersion141;
    if (std::strstr(line, "1.40")) return kVersion140;
    if (std::strstr(line, "1.30")) return kVersion130;
    if (std::strstr(line, "1.3")) return kVersion130;
    if (std::strstr(line, "1.2")) return kVersion120;
    return 0;
}

bool ReadOneLine(FILE* in, char* buffer, int size) {
    if (!std::fgets(buffer, size, in)) return false;
    size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] != '\n') {
        int c;
        while ((c = std::fgetc(in)) != EOF && c != '\n') {
        }
    }
    return true;
}

int ReadFileVersion(FILE* file) {
    static char line[kLineBufferSize];
    std::rewind(file);
    // What does not fit in the buffer is no line of its own, so the next
    // reader starts at line 2 as counted by line ends.
    if (ReadOneLine(file, line, sizeof line)) {
        const int version = VersionOfLine(line);
        if (version != 0) return version;
    }
    ShowDataFileError(1);
    PlatformQuit(0);
    return 0;
}

const char* FormatDutyLine(const Duty& duty) {
    static char line[24 + kMessageSize + 1 + 2 * kNotesSize + 64];
    const char* code = MonthCode(duty.month);
    char message[kMessageSize];
    size_t m = strnlen(duty.message, kMessageSize - 1);
    std::memcpy(message, duty.message, m);
    message[m] = '\0';
    // A line break or a mark in the message would split the stored line.
    for (size_t i = 0; i < m; ++i) {
        if (message[i] == '\r' || message[i] == '\n' || message[i] == kNotesMark) message[i] = ' ';
    }
    // A mark that is not a visible character (a NUL would end the line early)
    // is written as the one that fits the recurrence.
    char mark = static_cast<char>(duty.repeatMark);
    if (duty.repeatMark <= ' ' || duty.repeatMark > '~') mark = duty.yearly ? 'Y' : 'N';
    int used = std::snprintf(line, sizeof line, "%02d%c%s%c%04d %02d%c %03d %03d %s", duty.day, '-',
                             code ? code : "???", '-', duty.year, duty.yearly, mark, duty.warnBefore,
                             duty.warnAfter, message);
    size_t n = used < 0 ? 0 : static_cast<size_t>(used);
    if (n >= sizeof line - 3) n = sizeof line - 3;
    if (duty.notes[0] != '\0') {
        line[n++] = kNotesMark;
        n = AppendNotes(line, n, sizeof line - 2, duty.notes);
    }
    line[n++] = '\r';
    line[n++] = '\n';
    line[n] = '\0';
    return line;
}

Duty* ParseDutyLine(const char* line, int lineNumber, int version) {
    static Duty duty;
    const size_t length = std::strlen(line);
    const Layout& layout = LayoutOf(version);

    duty.line = lineNumber;
    duty.daysLeft = 0;
    ReadDate(line, length, &duty.day, &duty.month);
    if (layout.yearColumn < 0) {
        duty.year = CurrentYear();
        duty.yearly = 1;
        duty.repeatMark = 'Y';
    } else {
        duty.year = ColumnNumber(line, length, layout.yearColumn, 4);
        duty.yearly = ColumnNumber(line, length, 12, 2);
        char mark = ColumnChar(line, length, 14);
        if (version == kVersion140 && mark >= 'a' && mark <= 'z') mark = static_cast<char>(mark - 'a' + 'A');
        duty.repeatMark = mark;
    }
    duty.warnBefore = ColumnNumber(line, length, layout.beforeColumn, layout.beforeWidth);
    duty.warnAfter = ColumnNumber(line, length, layout.afterColumn, layout.afterWidth);

    ParseDutyText(line, length, version, &duty);
    return &duty;
}

DutyText SplitDutyText(const char* line, size_t length, int version) {
    const size_t column = static_cast<size_t>(LayoutOf(version).messageColumn);
    const char* text = column < length ? line + column : "";
    const size_t textLength = column < length ? length - column : 0;
    const char* mark = static_cast<const char*>(std::memchr(text, kNotesMark, textLength));
    const size_t messageLength = mark ? static_cast<size_t>(mark - text) : textLength;
    return {text, messageLength, CharBoundary(text, static_cast<unsigned>(messageLength), kMessageSize - 1),
            mark ? mark + 1 : nullptr};
}

void ParseDutyText(const char* line, size_t length, int version, Duty* duty) {
    const DutyText text = SplitDutyText(line, length, version);
    std::memcpy(duty->message, text.message, text.kept);
    duty->message[text.kept] = '\0';
    if (text.notes) {
        ReadNotes(text.notes, duty->notes);
    } else {
        duty->notes[0] = '\0';
    }
}

int DutyLineProblem(const char* line, int lineNumber, int version, char* text, size_t size) {
    const size_t length = std::strlen(line);
    bool layoutOk;
    if (version == kVersion130 || version == kVersion120) {
        layoutOk = ColumnIsDash(line, length, 2) && ColumnIsBlank(line, length, 6) &&
                   ColumnIsBlank(line, length, 9) && ColumnIsBlank(line, length, 12);
    } else if (version == kVersion140) {
        layoutOk = ColumnIsDash(line, length, 2) && ColumnIsDash(line, length, 6) &&
                   ColumnIsBlank(line, length, 11) && ColumnIsBlank(line, length, 15) &&
                   ColumnIsBlank(line, length, 18) && ColumnIsBlank(line, length, 21);
    } else {
        layoutOk = ColumnIsDash(line, length, 2) && ColumnIsDash(line, length, 6) &&
                   ColumnIsBlank(line, length, 11) && ColumnIsBlank(line, length, 15) &&
                   ColumnIsBlank(line, length, 19) && ColumnIsBlank(line, length, 23);
    }
    if (!layoutOk) {
        std::snprintf(text, size, LoadStr(2040), lineNumber);
        return kBrokenLayout;
    }

    // The date as ParseDutyLine reads it; the rest of the line is not needed
    // here, and the due list parses every line after this check anyway.
    int day, month;
    ReadDate(line, length, &day, &month);
    if (day < 1 || day > 31) {
        std::snprintf(text, size, LoadStr(2050), lineNumber);
    } else if (month == 0) {
        std::snprintf(text, size, LoadStr(2060), lineNumber);
    } else if (day > DaysInMonth(month)) {
        std::snprintf(text, size, LoadStr(2070), lineNumber, MonthLongName(month), day);
    } else {
        if (size > 0) text[0] = '\0';
        return kLineSound;
    }
    return kImpossibleDate;
}

int ValidateDutyLine(const char* line, int lineNumber, int version) {
    char problem[1024];
    switch (DutyLineProblem(line, lineNumber, version, problem, sizeof problem)) {
        case kBrokenLayout:
            PlatformMessageBox(problem, kProgramTitle, kBoxOk | kBoxIconError);
            return -1;
        case kImpossibleDate:
            return AskToSkipLine(problem);
        default:
            return 1;
    }
}
