#include "storage/events_history.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <dirent.h>
#endif

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "storage/safe_rewrite.h"

int lostVersionReported = 0;

namespace {

constexpr int kLostVersionText = 5403;
constexpr int kStemLength = 19;  // "2026-12-07_14-32-05"
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// The fields are in range here, so the name fits; the room is for the
// compiler, which cannot know that.
void FormatVersionName(EventsVersion* v) {
    char number[16] = "";
    if (v->number > 0) std::snprintf(number, sizeof number, "_%03d", v->number);
    char name[128];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d_%02d-%02d-%02d%s.events", v->year, v->month, v->day,
                  v->hour, v->minute, v->second, number);
    CopyText(v->name, name, sizeof v->name);
}

// Reads exactly `count` decimal digits. A hand-made reader, because sscanf
// alone would pull the whole scanf machinery into the program.
bool ReadDigits(const char* text, int count, int* value) {
    *value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

// Only a name exactly as FormatVersionName writes it is a version; the
// separators are checked by writing the name again.
bool ParseVersionName(const char* name, EventsVersion* v) {
    std::memset(v, 0, sizeof *v);
    if (std::strlen(name) >= sizeof v->name) return false;
    const bool stemRead = ReadDigits(name, 4, &v->year) && ReadDigits(name + 5, 2, &v->month) &&
                          ReadDigits(name + 8, 2, &v->day) && ReadDigits(name + 11, 2, &v->hour) &&
                          ReadDigits(name + 14, 2, &v->minute) && ReadDigits(name + 17, 2, &v->second);
    if (!stemRead) return false;
    if (name[kStemLength] == '_' && !ReadDigits(name + kStemLength + 1, 3, &v->number)) return false;
    const bool inRange = v->year >= 0 && v->month >= 1 && v->month <= 12 && v->day >= 1 && v->day <= 31 &&
                         v->hour >= 0 && v->hour <= 23 && v->minute >= 0 && v->minute <= 59 &&
                         v->second >= 0 && v->second <= 60 && v->number >= 0 &&
                         v->number <= kLastVersionNumber;
    if (!inRange) return false;
    char original[kVersionNameSize];
    CopyText(original, name, sizeof original);
    FormatVersionName(v);
    return std::strcmp(original, v->name) == 0;
}

// The names in the history folder, in no order.
std::vector<std::string> FolderNames() {
    std::vector<std::string> names;
#ifdef _WIN32
    char pattern[64];
    std::snprintf(pattern, sizeof pattern, "%s%c*.events", kHistoryFolderName, kSeparator);
    _finddata_t found;
    intptr_t search = _findfirst(pattern, &found);
    if (search == -1) return names;
    do {
        if (!(found.attrib & _A_SUBDIR)) names.push_back(found.name);
    } while (_findnext(search, &found) == 0);
    _findclose(search);
#else
    DIR* folder = opendir(kHistoryFolderName);
    if (folder == nullptr) return names;
    while (const dirent* entry = readdir(folder)) names.push_back(entry->d_name);
    closedir(folder);
#endif
    return names;
}

bool MakeFolder() {
#ifdef _WIN32
    if (_mkdir(kHistoryFolderName) == 0) return true;
#else
    if (mkdir(kHistoryFolderName, 0777) == 0) return true;
#endif
    return errno == EEXIST;  // a file of that name makes the copy fail later
}

// -1 when the file cannot be read, 0 when it is missing or empty, 1 otherwise.
int HasContent(const char* name) {
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr) return errno == ENOENT ? 0 : -1;
    const bool empty = std::fgetc(file) == EOF;
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? -1 : empty ? 0 : 1;
}

// The name for a version kept now: after the newest one, even when the clock
// shows the same second again or was put back (the end of summer time), so
// that the newest version is always the one kept last.
bool NextVersion(time_t now, const EventsVersion* newest, EventsVersion* next) {
    std::memset(next, 0, sizeof *next);
    const struct tm* local = std::localtime(&now);
    if (local == nullptr) return false;
    next->year = local->tm_year + 1900;
    next->month = local->tm_mon + 1;
    next->day = local->tm_mday;
    next->hour = local->tm_hour;
    next->minute = local->tm_min;
    next->second = local->tm_sec;
    FormatVersionName(next);
    if (newest != nullptr && std::strncmp(next->name, newest->name, kStemLength) <= 0) {
        *next = *newest;
        if (++next->number > kLastVersionNumber) return false;
        FormatVersionName(next);
    }
    return true;
}

}  // namespace

std::vector<EventsVersion> ListVersions() {
    std::vector<EventsVersion> versions;
    for (const std::string& name : FolderNames()) {
        EventsVersion version;
        if (ParseVersionName(name.c_str(), &version)) versions.push_back(version);
    }
    // The names sort in time order.
    std::sort(versions.begin(), versions.end(),
              [](const EventsVersion& a, const EventsVersion& b) { return std::strcmp(a.name, b.name) > 0; });
    return versions;
}

void VersionPath(const char* name, char* path, int size) {
    std::snprintf(path, static_cast<size_t>(size), "%s%c%s", kHistoryFolderName, kSeparator, name);
}

int KeepVersion(const char* file, char made[kVersionNameSize]) {
    made[0] = '\0';
    const int content = HasContent(file);
    if (content <= 0) return content == 0 ? 1 : 0;
    const std::vector<EventsVersion> versions = ListVersions();
    const EventsVersion* newest = versions.empty() ? nullptr : &versions.front();
    char path[64];
    if (newest != nullptr) {
        VersionPath(newest->name, path, sizeof path);
        if (SameContent(file, path)) return 1;
    }
    EventsVersion next;
    if (!NextVersion(PlatformNow(), newest, &next) || !MakeFolder()) return 0;
    VersionPath(next.name, path, sizeof path);
    if (!SafeCopyFile(file, path)) return 0;
    CopyText(made, next.name, kVersionNameSize);
    return 1;
}

bool SameContent(const char* first, const char* second) {
    FILE* a = std::fopen(first, "rb");
    FILE* b = std::fopen(second, "rb");
    bool same = a != nullptr && b != nullptr;
    while (same) {
        char bufferA[8192], bufferB[8192];
        const size_t n = std::fread(bufferA, 1, sizeof bufferA, a);
        same = std::fread(bufferB, 1, sizeof bufferB, b) == n && std::memcmp(bufferA, bufferB, n) == 0;
        if (n < sizeof bufferA) break;
    }
    if (same && (std::ferror(a) || std::ferror(b))) same = false;
    if (a) std::fclose(a);
    if (b) std::fclose(b);
    return same;
}

void DropVersion(const char* name) {
    char path[64];
    VersionPath(name, path, sizeof path);
    PlatformDeleteFile(path);
}

void PruneVersions() {
    const std::vector<EventsVersion> versions = ListVersions();
    for (size_t i = kVersionsKept; i < versions.size(); ++i) DropVersion(versions[i].name);
}

void ReportLostVersion() {
    if (lostVersionReported) return;
    lostVersionReported = 1;
    char text[1024];
    std::snprintf(text, sizeof text, LoadStr(kLostVersionText), kHistoryFolderName, workingDirectory);
    PlatformMessageBox(text, kProgramTitle, kBoxOk | kBoxIconWarning);
}
