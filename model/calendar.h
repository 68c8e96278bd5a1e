// Month and weekday names, month lengths and the line normalisation shared
// by every reader of the events file.
#pragma once

#include <cstddef>
#include <cstdint>

// The month codes of the events file, January to December, English whatever
// the interface language.
constexpr char kMonthCodeLetters[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";

// "Jan" to "Dec" for 1 to 12 (one static buffer), null otherwise.
const char* MonthCode(int month);
// 1 to 12 for a text whose first three characters name a month in any case, else 0.
int MonthFromCode(const char* text);

// The month whose code has the lower-cased letters b and c in second and
// third place, found by their sum, which differs for every code (0 where no
// code has that sum); and each month's code lower-cased, in the bytes of a
// number.
struct MonthsBySum {
    signed char month[64];
    uint32_t code[13];  // code[0] matches no three bytes
};

constexpr uint32_t LowerCased(char c) { return static_cast<unsigned char>(c) | 0x20u; }

constexpr int LetterSum(char b, char c) { return static_cast<int>((LowerCased(b) + LowerCased(c)) & 63); }

constexpr uint32_t CodeKey(const char* text) {
    return LowerCased(text[0]) | LowerCased(text[1]) << 8 | LowerCased(text[2]) << 16;
}

constexpr MonthsBySum IndexMonthsBySum() {
    MonthsBySum index = {};
    index.code[0] = ~0u;
    for (int month = 1; month <= 12; ++month) {
        const char* code = kMonthCodeLetters + 3 * (month - 1);
        index.month[LetterSum(code[1], code[2])] = static_cast<signed char>(month);
        index.code[month] = CodeKey(code);
    }
    return index;
}

inline constexpr MonthsBySum kMonthsBySum = IndexMonthsBySum();

// MonthFromCode for a text whose first three bytes are known to be readable;
// a terminator among them matches no month. Inline, as every line of every
// list build comes here. Setting bit 5 lower-cases a letter and makes no
// other byte a letter, so the text lower-cased equals a code lower-cased
// exactly when it is that code in any mix of case.
inline int MonthFromCodeBytes(const char* text) {
    const int month = kMonthsBySum.month[LetterSum(text[1], text[2])];
    return CodeKey(text) == kMonthsBySum.code[month] ? month : 0;
}
// Localized names from the string table; null outside 1 to 12.
const char* MonthLongName(int month);
const char* MonthShortName(int month);
// Upper-cases `text` in place and returns the month whose localized short
// name it equals, or 0.
int MonthFromShortName(char* text);
// The localized short weekday of the day `daysLeft` days from now (one static buffer).
const char* WeekdayShortName(int daysLeft);
// The greatest legal day of each month, January to December.
inline constexpr int kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// The greatest legal day of `month` (29 for February); 0 outside 1 to 12.
int DaysInMonth(int month);
// Turns every run of whitespace (bytes 9 to 13 and 32) into one blank and
// trims both ends, in place. Returns `text`; null gives null.
char* CollapseSpaces(char* text);
// Normalises `line` in place and tells whether it is blank or a comment.
bool IsSkippableLine(char* line);
// Copies `text` into `dest` (of `size` bytes, always terminated) with every
// line break, CR LF or a lone CR or LF, written as CR LF, the only break the
// events file keeps. What does not fit is cut at a character boundary and
// never between CR and LF. Returns the length written.
size_t NormaliseLineBreaks(char* dest, size_t size, const char* text);
