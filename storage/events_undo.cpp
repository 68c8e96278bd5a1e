#include "storage/events_undo.h"

#include <cstdio>

#include "app/load_str.h"
#include "app/platform.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "storage/events_save.h"

namespace {
enum {
    kUndoCaption = 5401,     // "Cofnij ostatnią zmianę"
    kUndoQuestion = 5402,    // the time, the date, events then, events now
    kUnreadableText = 5404,  // the version's name
};
constexpr int kPathSize = 64;
}  // namespace

int CountEventLines(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    static char line[kDueLineBufferSize];
    int count = 0;
    bool first = true;
    while (ReadOneLine(file, line, sizeof line)) {
        if (!first && !IsSkippableLine(line)) ++count;
        first = false;
    }
    std::fclose(file);
    return count;
}

int RestoreVersion(const EventsVersion& version) {
    char path[kPathSize];
    VersionPath(version.name, path, sizeof path);
    FILE* content = std::fopen(path, "rb");
    if (content == nullptr) {
        char text[1024];
        std::snprintf(text, sizeof text, LoadStr(kUnreadableText), path);
        PlatformMessageBox(text, LoadStr(kUndoCaption), kBoxOk | kBoxIconError);
        return 0;
    }
    const int done = ReplaceEventsWith(content);
    std::fclose(content);
    return done;
}

bool FindUndoVersion(EventsVersion* version) {
    for (const EventsVersion& candidate : ListVersions()) {
        char path[kPathSize];
        VersionPath(candidate.name, path, sizeof path);
        if (SameContent(path, kEventsFileName)) continue;
        *version = candidate;
        return true;
    }
    return false;
}

int UndoLastChange() {
    EventsVersion version;
    if (!FindUndoVersion(&version)) return 0;
    char path[kPathSize];
    VersionPath(version.name, path, sizeof path);
    char time[16], date[32], text[1024];
    std::snprintf(time, sizeof time, "%02d:%02d", version.hour, version.minute);
    std::snprintf(date, sizeof date, "%02d/%s/%04d", version.day, MonthShortName(version.month),
                  version.year);
    std::snprintf(text, sizeof text, LoadStr(kUndoQuestion), time, date, CountEventLines(path),
                  CountEventLines(kEventsFileName));
    if (PlatformMessageBox(text, LoadStr(kUndoCaption), kBoxYesNo | kBoxIconQuestion) != kAnswerYes) return 0;
    return RestoreVersion(version);
}
