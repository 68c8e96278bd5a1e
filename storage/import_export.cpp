#include "storage/import_export.h"

#include <cstdio>
#include <cstring>

#include "app/load_str.h"
#include "app/platform.h"
#include "model/calendar.h"
#include "storage/csv_format.h"
#include "storage/events_file.h"
#include "storage/events_save.h"
#include "storage/ical_format.h"
#include "storage/safe_rewrite.h"
#include "storage/vcard_format.h"

namespace {

// Anything larger is no events file of a person, and would only be read
// into memory to be refused.
constexpr long kLargestInput = 64L * 1024 * 1024;

enum {
    kSummaryText = 5110,   // "Imported from %s:\n\n%d added..."
    kProblemText = 5111,   // "\nline %d: %s"
    kMoreProblems = 5112,  // "\n(and %d more)"
    kExportedText = 5115,
    kLeftOutText = 5116,
    kCannotRead = 5120,
    kUnknownKind = 5121,
    kRefusedInput = 5123,  // "Nothing was imported from %s:\nline %d: %s."
    kTooLarge = 5124,
    kEventsFileUnreadable = 5127,
    kCannotWrite = 5128,
    kExportKinds = 5129,
    kNoEventsFile = 5130,
};

// The printf-style text of string `id`.
template <typename... Args>
std::string Text(int id, Args... args) {
    if constexpr (sizeof...(args) == 0) {
        return LoadStr(id);
    } else {
        char text[2048];
        std::snprintf(text, sizeof text, LoadStr(id), args...);
        return text;
    }
}

// The last part of a path, as a short name for messages.
const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* c = path; *c; ++c) {
        if (*c == '/' || *c == '\\' || *c == ':') name = c + 1;
    }
    return name;
}

bool EndsWith(const std::string& text, const char* end) {
    const size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// 1 read, 0 cannot be opened or read, -1 too large.
int ReadInput(const char* path, std::string* text) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    char buffer[8192];
    size_t n;
    int result = 1;
    while (result == 1 && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text->append(buffer, n);
        if (text->size() > static_cast<size_t>(kLargestInput)) result = -1;
    }
    if (result == 1 && std::ferror(file)) result = 0;
    std::fclose(file);
    return result;
}

// The input as text without its byte-order mark; else the damage. Content
// lines are checked for UTF-8 once unfolded, a CSV file here.
bool CheckText(std::string* text, EventsFormat format, TextDamage* damage) {
    if (text->compare(0, 3, "\xEF\xBB\xBF") == 0) text->erase(0, 3);
    size_t badAt = 0;
    if (text->find('\0') != std::string::npos) {
        damage->id = kDamageNotText;  // UTF-16 among others
        damage->line = LineOfOffset(*text, text->find('\0'));
        return false;
    }
    if (format == kFormatCsv && !IsUtf8(*text, &badAt)) {
        damage->id = kDamageNotUtf8;
        damage->line = LineOfOffset(*text, badAt);
        return false;
    }
    return true;
}

typedef void (*EventTaker)(const Duty& duty, void* context);

struct EventsScan {
    int leftOut = 0;
    int firstLeftOut = 0;
};

// Reads the events file as the program's reader does, handing each event
// that its checks accept to `take` and counting the lines they refuse.
// 1 read, 0 there is no events file, -1 its version line is not one.
int ScanEventsFile(EventTaker take, void* context, EventsScan* scan) {
    FILE* file = std::fopen(kEventsFileName, "rb");
    if (file == nullptr) return 0;
    static char line[kDueLineBufferSize];
    // Lines are counted as the due list counts them: the rest of an overlong
    // line is no event of its own.
    const int version = ReadOneLine(file, line, sizeof line) ? VersionOfLine(line) : 0;
    int lineNumber = 1;
    while (version != 0 && ReadOneLine(file, line, sizeof line)) {
        ++lineNumber;
        if (IsSkippableLine(line)) continue;
        char problem[1024];
        if (DutyLineProblem(line, lineNumber, version, problem, sizeof problem) != kLineSound) {
            if (scan->leftOut++ == 0) scan->firstLeftOut = lineNumber;
            continue;
        }
        take(*ParseDutyLine(line, lineNumber, version), context);
    }
    std::fclose(file);
    return version != 0 ? 1 : -1;
}

void KnowEvent(const Duty& duty, void* batch) {
    static_cast<ImportBatch*>(batch)->known.insert(EventKey(duty));
}

struct ExportJob {
    EventsFormat format;
    ICalWriter calendar;
    std::string csv;
    int count = 0;
};

void ExportEvent(const Duty& duty, void* context) {
    ExportJob* job = static_cast<ExportJob*>(context);
    ++job->count;
    if (job->format == kFormatICalendar) {
        WriteICalEvent(&job->calendar, duty);
    } else {
        WriteCsvRow(&job->csv, duty);
    }
}

// Writes `text` to a file beside `path` that takes its place once it is
// complete, so a failed export never leaves half a file where an old one was.
bool WriteOutput(const char* path, const std::string& text) {
    const std::string temp = std::string(path) + ".part";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = WriteBytes(file, text.data(), text.size()) == 1;
    if (std::fflush(file) != 0 || std::ferror(file)) ok = false;
    if (std::fclose(file) != 0) ok = false;
    if (ok && PlatformReplaceFile(temp.c_str(), path)) return true;
    PlatformDeleteFile(temp.c_str());
    return false;
}

std::string Summary(const char* path, const ImportReport& report) {
    std::string text =
        Text(kSummaryText, FileNameOf(path), report.added, report.duplicates, report.notUnderstood);
    for (const ImportProblem& problem : report.problems)
        text += Text(kProblemText, problem.line, problem.reason.c_str());
    const int more = report.notUnderstood - static_cast<int>(report.problems.size());
    if (more > 0) text += Text(kMoreProblems, more);
    return text;
}

int Refuse(std::string* message, const std::string& text) {
    *message = text;
    PlatformWaitCursor(false);
    return 0;
}

}  // namespace

EventsFormat FormatOfName(const char* path) {
    std::string name = FileNameOf(path);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (EndsWith(name, ".ics") || EndsWith(name, ".ical")) return kFormatICalendar;
    if (EndsWith(name, ".vcf") || EndsWith(name, ".vcard")) return kFormatVCard;
    if (EndsWith(name, ".csv")) return kFormatCsv;
    return kFormatUnknown;
}

int ImportEvents(const char* path, ImportReport* report) {
    *report = ImportReport();
    const EventsFormat format = FormatOfName(path);
    const char* name = FileNameOf(path);
    if (format == kFormatUnknown) return Refuse(&report->message, Text(kUnknownKind, name));
    PlatformWaitCursor(true);
    std::string text;
    const int read = ReadInput(path, &text);
    if (read == 0) return Refuse(&report->message, Text(kCannotRead, path));
    if (read < 0) return Refuse(&report->message, Text(kTooLarge, name));

    ImportBatch batch;
    EventsScan scan;
    if (ScanEventsFile(KnowEvent, &batch, &scan) < 0)
        return Refuse(&report->message, Text(kEventsFileUnreadable));
    if (CheckText(&text, format, &batch.damage)) {
        if (format == kFormatICalendar) ReadICalendar(text, &batch);
        if (format == kFormatVCard) ReadVCards(text, &batch);
        if (format == kFormatCsv) ReadCsv(text, &batch);
    }
    if (batch.damage.id != 0) {
        const std::string reason = Text(batch.damage.id, batch.damage.detail.c_str());
        return Refuse(&report->message, Text(kRefusedInput, name, batch.damage.line, reason.c_str()));
    }
    report->added = batch.added;
    report->duplicates = batch.duplicates;
    report->notUnderstood = batch.notUnderstood;
    report->problems = batch.problems;
    if (batch.added > 0 && !AppendEventLines(batch.lines.c_str())) return Refuse(&report->message, "");
    PlatformWaitCursor(false);
    report->message = Summary(path, *report);
    return 1;
}

int ExportEvents(const char* path, ExportReport* report) {
    *report = ExportReport();
    const EventsFormat format = FormatOfName(path);
    if (format != kFormatICalendar && format != kFormatCsv)
        return Refuse(&report->message, Text(kExportKinds));
    PlatformWaitCursor(true);
    ExportJob job;
    job.format = format;
    EventsScan scan;
    if (format == kFormatICalendar) BeginICalendar(&job.calendar);
    if (format == kFormatCsv) WriteCsvHeader(&job.csv);
    const int read = ScanEventsFile(ExportEvent, &job, &scan);
    if (format == kFormatICalendar) EndICalendar(&job.calendar);
    if (read == 0) return Refuse(&report->message, Text(kNoEventsFile));
    if (read < 0) return Refuse(&report->message, Text(kEventsFileUnreadable));
    if (!WriteOutput(path, format == kFormatICalendar ? job.calendar.text : job.csv)) {
        return Refuse(&report->message, Text(kCannotWrite, path));
    }
    report->exported = job.count;
    PlatformWaitCursor(false);
    report->leftOut = scan.leftOut;
    report->firstLeftOut = scan.firstLeftOut;
    report->message = Text(kExportedText, FileNameOf(path), report->exported);
    if (scan.leftOut > 0) report->message += Text(kLeftOutText, scan.leftOut, scan.firstLeftOut);
    return 1;
}
