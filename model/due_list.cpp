#include "model/due_list.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"
#include "model/day_number.h"
#include "model/macros.h"
#include "storage/events_file.h"

namespace {

// The distance given to a one-off event's occurrence in a year it does not
// happen in: 999 days (86313600 s), beyond any warning limit.
constexpr int64_t kNoOccurrence = 999;

DueItem* dueHead = nullptr;
int buildCount = 0;

// Whole calendar days between today and each candidate date. Counting dates
// rather than seconds between local times keeps the count exact however the
// daylight-saving state of today and of the event differ, at any hour.
int DaysLeftFrom(const CivilDate& today, int64_t todayNumber, const Duty& duty) {
    const bool oneOff = duty.yearly == 0;
    // Each candidate is formed from the one before it as it stands after
    // normalisation: in a common year 29 February becomes 1 March, and the
    // next and last years keep 1 March even when they are leap years.
    int64_t thisDay, nextDay, lastDay;
    const CivilDate thisDate = NormalisedDate(today.year, duty.month, duty.day, &thisDay);
    const CivilDate nextDate = NormalisedDate(thisDate.year + 1, thisDate.month, thisDate.day, &nextDay);
    const CivilDate lastDate = NormalisedDate(nextDate.year - 2, nextDate.month, nextDate.day, &lastDay);

    int64_t t = thisDay - todayNumber;
    int64_t n = nextDay - todayNumber;
    int64_t p = lastDay - todayNumber;
    if (oneOff && thisDate.year != duty.year) t = kNoOccurrence;
    if (oneOff && nextDate.year != duty.year) n = kNoOccurrence;
    if (oneOff && lastDate.year != duty.year) p = -kNoOccurrence;

    // Nearest wins; on equal distance last year's beats next year's and next
    // year's beats this year's.
    const int64_t a = t < 0 ? -t : t;
    int64_t result = t;
    if (n >= a && -p >= a) result = t;
    if (-p >= n && n <= a) result = n;
    if (-p <= a && n >= -p) result = p;
    if (result > INT_MAX) return INT_MAX;
    if (result < -INT_MAX) return -INT_MAX;
    return static_cast<int>(result);
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

// The messages compared byte by byte with their letters upper-cased.
int CompareMessages(const char* a, const char* b) {
    for (int i = 0; i < kMessageSize; ++i) {
        unsigned char x = static_cast<unsigned char>(UpperAscii(a[i]));
        unsigned char y = static_cast<unsigned char>(UpperAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') return 0;
    }
    return 0;
}

bool ComesBefore(const DueItem* a, const DueItem* b) {
    if (a->daysLeft != b->daysLeft) return a->daysLeft < b->daysLeft;
    return CompareMessages(a->message, b->message) < 0;
}

// Stable merge sort of the chain: rows that compare equal keep file order.
// Sorting once at the end costs far less than inserting each row in its place.
DueItem* SortRows(DueItem* head) {
    if (head == nullptr || head->next == nullptr) return head;
    DueItem* slow = head;
    DueItem* fast = head->next;
    while (fast != nullptr && fast->next != nullptr) {
        slow = slow->next;
        fast = fast->next->next;
    }
    DueItem* second = slow->next;
    slow->next = nullptr;
    DueItem* left = SortRows(head);
    DueItem* right = SortRows(second);

    DueItem* merged = nullptr;
    DueItem** tail = &merged;
    while (left != nullptr && right != nullptr) {
        DueItem** taken = ComesBefore(right, left) ? &right : &left;
        *tail = *taken;
        tail = &(*taken)->next;
        *taken = (*taken)->next;
    }
    *tail = left != nullptr ? left : right;
    return merged;
}

// Enough of a normalised line for every check of its fixed columns. The
// fields end by column 23 in every version, and the blank there is kept in a
// head only with the character after it: 25 characters at the least.
constexpr size_t kLineHeadSize = 32;

// Reads the event lines of an open file; the rows due today are appended to
// the chain at `*tail` in file order. Returns false when the reading stopped.
//
// Whether a line is skipped, valid and due depends on its first columns
// alone, so those are normalised, checked and parsed first, from a copy; the
// whole line is normalised and parsed only for the few rows that are due.
bool ReadDueRows(FILE* file, int version, DueItem*** tail) {
    static char line[kDueLineBufferSize];
    char head[kLineHeadSize];
    const CivilDate today = LocalToday();
    const int64_t todayNumber = DayNumber(today);
    int lineNumber = 1;
    while (std::fgets(line, sizeof line, file) != nullptr) {
        ++lineNumber;
        if (IsSkippableLineHead(line, head, sizeof head)) continue;
        const int check = ValidateDutyLine(head, lineNumber, version);
        if (check == -2) continue;
        if (check == -1) return false;
        const Duty* fields = ParseDutyLine(head, lineNumber, version);
        const int daysLeft = DaysLeftFrom(today, todayNumber, *fields);
        if (!IsDue(*fields, daysLeft)) continue;

        IsSkippableLine(line);
        Duty* duty = ParseDutyLine(line, lineNumber, version);
        duty->daysLeft = daysLeft;
        DueItem* row = static_cast<DueItem*>(std::malloc(sizeof(DueItem)));
        if (row == nullptr) continue;
        std::memcpy(row, duty, sizeof(DueItem));
        row->next = nullptr;
        **tail = row;
        *tail = &row->next;
    }
    return true;
}

}  // namespace

DueItem* FreeDueList(DueItem* head) {
    // A list freed by its holder is no longer ours to free at the next build.
    if (head == dueHead) dueHead = nullptr;
    while (head != nullptr) {
        DueItem* next = head->next;
        std::free(head);
        head = next;
    }
    return nullptr;
}

DueItem* BuildDueList(int* buildCountOut) {
    FreeDueList(dueHead);
    dueHead = nullptr;

    FILE* file = std::fopen(kEventsFileName, "rb");
    if (file == nullptr) return nullptr;

    bool stopped = false;
    DueItem* head = nullptr;
    DueItem** tail = &head;
    const int version = ReadFileVersion(file);
    if (version != 0) {
        PlatformWaitCursor(true);
        stopped = !ReadDueRows(file, version, &tail);
    }
    std::fclose(file);
    PlatformWaitCursor(false);
    dueHead = SortRows(head);
    if (stopped) PlatformQuit(0);

    ++buildCount;
    if (buildCountOut != nullptr) *buildCountOut = buildCount;
    return dueHead;
}

int DaysLeft(const Duty& duty) {
    const CivilDate today = LocalToday();
    return DaysLeftFrom(today, DayNumber(today), duty);
}

const char* DueRowText(const DueItem* row) {
    static char text[640];
    text[0] = '\0';
    if (row == nullptr) return text;

    char days[96];
    if (row->daysLeft == 0) {
        CopyText(days, LoadStr(1280), sizeof days);
    } else {
        const int textId = (row->daysLeft == 1 || row->daysLeft == -1) ? 1270 : 1275;
        std::snprintf(days, sizeof days, "%d %s", row->daysLeft, LoadStr(textId));
    }

    char date[96];
    const char* monthName = MonthShortName(row->month);
    if (monthName == nullptr) monthName = "?";
    if (dayFirst == 0) {
        std::snprintf(date, sizeof date, "%s%c%02d", monthName, ' ', row->day);
    } else if (std::strncmp(languageCode, "ee", sizeof languageCode) == 0) {
        std::snprintf(date, sizeof date, "%02d.%c%s", row->day, ' ', monthName);
    } else {
        std::snprintf(date, sizeof date, "%02d%c%s", row->day, ' ', monthName);
    }

    char message[kMessageSize];
    const size_t length = strnlen(row->message, kMessageSize - 1);
    std::memcpy(message, row->message, length);
    message[length] = '\0';
    char shown[kMessageSize];
    ExpandMacros(message, row->daysLeft, shown, sizeof shown);  // the message itself when it fails

    if (prefs.showWeekday) {
        std::snprintf(text, sizeof text, "%s:\t%s (%s),\t%s", days, date, WeekdayShortName(row->daysLeft),
                      shown);
    } else {
        std::snprintf(text, sizeof text, "%s:\t%s,\t%s", days, date, shown);
    }
    return text;
}
