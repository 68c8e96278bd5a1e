#include "model/due_list.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"
#include "model/day_number.h"
#include "model/macros.h"
#include "storage/events_file.h"
#include "storage/line_reader.h"
#include "storage/written_line.h"

namespace {

// The distance given to a one-off event's occurrence in a year it does not
// happen in: 999 days (86313600 s), beyond any warning limit.
constexpr int64_t kNoOccurrence = 999;

DueItem* dueHead = nullptr;
int buildCount = 0;

// What every day count of a build shares: today, and 1 January of last, this
// and next year in days from today with whether each is a leap year.
struct Today {
    CivilDate date;
    int64_t number;
    int64_t yearStart[3];
    bool leap[3];
};

Today TodayFacts(const CivilDate& date) {
    Today today;
    today.date = date;
    today.number = DayNumber(date);
    for (int k = 0; k < 3; ++k) {
        today.yearStart[k] = DayNumber(date.year - 1 + k, 1, 1) - today.number;
        today.leap[k] = IsLeapYear(date.year - 1 + k);
    }
    return today;
}

// Days of the year before the first of each month (1 to 12), in a common and
// in a leap year.
const int kDaysBeforeMonth[2][13] = {
    {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

// Days from today to a valid date of last (0), this (1) or next (2) year.
int64_t DaysTo(const Today& today, int which, int month, int day) {
    return today.yearStart[which] + kDaysBeforeMonth[today.leap[which] ? 1 : 0][month] + day - 1;
}

// Nearest wins; on equal distance last year's beats next year's and next
// year's beats this year's.
int NearestOccurrence(int64_t t, int64_t n, int64_t p) {
    const int64_t a = t < 0 ? -t : t;
    int64_t result = t;
    if (n >= a && -p >= a) result = t;
    if (-p >= n && n <= a) result = n;
    if (-p <= a && n >= -p) result = p;
    if (result > INT_MAX) return INT_MAX;
    if (result < -INT_MAX) return -INT_MAX;
    return static_cast<int>(result);
}

// Whole calendar days between today and each candidate date. Counting dates
// rather than seconds between local times keeps the count exact however the
// daylight-saving state of today and of the event differ, at any hour.
// This way takes any record, however far its fields lie out of range.
int DaysLeftByNormalising(const Today& today, const Duty& duty) {
    const bool oneOff = duty.yearly == 0;
    // Each candidate is formed from the one before it as it stands after
    // normalisation: in a common year 29 February becomes 1 March, and the
    // next and last years keep 1 March even when they are leap years.
    int64_t thisDay, nextDay, lastDay;
    const CivilDate thisDate = NormalisedDate(today.date.year, duty.month, duty.day, &thisDay);
    const CivilDate nextDate = NormalisedDate(thisDate.year + 1, thisDate.month, thisDate.day, &nextDay);
    const CivilDate lastDate = NormalisedDate(nextDate.year - 2, nextDate.month, nextDate.day, &lastDay);

    int64_t t = thisDay - today.number;
    int64_t n = nextDay - today.number;
    int64_t p = lastDay - today.number;
    if (oneOff && thisDate.year != duty.year) t = kNoOccurrence;
    if (oneOff && nextDate.year != duty.year) n = kNoOccurrence;
    if (oneOff && lastDate.year != duty.year) p = -kNoOccurrence;
    return NearestOccurrence(t, n, p);
}

// The same count for a date that passes the events file's checks, as every
// line of a build does: such a date stays in its month in all three years, so
// it is found by table instead of three normalisations.
int DaysLeftOfValidDate(const Today& today, const Duty& duty) {
    const int month = duty.month;
    const int day = duty.day;
    int64_t t, n, p;
    if (month == 2 && day == 29) {
        // 1 March unless this year is a leap year. Next year's candidate is
        // formed from this year's, and is 1 March either way, for a leap year
        // is never followed by another; last year's is formed from that.
        t = today.leap[1] ? DaysTo(today, 1, 2, 29) : DaysTo(today, 1, 3, 1);
        n = DaysTo(today, 2, 3, 1);
        p = DaysTo(today, 0, 3, 1);
    } else {
        t = DaysTo(today, 1, month, day);
        n = DaysTo(today, 2, month, day);
        p = DaysTo(today, 0, month, day);
    }
    if (duty.yearly == 0) {
        const int64_t year = today.date.year;
        if (year != duty.year) t = kNoOccurrence;
        if (year + 1 != duty.year) n = kNoOccurrence;
        if (year - 1 != duty.year) p = -kNoOccurrence;
    }
    return NearestOccurrence(t, n, p);
}

// What the dates of a build come to, worked out once a build, by month (0
// for none) and day as written (0 to 99): the count of a yearly event, as
// most lines are, kNoDate for a date that is not valid; and, for an event
// without limits of its own, whether its line is passed over as never due,
// by whether it is yearly (1) or one-off (0). A one-off event is never due
// when it would not be in any year it may be of. A date that is not valid is
// never passed over: its line goes the way that checks it.
constexpr int16_t kNoDate = INT16_MIN;

struct DateFacts {
    int16_t days[13][100];  // a count is at most a year
    bool passedOver[2][13][100];
};

void FillDateFacts(const Today& today, int64_t before, int64_t after, DateFacts* dates) {
    auto notDue = [&](int days) { return days < -after || days > before; };
    std::fill(&dates->days[0][0], &dates->days[0][0] + sizeof dates->days / sizeof dates->days[0][0],
              kNoDate);
    std::memset(dates->passedOver, 0, sizeof dates->passedOver);
    Duty duty = {};
    for (duty.month = 1; duty.month <= 12; ++duty.month) {
        for (duty.day = 1; duty.day <= DaysInMonth(duty.month); ++duty.day) {
            duty.yearly = 1;
            const int days = DaysLeftOfValidDate(today, duty);
            dates->days[duty.month][duty.day] = static_cast<int16_t>(days);
            dates->passedOver[1][duty.month][duty.day] = notDue(days);
            // Last, this or next year, or any other: all others count alike.
            duty.yearly = 0;
            bool never = true;
            for (int64_t year = today.date.year - 1; year <= today.date.year + 2; ++year) {
                duty.year = static_cast<int32_t>(year);
                never = never && notDue(DaysLeftOfValidDate(today, duty));
            }
            dates->passedOver[0][duty.month][duty.day] = never;
        }
    }
}

int DaysLeftFrom(const Today& today, const Duty& duty) {
    const bool valid =
        duty.month >= 1 && duty.month <= 12 && duty.day >= 1 && duty.day <= DaysInMonth(duty.month);
    return valid ? DaysLeftOfValidDate(today, duty) : DaysLeftByNormalising(today, duty);
}

// The record's own limits when it has any, else the global ones; both
// bounds belong to the warning window.
bool IsDue(const Duty& duty, int daysLeft) {
    const bool special = duty.warnBefore != 0 || duty.warnAfter != 0;
    const int64_t before = special ? duty.warnBefore : prefs.warnDaysBefore;
    const int64_t after = special ? duty.warnAfter : prefs.warnDaysAfter;
    return -after <= daysLeft && daysLeft <= before;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The messages compared byte by byte with their letters upper-cased. Rows
// due on the same day are told apart by their messages, which often begin
// alike: equal bytes are passed over without upper-casing them.
int CompareMessages(const char* a, const char* b) {
    // Equal words are passed over eight bytes at a time; a word that holds a
    // terminator and is equal ends two equal messages.
    int i = 0;
    for (; i + 8 <= kMessageSize; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) break;
        if (((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) != 0) return 0;
    }
    for (; i < kMessageSize; ++i) {
        if (a[i] == b[i]) {
            if (a[i] == '\0') return 0;
            continue;
        }
        unsigned char x = static_cast<unsigned char>(UpperAscii(a[i]));
        unsigned char y = static_cast<unsigned char>(UpperAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool ComesBefore(const DueItem* a, const DueItem* b) {
    if (a->daysLeft != b->daysLeft) return a->daysLeft < b->daysLeft;
    return CompareMessages(a->message, b->message) < 0;
}

// Merges two sorted chains into one; of rows that compare equal, those of
// `earlier` come first.
DueItem* MergeRows(DueItem* earlier, DueItem* later) {
    DueItem* merged = nullptr;
    DueItem** tail = &merged;
    while (earlier != nullptr && later != nullptr) {
        DueItem** taken = ComesBefore(later, earlier) ? &later : &earlier;
        *tail = *taken;
        tail = &(*taken)->next;
        *taken = (*taken)->next;
    }
    *tail = earlier != nullptr ? earlier : later;
    return merged;
}

// Stable merge sort of the chain: rows that compare equal keep file order.
// The runs are merged bottom-up as the rows come, so the chain is never
// walked to find its halves.
DueItem* SortRows(DueItem* head) {
    DueItem* runs[64] = {};  // runs[i]: a sorted run of 2^i rows, or null
    while (head != nullptr) {
        DueItem* run = head;
        head = head->next;
        run->next = nullptr;
        // Each run held is made of rows that came before those of `run`.
        int size = 0;
        for (; runs[size] != nullptr; ++size) {
            run = MergeRows(runs[size], run);
            runs[size] = nullptr;
        }
        runs[size] = run;
    }
    // The longer runs hold the earlier rows.
    DueItem* sorted = nullptr;
    for (DueItem* run : runs) {
        if (run != nullptr) sorted = MergeRows(run, sorted);
    }
    return sorted;
}

// A row with the start of its message upper-cased, in a number that orders
// as those bytes do, and its place in the file: most rows are told apart by
// the day count and that number, and sorting them needs no look into the
// rows themselves, which lie all over the blocks.
struct SortEntry {
    int32_t daysLeft;
    uint32_t order;  // place in the file among the rows of the build
    uint64_t key;
    DueItem* row;
};

// Eight bytes of a message from byte `at` on, upper-cased, in a number that
// orders as those bytes do; the bytes from its terminator on, or past the
// message, count as 0. The bytes are judged all at once, in a word where the
// first of them is the highest; no sum carries into the next byte.
uint64_t MessageKey(const char* message, int at) {
    constexpr uint64_t kEveryByte = 0x0101010101010101ull;
    constexpr uint64_t kHighBits = 0x8080808080808080ull;
    unsigned char bytes[8] = {};
    if (at + 8 <= kMessageSize) {
        std::memcpy(bytes, message + at, sizeof bytes);
    } else {
        std::memcpy(bytes, message + at, static_cast<size_t>(kMessageSize - at));
    }
    uint64_t key;
    std::memcpy(&key, bytes, sizeof key);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    key = __builtin_bswap64(key);
#endif
    const uint64_t low = key & ~kHighBits;
    // Bytes from 'a' to 'z' lose the bit of lower case.
    const uint64_t fromA = low + (0x80 - 'a') * kEveryByte;
    const uint64_t pastZ = low + (0x80 - 'z' - 1) * kEveryByte;
    key -= (fromA & ~pastZ & ~key & kHighBits) >> 2;
    // The highest byte of 0 is the terminator: it and all after it go.
    const uint64_t zeros = ~((low + ~kHighBits) | key) & kHighBits;
    if (zeros != 0) key &= ~((2ull << (63 - __builtin_clzll(zeros))) - 1);
    return key;
}

// Rows alike in their day count and in the start of their messages come in
// file order; any two entries differ in that order, so a sort that keeps
// nothing in order by itself, and needs no buffer, gives a stable order.
struct KeyBefore {
    bool operator()(const SortEntry& a, const SortEntry& b) const {
        if (a.daysLeft != b.daysLeft) return a.daysLeft < b.daysLeft;
        if (a.key != b.key) return a.key < b.key;
        return a.order < b.order;
    }
};

void SortRuns(SortEntry* first, SortEntry* last, int at);

// Sorts entries alike in day count and in their messages up to byte `at` by
// the next eight bytes of their messages, taken into their keys.
void SortByMessage(SortEntry* first, SortEntry* last, int at) {
    for (SortEntry* entry = first; entry != last; ++entry) entry->key = MessageKey(entry->row->message, at);
    std::sort(first, last, KeyBefore());
    SortRuns(first, last, at);
}

// Entries sorted by their keys of the bytes from `at` on, in which each run
// alike in day count and key, and whose messages go on after those bytes, is
// sorted by the bytes that follow. Only the rows of such runs are looked
// into again, eight bytes at a time, as words.
void SortRuns(SortEntry* first, SortEntry* last, int at) {
    while (first != last) {
        SortEntry* end = first + 1;
        while (end != last && end->daysLeft == first->daysLeft && end->key == first->key) ++end;
        const bool goesOn = (first->key & 0xFF) != 0 && at + 8 < kMessageSize;
        if (end - first > 1 && goesOn) SortByMessage(first, end, at + 8);
        first = end;
    }
}

// The chain of a build's `count` rows, in file order, sorted. A short list,
// as most are, is sorted in its chain. A long one is sorted by entries,
// taken from its rows into `room` (`size` bytes, free now that the file is
// read) when they fit there, else into memory of their own; when there is
// none, it is sorted in its chain too.
DueItem* SortList(DueItem* head, size_t count, void* room, size_t size) {
    constexpr size_t kShortList = 64;
    if (count <= kShortList) return SortRows(head);
    void* allocated = nullptr;
    if (std::align(alignof(SortEntry), count * sizeof(SortEntry), room, size) == nullptr) {
        room = allocated = std::malloc(count * sizeof(SortEntry));
        if (room == nullptr) return SortRows(head);
    }
    SortEntry* entries = static_cast<SortEntry*>(room);
    // The entries are put in order of day count as they are taken, each day's
    // in file order, when the counts lie close together, as they do but for
    // rows with limits of their own far apart; then each day's are sorted.
    constexpr int32_t kDaysCounted = 64;
    int32_t least = INT32_MAX, most = INT32_MIN;
    for (const DueItem* row = head; row != nullptr; row = row->next) {
        least = std::min(least, row->daysLeft);
        most = std::max(most, row->daysLeft);
    }
    uint32_t firstOfDay[kDaysCounted + 1] = {};
    const bool counted = static_cast<int64_t>(most) - least < kDaysCounted;
    if (counted) {
        for (const DueItem* row = head; row != nullptr; row = row->next)
            ++firstOfDay[row->daysLeft - least + 1];
        for (int32_t day = 1; day <= kDaysCounted; ++day) firstOfDay[day] += firstOfDay[day - 1];
    }
    uint32_t order = 0;
    for (DueItem* row = head; row != nullptr; row = row->next, ++order) {
        const uint32_t at = counted ? firstOfDay[row->daysLeft - least]++ : order;
        new (&entries[at]) SortEntry{row->daysLeft, order, MessageKey(row->message, 0), row};
    }
    if (counted) {
        for (SortEntry* day = entries; day != entries + count;) {
            SortEntry* end = day;
            while (end != entries + count && end->daysLeft == day->daysLeft) ++end;
            std::sort(day, end, KeyBefore());
            day = end;
        }
    } else {
        std::sort(entries, entries + count, KeyBefore());
    }
    SortRuns(entries, entries + count, 0);
    for (size_t i = 0; i + 1 < count; ++i) entries[i].row->next = entries[i + 1].row;
    entries[count - 1].row->next = nullptr;
    DueItem* sorted = entries[0].row;
    std::free(allocated);
    return sorted;
}

// The rows of a list lie one after another in a few large blocks, each row
// taking the bytes its record uses: the fields, the message and the notes up
// to their terminator. A row read or copied whole as a record reaches over
// the rows after it, or into the room kept free at the end of its block, so
// it is always read in memory of the list; what lies after a terminator
// means nothing, as in any record. One allocation of a whole record (about
// 4.3 KB) per row would spread a list of a thousand rows over a thousand
// pages, each faulted in at its first use; packed, they share a few dozen.
//
// A row without notes uses the first byte of its notes, their terminator,
// which lies after the whole room of its message. The next row may begin in
// that room, before that byte, when the byte then falls on the terminator of
// the next row's message or after it, among the bytes of its message's room
// that nothing writes. Two rows with short messages, as most are, then take
// about the room of one.
struct RowBlock {
    RowBlock* next;
    size_t used;      // bytes of `rows` taken: the next row begins after them
    size_t notesEnd;  // 0, or where the last row's notes end when the next row may begin before
    alignas(Duty) unsigned char rows[256 * 1024 - 64];
};

// The first block of every list is part of the program's data, so a list of
// up to some hundreds of rows, as anyone's list is, needs no allocation. The
// blocks allocated after it for the current list follow in the order they
// were filled.
RowBlock firstBlock;
RowBlock* moreBlocks = nullptr;

// The reader of the events file, kept from build to build, as its block is
// large; once the file is read, the block holds the entries that sort a
// long list.
LineReader lines;

RowBlock* FreeBlocks(RowBlock* block) {
    while (block != nullptr) {
        RowBlock* next = block->next;
        std::free(block);
        block = next;
    }
    return nullptr;
}

// Where the rows of one build go: the blocks of the previous list are used
// again while there are any, since their pages are already in memory.
struct RowStore {
    RowBlock* spare;
    RowBlock* current;
    RowBlock** tail;
    size_t rows;  // kept so far
};

size_t Aligned(size_t offset) { return (offset + alignof(Duty) - 1) / alignof(Duty) * alignof(Duty); }

// A row for the fields of `fields` and the message and notes of the
// normalised `line` of `length` bytes, in the first place after the rows
// before it that leaves the notes of the last of them whole, with room for
// a whole record; null when out of memory.
DueItem* KeepRow(RowStore* store, const Duty& fields, const char* line, size_t length, int version) {
    const size_t messageEnd = offsetof(Duty, message) + SplitDutyText(line, length, version).kept;
    RowBlock* block = store->current;
    size_t at = 0;
    if (block != nullptr) {
        at = Aligned(block->used);
        if (block->notesEnd != 0 && at + messageEnd > block->notesEnd) at = Aligned(block->notesEnd + 1);
    }
    if (block == nullptr || at + sizeof(Duty) > sizeof block->rows) {
        if (block == nullptr) {
            block = &firstBlock;
        } else if (store->spare != nullptr) {
            block = store->spare;
            store->spare = block->next;
        } else {
            block = static_cast<RowBlock*>(std::malloc(sizeof(RowBlock)));
            if (block == nullptr) return nullptr;
        }
        if (block != &firstBlock) {
            block->next = nullptr;
            *store->tail = block;
            store->tail = &block->next;
        }
        block->notesEnd = 0;
        store->current = block;
        at = 0;
    }

    DueItem* row = reinterpret_cast<DueItem*>(block->rows + at);
    std::memcpy(static_cast<void*>(row), &fields, offsetof(Duty, message));
    row->next = nullptr;
    ParseDutyText(line, length, version, row);
    size_t used = at + messageEnd + 1;
    // The last row's notes may end in the room of this row's message.
    if (block->notesEnd > at) used = std::max(used, block->notesEnd + 1);
    if (row->notes[0] != '\0') {
        block->used = at + offsetof(Duty, notes) + std::strlen(row->notes) + 1;
        block->notesEnd = 0;
    } else {
        block->used = used;
        block->notesEnd = at + offsetof(Duty, notes);
    }
    return row;
}

// What every line of a build is judged by, worked out once a build.
struct BuildFacts {
    Today today;
    DateFacts dates;
    int version;
};

// Whether `line` of a version 1.41 file, as read, is one nearly every line
// is: as written, without limits of its own or yearly, and not due. Its
// first 32 bytes are read.
inline bool IsPassedOver(const char* line, const DateFacts& dates) {
    if (HasColumnsWithoutLimits(line)) {
        return dates.passedOver[IsWrittenYearly(line)][WrittenMonth(line)][DigitsValue<0, 2>(line)];
    }
    // A yearly event with limits of its own: its count against them.
    if (!HasWrittenColumns(line) || !IsWrittenYearly(line)) return false;
    const int days = dates.days[WrittenMonth(line)][DigitsValue<0, 2>(line)];
    return days != kNoDate && (days < -DigitsValue<20, 3>(line) || days > DigitsValue<16, 3>(line));
}

// Judges one line of the file, terminated, and keeps it as a row at `*tail`
// when it is due. Returns false when the reading stopped.
//
// Whether a line is skipped, valid and due depends on its first columns
// alone. Nearly every line stands as it was written and is judged from them
// in place; any other is normalised, checked and parsed whole. The message
// and notes of a written line are read only when it is due.
bool TakeLine(char* line, int lineNumber, const BuildFacts& facts, RowStore* store, DueItem*** tail) {
    Duty written;
    const Duty* fields = &written;
    int day, month;
    const bool asWritten = ReadWrittenDate(line, facts.version, &day, &month);
    if (asWritten) {
        ReadWrittenFields(line, lineNumber, day, month, &written);
    } else {
        if (IsSkippableLine(line)) return true;
        const int check = ValidateDutyLine(line, lineNumber, facts.version);
        if (check == -2) return true;
        if (check == -1) return false;
        fields = ParseDutyLine(line, lineNumber, facts.version);
    }
    // Either way the date has passed the checks of a valid line.
    const int daysLeft = fields->yearly != 0 ? facts.dates.days[fields->month][fields->day]
                                             : DaysLeftOfValidDate(facts.today, *fields);
    if (!IsDue(*fields, daysLeft)) return true;

    // The fields of a line as written stand as normalising leaves them, and
    // a blank and a visible byte come before its text: the text alone is
    // normalised. Any other line was normalised above.
    if (asWritten) CollapseSpaces(line + kWrittenWidth);
    DueItem* row = KeepRow(store, *fields, line, std::strlen(line), facts.version);
    if (row == nullptr) return true;
    row->daysLeft = daysLeft;
    **tail = row;
    *tail = &row->next;
    ++store->rows;
    return true;
}

// Reads the event lines that follow the version line; the rows due today
// are appended to the chain at `*tail` in file order. Returns false when the
// reading stopped.
//
// The lines that lie whole in the reader's block are walked here, and those
// passed over are not even terminated: their line end is looked for after
// the columns judged. The reader gives the rest: the lines across the end of
// its block, and those longer than a line can be.
bool ReadDueRows(LineReader* lines, const BuildFacts& facts, RowStore* store, DueItem*** tail) {
    const size_t searched = lines->longest + 1;
    constexpr size_t kJudged = kWrittenWidth + 1;  // columns without a line end in a line passed over
    // Files of older versions are rewritten in the current one at start-up;
    // their lines go the general way.
    const bool current = facts.version == kVersion141;
    for (;;) {
        if (!lines->inLongLine) {
            char* next = lines->block + lines->start;
            char* const end = lines->block + lines->end;
            int lineNumber = lines->lineNumber;
            for (;;) {
                const size_t unread = static_cast<size_t>(end - next);
                const size_t count = unread < searched ? unread : searched;
                char* lineEnd;
                if (count > kJudged && current && IsPassedOver(next, facts.dates)) {
                    lineEnd = FindLineEnd(next + kJudged, count - kJudged);
                    if (lineEnd == nullptr) break;
                } else {
                    lineEnd = FindLineEnd(next, count);
                    if (lineEnd == nullptr) break;
                    *lineEnd = '\0';
                    if (!TakeLine(next, lineNumber + 1, facts, store, tail)) return false;
                }
                next = lineEnd + 1;
                ++lineNumber;
            }
            PassLines(lines, next, lineNumber);
        }
        size_t length;
        char* line = NextLine(lines, &length);
        if (line == nullptr) return true;
        if (!TakeLine(line, lines->lineNumber, facts, store, tail)) return false;
    }
}

// A row's text is put together piece by piece: formatting each row with the
// C library's printf would cost more than reading its line. The pieces are
// short; what would not fit is cut.
struct TextOut {
    char* text;
    size_t size;
    size_t used;
};

void PutBytes(TextOut* out, const char* piece, size_t length) {
    const size_t room = out->size - 1 - out->used;
    if (length > room) length = room;
    std::memcpy(out->text + out->used, piece, length);
    out->used += length;
    out->text[out->used] = '\0';
}

void Put(TextOut* out, const char* piece) { PutBytes(out, piece, std::strlen(piece)); }

// `value` in decimal, with zeros after its sign up to `width` characters in
// all (at most 40), as printf's %0*d writes it. The digits are put down from
// the last.
void PutNumber(TextOut* out, long long value, int width) {
    char shown[48];
    char* const end = shown + sizeof shown;
    char* first = end;
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value) : value;
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const int sign = value < 0 ? 1 : 0;
    for (int zeros = std::min(width, 40) - static_cast<int>(end - first) - sign; zeros > 0; --zeros)
        *--first = '0';
    if (sign != 0) *--first = '-';
    PutBytes(out, first, static_cast<size_t>(end - first));
}

// The words a row shows for its day count and its month: the same few for
// every row, taken from the string table once, as its texts never change
// while the program runs, rather than looked up again for each row.
struct RowWords {
    bool taken;
    char today[128], day[128], days[128];
    char months[13][64];  // months[0] is for no month
};

const RowWords& Words() {
    static RowWords words;
    if (!words.taken) {
        CopyText(words.today, LoadStr(1280), sizeof words.today);
        CopyText(words.day, LoadStr(1270), sizeof words.day);
        CopyText(words.days, LoadStr(1275), sizeof words.days);
        CopyText(words.months[0], "?", sizeof words.months[0]);
        for (int month = 1; month <= 12; ++month) {
            CopyText(words.months[month], MonthShortName(month), sizeof words.months[month]);
        }
        words.taken = true;
    }
    return words;
}

// The date column: "07 Maj," or "Maj 07," by the locale's date order, with
// " (Pią)" before the comma when `weekday` is given.
void PutDate(TextOut* out, int day, int month, const char* weekday) {
    const char* monthName = Words().months[month >= 1 && month <= 12 ? month : 0];
    if (dayFirst == 0) {
        Put(out, monthName);
        Put(out, " ");
        PutNumber(out, day, 2);
    } else {
        PutNumber(out, day, 2);
        Put(out, std::strncmp(languageCode, "ee", sizeof languageCode) == 0 ? ". " : " ");
        Put(out, monthName);
    }
    if (weekday != nullptr) {
        Put(out, " (");
        Put(out, weekday);
        Put(out, ")");
    }
    Put(out, ",");
}

}  // namespace

DueItem* FreeDueList(DueItem* head) {
    // Only the current list is ours: an older one went with the build that
    // followed it, and a list freed by its holder is not freed again.
    if (head != nullptr && head == dueHead) {
        moreBlocks = FreeBlocks(moreBlocks);
        dueHead = nullptr;
    }
    return nullptr;
}

DueItem* BuildDueList(int* buildCountOut) {
    // The previous list is no longer shown; its blocks take the new rows,
    // and those left over are freed at the end.
    RowStore store = {moreBlocks, nullptr, &moreBlocks, 0};
    moreBlocks = nullptr;
    dueHead = nullptr;

    FILE* file = std::fopen(kEventsFileName, "rb");
    if (file == nullptr) {
        FreeBlocks(store.spare);
        return nullptr;
    }

    bool stopped = false;
    DueItem* head = nullptr;
    DueItem** tail = &head;
    const int version = ReadFileVersion(file);
    if (version != 0) {
        PlatformWaitCursor(true);
        StartLines(&lines, file, sizeof lines.block, kDueLineBufferSize - 1, 1);
        static BuildFacts facts;
        facts.today = TodayFacts(LocalToday());
        FillDateFacts(facts.today, prefs.warnDaysBefore, prefs.warnDaysAfter, &facts.dates);
        facts.version = version;
        stopped = !ReadDueRows(&lines, facts, &store, &tail);
    }
    std::fclose(file);
    FreeBlocks(store.spare);
    PlatformWaitCursor(false);
    dueHead = SortList(head, store.rows, lines.block, sizeof lines.block);
    if (stopped) PlatformQuit(0);

    ++buildCount;
    if (buildCountOut != nullptr) *buildCountOut = buildCount;
    return dueHead;
}

int DaysLeft(const Duty& duty) { return DaysLeftFrom(TodayFacts(LocalToday()), duty); }

void RowDateText(int day, int month, const char* weekday, char* out, size_t size) {
    if (size == 0) return;
    TextOut text = {out, size, 0};
    out[0] = '\0';
    PutDate(&text, day, month, weekday);
}

const char* DueRowText(const DueItem* row) {
    static char text[640];
    TextOut out = {text, sizeof text, 0};
    text[0] = '\0';
    if (row == nullptr) return text;

    const RowWords& words = Words();
    if (row->daysLeft == 0) {
        Put(&out, words.today);
    } else {
        PutNumber(&out, row->daysLeft, 0);
        Put(&out, " ");
        Put(&out, (row->daysLeft == 1 || row->daysLeft == -1) ? words.day : words.days);
    }
    Put(&out, ":\t");

    PutDate(&out, row->day, row->month, prefs.showWeekday ? WeekdayShortName(row->daysLeft) : nullptr);
    Put(&out, "\t");

    // A message without a macro, as most are, is shown as it is.
    const size_t length = strnlen(row->message, kMessageSize - 1);
    if (std::memchr(row->message, '$', length) == nullptr) {
        PutBytes(&out, row->message, length);
        return text;
    }
    char message[kMessageSize];
    std::memcpy(message, row->message, length);
    message[length] = '\0';
    char shown[kMessageSize];
    ExpandMacros(message, row->daysLeft, shown, sizeof shown);  // the message itself when it fails
    Put(&out, shown);
    return text;
}
