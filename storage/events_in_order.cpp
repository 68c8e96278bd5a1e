#include "storage/events_in_order.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/platform.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "storage/safe_rewrite.h"

namespace {

constexpr uint64_t kHashStart = 0xcbf29ce484222325ull;
constexpr uint64_t kHashFactor = 0x100000001b3ull;

void HashBytes(uint64_t* hash, const char* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        *hash ^= static_cast<unsigned char>(bytes[i]);
        *hash *= kHashFactor;
    }
}

// The stamp of a file that could not be opened: missing, or there but not
// to be read (locked, no permission).
EventsFileStamp UnopenedStamp() {
    EventsFileStamp stamp = {errno == ENOENT ? kStampAbsent : kStampUnreadable, 0, kHashStart};
    return stamp;
}

// Reads what is left of `file` into `bytes` and stamps it. False on a read error.
bool ReadAll(FILE* file, std::vector<char>* bytes, EventsFileStamp* stamp) {
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + n);
    *stamp = {kStampUnreadable, 0, kHashStart};
    if (std::ferror(file)) return false;
    stamp->state = kStampRead;
    stamp->size = bytes->size();
    HashBytes(&stamp->hash, bytes->data(), bytes->size());
    return true;
}

// One event line of the file, in place in the read bytes.
struct Entry {
    int key;
    int lineNumber;
    const char* line;  // normalised
    char message[kMessageSize];
};

// The first line as a reader with a line buffer of the usual size sees it.
int VersionOfFirstLine(const char* first, size_t length) {
    static char line[kLineBufferSize];
    const size_t n = std::min(length, sizeof line - 1);
    std::memcpy(line, first, n);
    line[n] = '\0';
    return VersionOfLine(line);
}

// Splits `bytes` (terminated) into lines after the first and collects the
// events among them.
void CollectEvents(char* bytes, char* end, int version, std::vector<Entry>* entries) {
    int lineNumber = 1;
    for (char* line = bytes; line < end;) {
        char* lineEnd = static_cast<char*>(std::memchr(line, '\n', static_cast<size_t>(end - line)));
        if (lineEnd == nullptr) lineEnd = end;
        *lineEnd = '\0';
        ++lineNumber;
        if (!IsSkippableLine(line)) {
            const Duty* duty = ParseDutyLine(line, lineNumber, version);
            entries->emplace_back();
            Entry& entry = entries->back();
            entry.key = CalendarKey(duty->day, duty->month);
            entry.lineNumber = lineNumber;
            entry.line = line;
            std::memcpy(entry.message, duty->message, sizeof entry.message);
        }
        line = lineEnd + 1;
    }
}

// Whether `written` (with its line end) is `line` (without one).
bool WritesBack(const char* written, const char* line) {
    const size_t n = std::strlen(line);
    return std::strncmp(written, line, n) == 0 && std::strcmp(written + n, "\r\n") == 0;
}

struct RowsJob {
    int count;
    RowLineSource source;
    void* context;
};

int WriteRows(FILE* out, void* context) {
    const RowsJob* job = static_cast<const RowsJob*>(context);
    if (!WriteFileHeader(out) || !WriteText(out, "\r\n")) return 0;
    for (int i = 0; i < job->count; ++i) {
        const char* line = job->source(i, job->context);
        if (line == nullptr || !WriteText(out, line)) return 0;
    }
    return 1;
}

}  // namespace

int CalendarKey(int day, int month) { return (month - 1) * 31 + day; }

int CompareCalendarOrder(int key, const char* message, int otherKey, const char* otherMessage) {
    if (key != otherKey) return key < otherKey ? -1 : 1;
    return std::strcmp(message, otherMessage);  // compares bytes as unsigned char
}

EventsFileStamp CurrentEventsStamp() {
    FILE* file = std::fopen(kEventsFileName, "rb");
    if (file == nullptr) return UnopenedStamp();
    EventsFileStamp stamp = {kStampRead, 0, kHashStart};
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        HashBytes(&stamp.hash, chunk, n);
        stamp.size += n;
    }
    if (std::ferror(file)) stamp.state = kStampUnreadable;
    std::fclose(file);
    return stamp;
}

bool SameEventsFile(const EventsFileStamp& before, const EventsFileStamp& now) {
    if (before.state != now.state || before.state == kStampUnreadable) return false;
    return before.state == kStampAbsent || (before.size == now.size && before.hash == now.hash);
}

int ReadEventsInCalendarOrder(EventVisitor visit, void* context, EventsFileStamp* stamp) {
    FILE* file = std::fopen(kEventsFileName, "rb");
    if (file == nullptr) {
        *stamp = UnopenedStamp();
        return 0;
    }
    std::vector<char> bytes;
    const bool read = ReadAll(file, &bytes, stamp);
    bytes.push_back('\0');
    char* end = bytes.data() + bytes.size() - 1;
    char* firstEnd = static_cast<char*>(std::memchr(bytes.data(), '\n', bytes.size() - 1));
    if (firstEnd == nullptr) firstEnd = end;
    const int version =
        read ? VersionOfFirstLine(bytes.data(), static_cast<size_t>(firstEnd - bytes.data())) : 0;
    if (read && version == 0) ReadFileVersion(file);  // reports the first line and asks to quit
    std::fclose(file);
    if (!read || version == 0) return read ? -1 : 0;

    std::vector<Entry> entries;
    if (firstEnd < end) CollectEvents(firstEnd + 1, end, version, &entries);
    // Events of equal order stay in the order of the file, as if each had
    // been inserted after those before it.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int order = CompareCalendarOrder(a.key, a.message, b.key, b.message);
        return order < 0 || (order == 0 && a.lineNumber < b.lineNumber);
    });
    for (const Entry& entry : entries) {
        const Duty* duty = ParseDutyLine(entry.line, entry.lineNumber, version);
        // Older versions are rewritten in the current one on saving, as at start-up.
        const bool keep = version == kVersion141 && !WritesBack(FormatDutyLine(*duty), entry.line);
        visit(*duty, keep ? entry.line : nullptr, context);
    }
    return 1;
}

int WriteEventsFromRows(int count, RowLineSource source, void* context) {
    PlatformWaitCursor(true);
    RowsJob job = {count, source, context};
    const int done = RewriteFile(kEventsFileName, WriteRows, &job, kBackupNewFile);
    PlatformWaitCursor(false);
    return done;
}
