// The fast way through event lines as this version writes them, inline as
// the due list judges nearly every line of the file this way. The general
// way, which this one must agree with, is in events_file.h.
#pragma once

#include <cstdint>
#include <cstring>

#include "model/calendar.h"
#include "model/duty.h"
#include "storage/events_file.h"

// The first columns of a version 1.41 line as FormatDutyLine writes them:
// '9' stands for a digit, 'a' for a byte from 'A' to 'z' (the month code,
// whose letters are judged apart), '!' for a byte that normalisation neither
// drops nor changes (the mark, and the first byte of the message); dashes and
// blanks stand for themselves. None of them is a line end or a terminator.
// The fields end at column 23.
inline constexpr char kWrittenColumns[] = "99-aaa-9999 99! 999 999 !";
inline constexpr int kWrittenWidth = 24;
static_assert(sizeof kWrittenColumns == kWrittenWidth + 2, "the fields of version 1.41 end at column 23");

// The columns are judged 32 bytes at once, as two vectors of 16 bytes (GCC and
// Clang give every target of this program such vectors): each byte must lie
// between the least and the greatest its column allows.
typedef unsigned char SixteenBytes __attribute__((vector_size(16)));
inline constexpr int kJudgedWidth = 32;

struct ColumnBounds {
    unsigned char least[kJudgedWidth];
    unsigned char most[kJudgedWidth];
};

constexpr ColumnBounds BoundsOf(const char* columns) {
    ColumnBounds bounds = {};
    for (int i = 0; i < kJudgedWidth; ++i) {
        unsigned char least = 0, most = 0xFF;  // the columns after these may hold anything
        if (i <= kWrittenWidth) {
            switch (columns[i]) {
                case '9':
                    least = '0';
                    most = '9';
                    break;
                case 'a':
                    least = 'A';
                    most = 'z';
                    break;
                case '!':
                    least = ' ' + 1;
                    break;
                default:
                    least = most = static_cast<unsigned char>(columns[i]);
            }
        }
        bounds.least[i] = least;
        bounds.most[i] = most;
    }
    return bounds;
}

inline constexpr ColumnBounds kWrittenBounds = BoundsOf(kWrittenColumns);

inline SixteenBytes Sixteen(const void* bytes) {
    SixteenBytes vector;
    std::memcpy(&vector, bytes, sizeof vector);
    return vector;
}

inline uint64_t EightBytes(const void* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Whether the first 25 bytes of `line` are bytes that `bounds` allow; 32
// bytes are read.
inline bool HasColumns(const char* line, const ColumnBounds& bounds) {
    const SixteenBytes first = Sixteen(line);
    const SixteenBytes second = Sixteen(line + 16);
    const SixteenBytes inside = (first >= Sixteen(bounds.least)) & (first <= Sixteen(bounds.most)) &
                                (second >= Sixteen(bounds.least + 16)) &
                                (second <= Sixteen(bounds.most + 16));
    unsigned char verdicts[sizeof inside];  // 0xFF for each byte inside its bounds
    std::memcpy(verdicts, &inside, sizeof verdicts);
    return (EightBytes(verdicts) & EightBytes(verdicts + 8)) == ~0ull;
}

// Whether the first 25 bytes of `line` are bytes kWrittenColumns allows; a
// terminator or a line end among them fails.
inline bool HasWrittenColumns(const char* line) { return HasColumns(line, kWrittenBounds); }

// The value of the `width` digits from column `start` on. A template, so
// that each field's few digits are read without a loop.
template <int start, int width>
inline int DigitsValue(const char* line) {
    int value = 0;
    for (int i = start; i < start + width; ++i) value = value * 10 + (line[i] - '0');
    return value;
}

// The month of the code at column 3 of a line with the written columns,
// found from the code and the dash after it as one word of four bytes,
// lower-cased: a multiplication puts each of the twelve words in a slot of
// its own among sixteen, by the top four bits, and the slot holds its word to
// tell it from any other. It agrees with MonthFromCodeBytes(line + 3), in
// fewer steps.
inline constexpr uint32_t kMonthSlotFactor = 0x44B75;

// The word of `text` as it lies in memory, as std::memcpy reads it.
constexpr uint32_t WordOf(const char* text) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        word |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * (3 - i));
#else
        word |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * i);
#endif
    }
    return word;
}

constexpr unsigned MonthSlot(uint32_t word) { return (word * kMonthSlotFactor) >> 28; }

struct MonthSlots {
    uint32_t word[16];  // 0 in a slot of no month, and 0 is no word of a line
    signed char month[16];
};

constexpr MonthSlots SlotsOfMonths() {
    MonthSlots slots = {};
    for (int month = 1; month <= 12; ++month) {
        const char* code = kMonthCodeLetters + 3 * (month - 1);
        const char text[4] = {code[0], code[1], code[2], '-'};
        const uint32_t word = WordOf(text) | 0x20202020u;
        slots.word[MonthSlot(word)] = word;
        slots.month[MonthSlot(word)] = static_cast<signed char>(month);
    }
    return slots;
}

inline constexpr MonthSlots kMonthSlots = SlotsOfMonths();

constexpr bool EachMonthHasASlot() {
    for (int month = 1; month <= 12; ++month) {
        bool found = false;
        for (signed char slotMonth : kMonthSlots.month) found = found || slotMonth == month;
        if (!found) return false;
    }
    return true;
}
static_assert(EachMonthHasASlot(), "the factor must give each month's word a slot of its own");

inline int WrittenMonth(const char* line) {
    uint32_t word;
    std::memcpy(&word, line + 3, sizeof word);
    word |= 0x20202020u;  // lower-cases letters; a dash stays a dash
    const unsigned slot = MonthSlot(word);
    return kMonthSlots.word[slot] == word ? kMonthSlots.month[slot] : 0;
}

// The fast way through lines as this version writes them, in two steps.
// First: when the first columns of a version 1.41 `line`, as read from the
// file, stand exactly as FormatDutyLine puts them (digits, dashes and single
// blanks, a message begun) and hold a valid date, stores the date and
// returns true: such a line is never skipped and always passes
// ValidateDutyLine. Returns false for any other line. Its first 32 bytes are
// read even when the line is shorter, so it must lie in a buffer at least
// that long, as the readers' line buffers are.
inline bool ReadWrittenDate(const char* line, int version, int* day, int* month) {
    // Files of older versions are rewritten in the current one at start-up;
    // their lines go the general way.
    if (version != kVersion141) return false;
    // A terminator or a line end fails the check of any column it stands in,
    // so a short line is turned away whatever bytes follow its end. Each
    // blank is followed by a visible byte, so normalising would change none
    // of these columns.
    if (!HasWrittenColumns(line)) return false;
    *day = DigitsValue<0, 2>(line);
    *month = MonthFromCodeBytes(line + 3);
    return *month != 0 && *day >= 1 && *day <= kDaysInMonth[*month - 1];
}

// Then, for a line that ReadWrittenDate took: fills every field of `fields`
// but `message`, `notes` and `next` as ParseDutyLine would from the
// normalised line.
inline void ReadWrittenFields(const char* line, int lineNumber, int day, int month, Duty* fields) {
    fields->line = lineNumber;
    fields->daysLeft = 0;
    fields->day = day;
    fields->month = month;
    fields->year = DigitsValue<7, 4>(line);
    fields->yearly = DigitsValue<12, 2>(line);
    fields->repeatMark = line[14];
    fields->warnBefore = DigitsValue<16, 3>(line);
    fields->warnAfter = DigitsValue<20, 3>(line);
}

// The written columns of an event without limits of its own, as nearly
// every line is: whether `line` has them, so that in a file of version 1.41,
// and with a valid date, it is a line that ReadWrittenDate takes and whose
// limits are both 0. Whether such a line is due depends on its date and its
// recurrence alone: whether the event is yearly is IsWrittenYearly, and the
// date is in DigitsValue<0, 2> and WrittenMonth, which gives 0 for no month.
inline constexpr char kColumnsWithoutLimits[] = "99-aaa-9999 99! 000 000 !";
inline constexpr ColumnBounds kBoundsWithoutLimits = BoundsOf(kColumnsWithoutLimits);

inline bool HasColumnsWithoutLimits(const char* line) { return HasColumns(line, kBoundsWithoutLimits); }

// For a line that HasWrittenColumns: whether it is a yearly event, one whose
// recurrence is not 0.
inline bool IsWrittenYearly(const char* line) { return line[12] != '0' || line[13] != '0'; }
