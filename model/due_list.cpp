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

// The count of every valid date of a yearly event, worked out once a build:
// most lines are yearly events, and most of them are not due. For a yearly
// event without limits of its own, whether it is passed over as not due,
// by its day as written (0 to 99) and its month (0 for none): never for a
// date that is not valid, which goes the way that checks it.
struct YearlyDays {
    int days[13][32];
    bool passedOver[13][100];
};

void FillYearlyDays(const Today& today, int64_t before, int64_t after, YearlyDays* yearly) {
    Duty duty = {};
    duty.yearly = 1;
    std::memset(yearly->passedOver, 0, sizeof yearly->passedOver);
    for (duty.month = 1; duty.month <= 12; ++duty.month) {
        for (duty.day = 1; duty.day <= DaysInMonth(duty.month); ++duty.day) {
            const int days = DaysLeftOfValidDate(today, duty);
            yearly->days[duty.month][duty.day] = days;
            yearly->passedOver[duty.month][duty.day] = days < -after || days > before;
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

uint64_t MessageKey(const char* message) {
    uint64_t key = 0;
    bool ended = false;
    for (int i = 0; i < 8; ++i) {
        ended = ended || message[i] == '\0';
        key = key << 8 | (ended ? 0u : static_cast<unsigned char>(UpperAscii(message[i])));
    }
    return key;
}

// Rows alike in their day count and in the start of their messages come in
// file order; any two entries differ in that order, so a sort that keeps
// nothing in order by itself, and needs no buffer, gives a stable order.
bool KeyBefore(const SortEntry& a, const SortEntry& b) {
    if (a.daysLeft != b.daysLeft) return a.daysLeft < b.daysLeft;
    if (a.key != b.key) return a.key < b.key;
    return a.order < b.order;
}

bool MessageBefore(const SortEntry& a, const SortEntry& b) {
    const int order = CompareMessages(a.row->message, b.row->message);
    return order != 0 ? order < 0 : a.order < b.order;
}

// Sorts by the entries alone first; then each run of entries alike in day
// count and key by the whole messages, which looks into only the rows of
// those runs, each a few times at most.
void SortEntries(SortEntry* entries, size_t count) {
    std::sort(entries, entries + count, KeyBefore);
    for (size_t start = 0; start < count;) {
        size_t end = start + 1;
        while (end < count && entries[end].daysLeft == entries[start].daysLeft &&
               entries[end].key == entries[start].key) {
            ++end;
        }
        if (end - start > 1) std::sort(entries + start, entries + end, MessageBefore);
        start = end;
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
    uint32_t order = 0;
    for (DueItem* row = head; row != nullptr; row = row->next, ++order) {
        new (&entries[order]) SortEntry{row->daysLeft, order, MessageKey(row->message), row};
    }
    SortEntries(entries, count);
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
// it is always read in memory of the list; what lies after the notes'
// terminator means nothing, as in any record. One allocation of a whole
// record (about 4.3 KB) per row would spread a list of a thousand rows over
// a thousand pages, each faulted in at its first use; packed, they share a
// few dozen.
struct RowBlock {
    RowBlock* next;
    size_t used;  // bytes of `rows` taken
    alignas(Duty) unsigned char rows[256 * 1024 - 64];
};

// The first block of every list is part of the program's data, so a list of
// up to some hundreds of rows, as anyone's list is, needs no allocation. The
// blocks allocated after it for the current list follow in the order they
// were filled.
RowBlock firstBlock;
RowBlock* moreBlocks = nullptr;

// The reader of the events file, kept from build to build, as its block is
// large.
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

// Room for a whole record at the end of the rows; null when out of memory.
DueItem* NewRow(RowStore* store) {
    RowBlock* block = store->current;
    if (block == nullptr) {
        block = &firstBlock;
        block->used = 0;
        store->current = block;
    } else if (block->used + sizeof(Duty) > sizeof block->rows) {
        block = store->spare;
        if (block != nullptr) {
            store->spare = block->next;
        } else {
            block = static_cast<RowBlock*>(std::malloc(sizeof(RowBlock)));
            if (block == nullptr) return nullptr;
        }
        block->next = nullptr;
        block->used = 0;
        *store->tail = block;
        store->tail = &block->next;
        store->current = block;
    }
    return reinterpret_cast<DueItem*>(block->rows + block->used);
}

// Fills the row NewRow gave with the fields of `fields`, and the message and
// notes of the normalised `line`, and takes the bytes it uses.
void KeepRow(RowStore* store, DueItem* row, const Duty& fields, const char* line, int version) {
    std::memcpy(static_cast<void*>(row), &fields, offsetof(Duty, message));
    row->next = nullptr;
    ParseDutyText(line, std::strlen(line), version, row);
    const size_t size = offsetof(Duty, notes) + std::strlen(row->notes) + 1;
    store->current->used += (size + alignof(Duty) - 1) / alignof(Duty) * alignof(Duty);
}

// What every line of a build is judged by, worked out once a build.
struct BuildFacts {
    Today today;
    YearlyDays yearly;
    int version;
};

// Whether `line`, as read from the file, is one nearly every line is: as
// written, a yearly event without limits of its own, and not due. Its first
// 32 bytes are read.
inline bool IsPassedOver(const char* line, const BuildFacts& facts) {
    return facts.version == kVersion141 && HasPlainYearlyColumns(line) &&
           facts.yearly.passedOver[MonthFromCodeBytes(line + 3)][DigitsValue<0, 2>(line)];
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
    if (ReadWrittenDate(line, facts.version, &day, &month)) {
        ReadWrittenFields(line, lineNumber, day, month, &written);
    } else {
        if (IsSkippableLine(line)) return true;
        const int check = ValidateDutyLine(line, lineNumber, facts.version);
        if (check == -2) return true;
        if (check == -1) return false;
        fields = ParseDutyLine(line, lineNumber, facts.version);
    }
    // Either way the date has passed the checks of a valid line.
    const int daysLeft = fields->yearly != 0 ? facts.yearly.days[fields->month][fields->day]
                                             : DaysLeftOfValidDate(facts.today, *fields);
    if (!IsDue(*fields, daysLeft)) return true;

    // The fields of a line as written are those of the line normalised;
    // normalising again changes nothing when it was done above.
    IsSkippableLine(line);
    DueItem* row = NewRow(store);
    if (row == nullptr) return true;
    KeepRow(store, row, *fields, line, facts.version);
    row->daysLeft = daysLeft;
    **tail = row;
    *tail = &row->next;
    ++store->rows;
    return true;
}

// Reads the event lines that follow the version line; the rows due today
// are appended to the chain at `*tail` in file order, with their entries.
// Returns false when the reading stopped.
//
// The lines that lie whole in the reader's block are walked here, and those
// passed over are not even terminated: their line end is looked for after
// the columns judged. The reader gives the rest: the lines across the end of
// its block, and those longer than a line can be.
bool ReadDueRows(LineReader* lines, const BuildFacts& facts, RowStore* store, DueItem*** tail) {
    const size_t searched = lines->longest + 1;
    constexpr size_t kJudged = kWrittenWidth + 1;  // columns without a line end in a line passed over
    for (;;) {
        if (!lines->inLongLine) {
            char* next = lines->block + lines->start;
            char* const end = lines->block + lines->end;
            int lineNumber = lines->lineNumber;
            for (;;) {
                const size_t unread = static_cast<size_t>(end - next);
                const size_t count = unread < searched ? unread : searched;
                char* lineEnd;
                if (count > kJudged && IsPassedOver(next, facts)) {
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

void Put(TextOut* out, const char* piece) {
    for (; *piece != '\0' && out->used + 1 < out->size; ++piece) out->text[out->used++] = *piece;
    out->text[out->used] = '\0';
}

// `value` in decimal, with zeros after its sign up to `width` characters in
// all, as printf's %0*d writes it.
void PutNumber(TextOut* out, long long value, int width) {
    char digits[24];
    int count = 0;
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value) : value;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char shown[48];
    int used = 0;
    if (value < 0) shown[used++] = '-';
    for (int zeros = width - count - used; zeros > 0; --zeros) shown[used++] = '0';
    while (count > 0) shown[used++] = digits[--count];
    shown[used] = '\0';
    Put(out, shown);
}

// The date column: "07 Maj," or "Maj 07," by the locale's date order, with
// " (Pią)" before the comma when `weekday` is given.
void PutDate(TextOut* out, int day, int month, const char* weekday) {
    const char* monthName = MonthShortName(month);
    if (monthName == nullptr) monthName = "?";
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
        FillYearlyDays(facts.today, prefs.warnDaysBefore, prefs.warnDaysAfter, &facts.yearly);
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

    if (row->daysLeft == 0) {
        Put(&out, LoadStr(1280));
    } else {
        PutNumber(&out, row->daysLeft, 0);
        Put(&out, " ");
        Put(&out, LoadStr((row->daysLeft == 1 || row->daysLeft == -1) ? 1270 : 1275));
    }
    Put(&out, ":\t");

    PutDate(&out, row->day, row->month, prefs.showWeekday ? WeekdayShortName(row->daysLeft) : nullptr);
    Put(&out, "\t");

    char message[kMessageSize];
    const size_t length = strnlen(row->message, kMessageSize - 1);
    std::memcpy(message, row->message, length);
    message[length] = '\0';
    char shown[kMessageSize];
    ExpandMacros(message, row->daysLeft, shown, sizeof shown);  // the message itself when it fails
    Put(&out, shown);
    return text;
}
