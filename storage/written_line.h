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
// '9' stands for a digit, '!' for a byte that normalisation neither drops nor
// changes (the mark, and the first byte of the message) and '.' for the month
// code, judged apart; dashes and blanks stand for themselves. The fields end
// at column 23.
inline constexpr char kWrittenColumns[] = "99-...-9999 99! 999 999 !";
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
        const char column = i < kWrittenWidth + 1 ? columns[i] : '.';
        bounds.least[i] = column == '9' ? '0' : column == '!' ? ' ' + 1 : column == '.' ? 0 : column;
        bounds.most[i] = column == '9' ? '9' : (column == '!' || column == '.') ? 0xFF : column;
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

// For a line that ReadWrittenDate took: whether it is a yearly event without
// limits of its own, as nearly every line is. Whether such a line is due
// depends on its date alone.
inline bool IsPlainYearly(const char* line) {
    // Columns 16 to 22 compared at once; the eighth byte is masked off.
    const uint64_t limits = EightBytes(line + 16) & EightBytes("\xFF\xFF\xFF\xFF\xFF\xFF\xFF");
    return (line[12] != '0' || line[13] != '0') && limits == EightBytes("000 000");
}

// Both checks at once, but for the date: whether `line` has the written
// columns of a yearly event without limits of its own, so that it is a line
// that ReadWrittenDate takes and IsPlainYearly finds plain when its date is
// valid. The date is then in DigitsValue<0, 2> and MonthFromCodeBytes(line
// + 3), which gives 0 for no month.
inline constexpr char kPlainYearlyColumns[] = "99-...-9999 99! 000 000 !";
inline constexpr ColumnBounds kPlainYearlyBounds = BoundsOf(kPlainYearlyColumns);

inline bool HasPlainYearlyColumns(const char* line) {
    return HasColumns(line, kPlainYearlyBounds) && (line[12] != '0' || line[13] != '0');
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
