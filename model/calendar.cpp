#include "model/calendar.h"

#include <cstdint>
#include <cstring>

#include "app/load_str.h"
#include "app/state.h"
#include "model/day_number.h"

namespace {

constexpr bool SumsDiffer() {
    for (int a = 1; a <= 12; ++a) {
        for (int b = a + 1; b <= 12; ++b) {
            const char* x = kMonthCodeLetters + 3 * (a - 1);
            const char* y = kMonthCodeLetters + 3 * (b - 1);
            if (LetterSum(x[1], x[2]) == LetterSum(y[1], y[2])) return false;
        }
    }
    return true;
}
static_assert(SumsDiffer(), "each month code must have a sum of its own");

// Weekday numbers of the C library (0 Sunday) to string ids.
const int kWeekdayShortIds[7] = {4117, 4111, 4112, 4113, 4114, 4115, 4116};

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlankByte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == 32 || (u >= 9 && u <= 13);
}

constexpr uint64_t kEveryByte = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;
constexpr uint64_t kLowBits = 0x7F7F7F7F7F7F7F7Full;

// The high bit of every byte of `x` below 33: whitespace, other control bytes
// and the terminator. Bytes of 128 and above are never below it. Each byte is
// judged on its own: no sum carries into the next byte.
uint64_t BytesBelow33(uint64_t x) { return ~(((x & kLowBits) + (0x80 - 33) * kEveryByte) | x) & kHighBits; }

// The high bit of every byte of `x` that is a blank.
uint64_t BlankBytes(uint64_t x) {
    const uint64_t z = x ^ (' ' * kEveryByte);
    return ~(((z & kLowBits) + kLowBits) | z) & kHighBits;
}

// How many of the first `length` bytes of `text` stand as they would after
// collapsing: no whitespace at the start, no whitespace but single blanks
// followed by a printable byte. Eight bytes are judged at a time; most lines
// need nothing but their line end removed.
size_t CollapsedPrefix(const char* text, size_t length) {
    if (length == 0 || IsBlankByte(text[0])) return 0;
    size_t done = 0;
    while (done + 9 <= length) {
        uint64_t bytes, following;
        std::memcpy(&bytes, text + done, 8);
        std::memcpy(&following, text + done + 1, 8);
        const uint64_t low = BytesBelow33(bytes);
        const uint64_t blanks = BlankBytes(bytes);
        if ((low & ~blanks) != 0 || (blanks & BytesBelow33(following)) != 0) break;
        done += 8;
    }
    return done;
}

// Collapses `text` of `length` bytes in place: every run of whitespace one
// blank, none at either end. The result never gets ahead of the text it
// comes from.
void CollapseInPlace(char* text, size_t length) {
    size_t used = CollapsedPrefix(text, length);
    bool pendingBlank = false;
    for (const char* in = text + used; *in; ++in) {
        if (IsBlankByte(*in)) {
            pendingBlank = used != 0;
            continue;
        }
        if (pendingBlank) text[used++] = ' ';
        pendingBlank = false;
        text[used++] = *in;
    }
    text[used] = '\0';
}

bool IsSkippableText(const char* normalised) { return normalised[0] == '\0' || normalised[0] == ';'; }

void UpperCaseInPlace(char* text) {
    for (; *text; ++text) *text = ToUpperAscii(*text);
}

}  // namespace

const char* MonthCode(int month) {
    static char code[4];
    if (month < 1 || month > 12) return nullptr;
    const char* letters = kMonthCodeLetters + 3 * (month - 1);
    code[0] = letters[0];
    code[1] = ToLowerAscii(letters[1]);
    code[2] = ToLowerAscii(letters[2]);
    code[3] = '\0';
    return code;
}

int MonthFromCode(const char* text) {
    // A code has three letters: a text that ends before its third character
    // matches none, and is not read beyond its end.
    if (text[0] == '\0' || text[1] == '\0' || text[2] == '\0') return 0;
    return MonthFromCodeBytes(text);
}

const char* MonthLongName(int month) {
    if (month < 1 || month > 12) return nullptr;
    return LoadStr(4000 + month);
}

const char* MonthShortName(int month) {
    if (month < 1 || month > 12) return nullptr;
    return LoadStr(4020 + month);
}

int MonthFromShortName(char* text) {
    UpperCaseInPlace(text);
    for (int month = 1; month <= 12; ++month) {
        char name[64];
        CopyText(name, LoadStr(4020 + month), sizeof name);
        UpperCaseInPlace(name);
        if (std::strcmp(name, text) == 0) return month;
    }
    return 0;
}

const char* WeekdayShortName(int daysLeft) {
    static char name[64];
    // Counted in calendar days: whole days of seconds from a time near
    // midnight would land on the wrong day across a daylight-saving change.
    int weekday = WeekdayOfDayNumber(DayNumber(LocalToday()) + daysLeft);
    CopyText(name, LoadStr(kWeekdayShortIds[weekday]), sizeof name);
    return name;
}

int DaysInMonth(int month) {
    if (month < 1 || month > 12) return 0;
    return kDaysInMonth[month - 1];
}

char* CollapseSpaces(char* text) {
    if (text == nullptr) return nullptr;
    CollapseInPlace(text, std::strlen(text));
    return text;
}

bool IsSkippableLine(char* line) {
    CollapseSpaces(line);
    return IsSkippableText(line);
}

size_t NormaliseLineBreaks(char* dest, size_t size, const char* text) {
    if (size == 0) return 0;
    const size_t limit = size - 1;
    size_t out = 0;
    for (size_t i = 0; text[i] != '\0';) {
        const bool lineBreak = text[i] == '\r' || text[i] == '\n';
        if (out + (lineBreak ? 2 : 1) > limit) {
            // The first byte left out tells whether the last character is whole.
            if (!lineBreak) {
                dest[out] = text[i];
                out = CharBoundary(dest, static_cast<unsigned>(out + 1), static_cast<unsigned>(out));
            }
            break;
        }
        if (lineBreak) {
            dest[out++] = '\r';
            dest[out++] = '\n';
            i += (text[i] == '\r' && text[i + 1] == '\n') ? 2 : 1;
        } else {
            dest[out++] = text[i++];
        }
    }
    dest[out] = '\0';
    return out;
}
