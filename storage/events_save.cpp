#include "storage/events_save.h"

#include <cerrno>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "storage/safe_rewrite.h"

namespace {

// The events file being read while its new content is written. Each writer
// closes it when done: the file cannot be replaced while it is open.
struct EventsSource {
    FILE* in;
};

void CloseSource(EventsSource* source) {
    if (source->in) std::fclose(source->in);
    source->in = nullptr;
}

// Appends `lines` to the file, leaving out its line `drop` (0: none).
struct AppendJob {
    EventsSource source;  // null `in`: there is no events file yet
    int drop;
    const char* lines;    // whole lines, each with its line end
};

struct RemoveJob {
    EventsSource source;
    int line;
};

struct UpgradeJob {
    EventsSource source;
    int version;
};

void ReportEventsWriteError() {
    char text[1024];
    std::snprintf(text, sizeof text, LoadStr(2015), workingDirectory);
    PlatformMessageBox(text, kProgramTitle, kBoxOk | kBoxIconError);
}

// Copies every byte of `in` except those of line `drop` (1-based, counted by
// line ends; 0 drops nothing), so lines of any length survive unchanged.
// `last` receives the last byte written; it keeps its value when none was.
bool CopyWithoutLine(FILE* in, FILE* out, int drop, int* last) {
    char buffer[8192];
    size_t n;
    int line = 1;
    bool ok = true;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        size_t start = 0;
        for (size_t i = 0; i <= n && ok; ++i) {
            bool lineEnd = i < n && buffer[i] == '\n';
            if (!lineEnd && i < n) continue;
            size_t end = lineEnd ? i + 1 : n;
            if (line != drop && end > start) {
                ok = WriteBytes(out, buffer + start, end - start) == 1;
                *last = static_cast<unsigned char>(buffer[end - 1]);
            }
            start = end;
            if (lineEnd) ++line;
        }
    }
    return ok && !std::ferror(in);
}

// The old file (but the line to drop), then the new lines. A file that ends
// without a line end gets one first, so a new line never joins the last one;
// a file that is missing or empty gets the header first, or no reader could
// use it.
int WriteAppended(FILE* out, void* context) {
    AppendJob* job = static_cast<AppendJob*>(context);
    int last = EOF;
    bool ok = !job->source.in || CopyWithoutLine(job->source.in, out, job->drop, &last);
    CloseSource(&job->source);
    if (!ok) return 0;
    if (last == EOF) {
        if (!WriteFileHeader(out) || !WriteText(out, "\r\n")) return 0;
    } else if (last != '\n') {
        if (!WriteText(out, "\r\n")) return 0;
    }
    return WriteText(out, job->lines);
}

// Every byte of the file except those of line `job->line`.
int WriteWithoutLine(FILE* out, void* context) {
    RemoveJob* job = static_cast<RemoveJob*>(context);
    int last;
    bool ok = CopyWithoutLine(job->source.in, out, job->line, &last);
    CloseSource(&job->source);
    return ok ? 1 : 0;
}

// The header, a blank line and each event in the current format; comments
// and blank lines of the old file are dropped.
int WriteUpgraded(FILE* out, void* context) {
    UpgradeJob* job = static_cast<UpgradeJob*>(context);
    FILE* in = job->source.in;
    static char line[kDueLineBufferSize];
    bool ok = WriteFileHeader(out) && WriteText(out, "\r\n");
    int counter = 1;
    while (ok && ReadOneLine(in, line, sizeof line)) {
        ++counter;
        if (IsSkippableLine(line)) continue;
        ok = WriteText(out, FormatDutyLine(*ParseDutyLine(line, counter, job->version))) == 1;
    }
    if (std::ferror(in)) ok = false;
    CloseSource(&job->source);
    return ok ? 1 : 0;
}

// A change that could not be written is reported, since the user's entry is
// lost with it; a written one asks for the list to be rebuilt.
int FinishChange(int done) {
    if (!done) {
        ReportEventsWriteError();
        return 0;
    }
    PlatformPostCommand(CMD_RELOAD_LIST);
    return 1;
}

// Appends `lines`, leaving out line `drop` of the file (0: none).
int AppendLinesDropping(const char* lines, int drop) {
    PlatformWaitCursor(true);
    AppendJob job;
    job.source.in = std::fopen(kEventsFileName, "rb");
    bool readable = job.source.in != nullptr || errno == ENOENT;
    job.drop = drop;
    job.lines = lines;
    // Without its version line no reader could use the file again.
    int done = readable && drop != 1 && RewriteFile(kEventsFileName, WriteAppended, &job, kBackupNewFile);
    CloseSource(&job.source);
    PlatformWaitCursor(false);
    return FinishChange(done);
}

}  // namespace

int AppendDuty(const Duty& duty) { return AppendLinesDropping(FormatDutyLine(duty), 0); }

int AppendEventLines(const char* lines) { return AppendLinesDropping(lines, 0); }

int ReplaceDutyLine(const Duty& duty) { return AppendLinesDropping(FormatDutyLine(duty), duty.line); }

int ReplaceEventsWith(FILE* content) {
    PlatformWaitCursor(true);
    const int done = RewriteFile(kEventsFileName, WriteRestOfFile, content, kBackupNewFile);
    PlatformWaitCursor(false);
    return FinishChange(done);
}

int RemoveDutyLine(const Duty& duty) {
    PlatformWaitCursor(true);
    RemoveJob job;
    job.source.in = std::fopen(kEventsFileName, "rb");
    job.line = duty.line;
    // Without its version line no reader could use the file again; without
    // the file at all, the caller would drop the edited event unseen.
    int done = job.source.in != nullptr && duty.line != 1 &&
               RewriteFile(kEventsFileName, WriteWithoutLine, &job, kBackupOldFile);
    CloseSource(&job.source);
    PlatformWaitCursor(false);
    return FinishChange(done);
}

int UpgradeEventsFile() {
    UpgradeJob job;
    job.source.in = std::fopen(kEventsFileName, "rb");
    if (!job.source.in) return 0;
    PlatformWaitCursor(true);
    job.version = ReadFileVersion(job.source.in);
    int done = 1;
    if (job.version != kVersion141 && job.version != 0) {
        done = RewriteFile(kEventsFileName, WriteUpgraded, &job, kBackupOldFile);
    }
    CloseSource(&job.source);
    PlatformWaitCursor(false);
    return done;
}
