// The fast way through event lines as this version writes them, inline as
// the due list judges nearly every line of the file this way. The general
// way, which this one must agree with, is in events_file.h.
#pragma once

#include <cstdint>
#include <cstring>

#include "model/calendar.h"
#include "model/duty.h"
#include "storage/events_file.h"

// A byte that normalisation neither drops nor changes, and not the terminator.
inline bool IsVisible(char c) { return static_cast<unsigned char>(c) > ' '; }

// The first 24 columns of a version 1.41 line as FormatDutyLine writes them:
// '9' stands for a digit and '.' for a byte judged apart (the month code and
// the mark); dashes and blanks stand for themselves.
inline constexpr char kWrittenColumns[] = "99-...-9999 99. 999 999 ";
inline constexpr int kWrittenWidth = 24;
static_assert(sizeof kWrittenColumns == kWrittenWidth + 1, "the fields of version 1.41 end at column 23");

// The written columns as masks for judging eight bytes at once: a byte ANDed
// with `mask` must give `value`, which fixes a dash or a blank whole and the
// high half of a digit (3); adding `six` to a digit's low half must then
// leave it below 16, so that it is at most 9. No sum carries into the next
// byte.
struct WrittenBytes {
    unsigned char mask[kWrittenWidth];
    unsigned char value[kWrittenWidth];
    unsigned char lowHalf[kWrittenWidth];
    unsigned char six[kWrittenWidth];
};

constexpr WrittenBytes WrittenBytesOf(const char* columns) {
    WrittenBytes bytes = {};
    for (int i = 0; i < kWrittenWidth; ++i) {
        if (columns[i] == '9') {
            bytes.mask[i] = 0xF0;
            bytes.value[i] = 0x30;
            bytes.lowHalf[i] = 0x0F;
            bytes.six[i] = 6;
        } else if (columns[i] != '.') {
            bytes.mask[i] = 0xFF;
            bytes.value[i] = static_cast<unsigned char>(columns[i]);
        }
    }
    return bytes;
}

inline constexpr WrittenBytes kWritten = WrittenBytesOf(kWrittenColumns);
inline constexpr uint64_t kBit4OfEveryByte = 0x1010101010101010ull;

inline uint64_t EightBytes(const void* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Whether the first 24 bytes of `line` hold digits, dashes and blanks where
// kWrittenColumns has them; a terminator among them fails.
inline bool HasWrittenColumns(const char* line) {
    for (int at = 0; at < kWrittenWidth; at += 8) {
        const uint64_t bytes = EightBytes(line + at);
        if ((bytes & EightBytes(kWritten.mask + at)) != EightBytes(kWritten.value + at)) return false;
        const uint64_t lowHalves = bytes & EightBytes(kWritten.lowHalf + at);
        if (((lowHalves + EightBytes(kWritten.six + at)) & kBit4OfEveryByte) != 0) return false;
    }
    return true;
}

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
// ValidateDutyLine. Returns false for any other line. Its first 25 bytes are
// read even when the line is shorter, so it must lie in a buffer at least
// that long, as the readers' line buffers are.
inline bool ReadWrittenDate(const char* line, int version, int* day, int* month) {
    // Files of older versions are rewritten in the current one at start-up;
    // their lines go the general way.
    if (version != kVersion141) return false;
    // A terminator fails the check of any column it stands in, so a short
    // line is turned away whatever bytes follow its end. Each blank is
    // followed by a visible byte, so normalising would change none of these
    // columns.
    if (!HasWrittenColumns(line) || !IsVisible(line[14]) || !IsVisible(line[kWrittenWidth])) return false;
    *day = DigitsValue<0, 2>(line);
    *month = MonthFromCodeBytes(line + 3);
    return *month != 0 && *day >= 1 && *day <= kDaysInMonth[*month - 1];
}

// For a line that ReadWrittenDate took: whether it is a yearly event without
// limits of its own, as nearly every line is. Whether such a line is due
// depends on its date alone.
inline bool IsPlainYearly(const char* line) {
    return (line[12] != '0' || line[13] != '0') && std::memcmp(line + 16, "000 000", 7) == 0;
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
