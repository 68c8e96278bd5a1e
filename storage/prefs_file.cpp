#include "storage/prefs_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/startup_shortcut.h"
#include "app/state.h"
#include "storage/events_file.h"
#include "storage/first_run.h"
#include "storage/safe_rewrite.h"

namespace {

constexpr int kDataLineSize = 512;
constexpr int kShortFieldCount = 16;  // versions 1.30 and 1.20
constexpr int kFullFieldCount = 30;   // and the face name after them
constexpr int kUserColours = 4;

// How much of `face` (at most `limit` bytes) the file keeps: the name is
// written between single quotes, so a quote would end it, and no face name
// holds a control character. Reader and writer cut alike, so a name read
// back is the name written.
size_t StorableFaceLength(const char* face, size_t limit) {
    size_t n = 0;
    while (n < limit && face[n] != '\'' && static_cast<unsigned char>(face[n]) >= ' ') ++n;
    return n;
}

// The data line: fields 1 to 31, no line end.
void FormatPrefsLine(const Prefs& p, char* line, size_t size) {
    const ListFont& f = p.listFont;
    char face[sizeof f.faceName];
    size_t n = StorableFaceLength(f.faceName, sizeof face - 1);
    std::memcpy(face, f.faceName, n);
    face[n] = '\0';
    std::snprintf(
        line, size,
        "%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %d %ld %ld %ld %ld %ld %d %d %d %d %d %d %d "
        "%d '%s'",
        p.warnDaysBefore, p.warnDaysAfter, p.keepPosition, p.keepWidth, p.alwaysOnTop, p.hideMenuBar,
        p.showTrayIcon, p.startWithSystem, p.windowX, p.windowY, p.windowWidth, p.colourScheme,
        p.userBackground, p.userPastDays, p.userToday, p.userFutureDays, p.showWeekday,
        static_cast<long>(f.height), static_cast<long>(f.width), static_cast<long>(f.escapement),
        static_cast<long>(f.orientation), static_cast<long>(f.weight), f.italic, f.underline, f.strikeOut,
        f.charSet, f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily, face);
}

int WritePrefs(FILE* out, void* context) {
    return WriteFileHeader(out) && WriteText(out, static_cast<const char*>(context));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next blank-separated piece as a decimal number. A piece that is not
// a number counts as missing.
bool NextNumber(const char** cursor, long* value) {
    const char* p = *cursor;
    while (IsBlank(*p)) ++p;
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    if (end == p || (*end != '\0' && !IsBlank(*end))) return false;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    *value = v;
    *cursor = end;
    return true;
}

uint8_t ByteField(long value) { return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

// The text after the first single quote after `text`, cut as
// StorableFaceLength cuts; empty without a quote.
void ReadFaceName(const char* text, char* face, unsigned size) {
    face[0] = '\0';
    const char* start = std::strchr(text, '\'');
    if (!start) return;
    ++start;
    size_t length = StorableFaceLength(start, kDataLineSize - 1);
    char name[kDataLineSize];
    std::memcpy(name, start, length);
    name[length] = '\0';
    CopyText(face, name, size);
}

// Fills `p` from the data line; false (and `p` untouched) when a number is missing.
bool ParsePrefsLine(const char* line, int version, Prefs* p) {
    const bool full = version == kVersion140 || version == kVersion141;
    const int count = full ? kFullFieldCount : kShortFieldCount;
    long v[kFullFieldCount];
    const char* cursor = line;
    for (int i = 0; i < count; ++i) {
        if (!NextNumber(&cursor, &v[i])) return false;
    }
    int32_t* numbers[kShortFieldCount] = {
        &p->warnDaysBefore, &p->warnDaysAfter, &p->keepPosition, &p->keepWidth,
        &p->alwaysOnTop,    &p->hideMenuBar,   &p->showTrayIcon, &p->startWithSystem,
        &p->windowX,        &p->windowY,       &p->windowWidth,  &p->colourScheme,
        &p->userBackground, &p->userPastDays,  &p->userToday,    &p->userFutureDays,
    };
    for (int i = 0; i < kShortFieldCount; ++i) *numbers[i] = static_cast<int32_t>(v[i]);
    if (full) {
        ListFont& f = p->listFont;
        p->showWeekday = static_cast<int32_t>(v[16]);
        f.height = static_cast<int32_t>(v[17]);
        f.width = static_cast<int32_t>(v[18]);
        f.escapement = static_cast<int32_t>(v[19]);
        f.orientation = static_cast<int32_t>(v[20]);
        f.weight = static_cast<int32_t>(v[21]);
        f.italic = ByteField(v[22]);
        f.underline = ByteField(v[23]);
        f.strikeOut = ByteField(v[24]);
        f.charSet = ByteField(v[25]);
        f.outPrecision = ByteField(v[26]);
        f.clipPrecision = ByteField(v[27]);
        f.quality = ByteField(v[28]);
        f.pitchAndFamily = ByteField(v[29]);
        ReadFaceName(cursor, f.faceName, sizeof f.faceName);
    } else {
        // These versions numbered the presets by their radio buttons, and
        // always showed the tray icon.
        if (p->colourScheme == 1720) p->colourScheme = 0;
        if (p->colourScheme == 1730) p->colourScheme = 1;
        if (p->colourScheme == 1740) p->colourScheme = 2;
        if (p->colourScheme == 1750) p->colourScheme = kUserColours;
        p->showTrayIcon = 1;
    }
    // The scheme picks a row of the colour table.
    if (p->colourScheme < 0 || p->colourScheme > kUserColours) p->colourScheme = 0;
    return true;
}

enum LineRead { kNoLine, kWholeLine, kOverlongLine };

// Reads one line, its end included when there is one. Of a line that does
// not fit the buffer, what fits is kept and the rest skipped.
LineRead ReadWholeLine(FILE* in, char* buffer, int size) {
    int length = 0;
    int c = EOF;
    bool overlong = false;
    while ((c = std::fgetc(in)) != EOF) {
        if (length < size - 1) {
            buffer[length++] = static_cast<char>(c);
        } else {
            overlong = true;
        }
        if (c == '\n') break;
    }
    buffer[length] = '\0';
    if (length == 0 && c == EOF) return kNoLine;
    return overlong ? kOverlongLine : kWholeLine;
}

// A file that exists but cannot be opened still exists.
bool FileIsThere(const char* name) {
    FILE* file = std::fopen(name, "rb");
    if (file) {
        std::fclose(file);
        return true;
    }
    return errno != ENOENT;
}

void WelcomeFirstRun() {
    char text[1024];
    char caption[256];
    std::snprintf(text, sizeof text, LoadStr(1210), kProgramName);
    std::snprintf(caption, sizeof caption, LoadStr(1010), kProgramTitle);
    PlatformMessageBox(text, caption, kBoxOk | kBoxIconInformation);
    userPresent = 1;
    WriteSampleEvents();
    UpdateStartupShortcut(prefs.startWithSystem);
}

}  // namespace

int SavePrefs() {
    PlatformWaitCursor(true);
    char line[kDataLineSize];
    FormatPrefsLine(prefs, line, sizeof line);
    int done = RewriteFile(kPrefsFileName, WritePrefs, line, kNoBackup);
    PlatformWaitCursor(false);
    if (done) return 1;
    char text[1024];
    std::snprintf(text, sizeof text, LoadStr(2010), workingDirectory);
    PlatformMessageBox(text, kProgramTitle, kBoxOk | kBoxIconError);
    return 0;
}

int LoadPrefs() {
    PlatformWaitCursor(true);
    FILE* in = std::fopen(kPrefsFileName, "rb");
    if (!in) {
        // A lost preferences file is not a first run: the events are still there.
        bool missing = errno == ENOENT;
        PlatformWaitCursor(false);
        if (missing && !FileIsThere(kEventsFileName)) WelcomeFirstRun();
        return 1;
    }
    int version = ReadFileVersion(in);
    char data[kDataLineSize] = "";
    LineRead read = kNoLine;
    if (version != 0) {
        for (int i = 0; i < 3; ++i) {
            read = ReadWholeLine(in, data, sizeof data);
            if (read == kNoLine) break;
        }
    }
    std::fclose(in);
    PlatformWaitCursor(false);
    if (version == 0) return 1;  // reported, and the program is quitting
    // A data line longer than any the program writes is damaged: its first
    // bytes alone are no settings.
    if (read == kOverlongLine) return -2;
    Prefs loaded = prefs;
    if (!ParsePrefsLine(data, version, &loaded)) return -2;
    prefs = loaded;
    return 1;
}
