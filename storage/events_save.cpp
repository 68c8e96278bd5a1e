#include "storage/events_save.h"

#include <cerrno>
#include <cstring>

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

struct AppendJob {
    EventsSource source;  // null `in`: there is no events file yet
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

// The old file, byte for byte, then the new lines. A file that ends without
// a line end gets one first, so a new line never joins the last one; a file
// that is missing or empty gets the header first, or no reader could use it.
int WriteAppended(FILE* out, void* context) {
    AppendJob* job = static_cast<AppendJob*>(context);
    FILE* in = job->source.in;
    bool ok = true;
    bool empty = true;
    char last = '\n';
    if (in) {
        char buffer[8192];
        size_t n;
        while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            ok = WriteBytes(out, buffer, n) == 1;
            empty = false;
            last = buffer[n - 1];
        }
        if (std::ferror(in)) ok = false;
    }
    CloseSource(&job->source);
    if (!ok) return 0;
    if (empty) {
        if (!WriteFileHeader(out) || !WriteText(out, "\r\n")) return 0;
    } else if (last != '\n') {
        if (!WriteText(out, "\r\n")) return 0;
    }
    return WriteText(out, job->lines);
}

// Every byte of the file except those of line `job->line` (1-based, counted
// by line ends), so lines of any length survive unchanged.
int WriteWithoutLine(FILE* out, void* context) {
    RemoveJob* job = static_cast<RemoveJob*>(context);
    FILE* in = job->source.in;
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
            if (line != job->line && end > start) ok = WriteBytes(out, buffer + start, end - start) == 1;
            start = end;
            if (lineEnd) ++line;
        }
    }
    if (std::ferror(in)) ok = false;
    CloseSource(&job->source);
    return ok ? 1 : 0;
}

// Reads one whole line into `buffer`; what does not fit is skipped, so the
// rest of an overlong line is never taken for a line of its own.
bool ReadWholeLine(FILE* in, char* buffer, int size) {
    if (!std::fgets(buffer, size, in)) return false;
    size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] != '\n') {
        int c;
        while ((c = std::fgetc(in)) != EOF && c != '\n') {
        }
    }
    return true;
}

// The header, a blank line and each event in the current format; comments
// and blank lines of the old file are dropped.
int WriteUpgraded(FILE* out, void* context) {
    UpgradeJob* job = static_cast<UpgradeJob*>(context);
    FILE* in = job->source.in;
    static char line[kDueLineBufferSize];
    bool ok = WriteFileHeader(out) && WriteText(out, "\r\n");
    int counter = 1;
    while (ok && ReadWholeLine(in, line, sizeof line)) {
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

}  // namespace

int AppendDuty(const Duty& duty) { return AppendEventLines(FormatDutyLine(duty)); }

int AppendEventLines(const char* lines) {
    PlatformWaitCursor(true);
    AppendJob job;
    job.source.in = std::fopen(kEventsFileName, "rb");
    bool readable = job.source.in != nullptr || errno == ENOENT;
    job.lines = lines;
    int done = readable && RewriteFile(kEventsFileName, WriteAppended, &job, kBackupNewFile);
    CloseSource(&job.source);
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
