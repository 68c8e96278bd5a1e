#include "storage/events_check.h"

#include <cstdio>
#include <cstring>

#include "app/load_str.h"
#include "model/calendar.h"
#include "model/macros.h"
#include "storage/events_file.h"

namespace {

enum {
    kStopsHere = 5180,  // after the message of a broken line
    kLongMessage = 5181,
    kLongNotes = 5182,
    kBadMacro = 5183,   // %s: "message" or "notes"
    kSplitLine = 5184,  // %d: the line the rest is counted as
};

constexpr char kNotesMark = 30;

int MessageColumn(int version) {
    if (version == kVersion140) return 22;
    if (version == kVersion130 || version == kVersion120) return 13;
    return 24;
}

void Add(std::vector<EventsFileProblem>* problems, int line, const std::string& text) {
    problems->push_back({line, text});
}

// What the reader changes in a sound line without saying so.
void CheckFields(const char* line, int lineNumber, int version, std::vector<EventsFileProblem>* problems) {
    const size_t length = std::strlen(line);
    const size_t column = static_cast<size_t>(MessageColumn(version));
    const char* text = column < length ? line + column : "";
    const char* mark = std::strchr(text, kNotesMark);
    const size_t messageLength = mark ? static_cast<size_t>(mark - text) : std::strlen(text);
    if (messageLength > kMessageSize - 1) Add(problems, lineNumber, LoadStr(kLongMessage));
    if (mark && std::strlen(mark + 1) > kNotesSize - 1) Add(problems, lineNumber, LoadStr(kLongNotes));
    const Duty* duty = ParseDutyLine(line, lineNumber, version);
    char which[256];
    if (CheckMacros(duty->message) != kMacrosValid) {
        std::snprintf(which, sizeof which, LoadStr(kBadMacro), "message");
        Add(problems, lineNumber, which);
    }
    if (CheckMacros(duty->notes) != kMacrosValid) {
        std::snprintf(which, sizeof which, LoadStr(kBadMacro), "notes");
        Add(problems, lineNumber, which);
    }
}

}  // namespace

int CheckEventsFile(std::vector<EventsFileProblem>* problems) {
    FILE* file = std::fopen(kEventsFileName, "rb");
    if (file == nullptr) return 0;
    static char line[kDueLineBufferSize];
    char text[2048];
    const int version = std::fgets(line, sizeof line, file) != nullptr ? VersionOfLine(line) : 0;
    if (version == 0) {
        std::snprintf(text, sizeof text, LoadStr(2040), 1);
        Add(problems, 1, text);
        std::fclose(file);
        return -1;
    }
    int lineNumber = 1;
    while (std::fgets(line, sizeof line, file) != nullptr) {
        ++lineNumber;
        const size_t length = std::strlen(line);
        if (length == sizeof line - 1 && line[length - 1] != '\n') {
            std::snprintf(text, sizeof text, LoadStr(kSplitLine), lineNumber + 1);
            Add(problems, lineNumber, text);
        }
        if (IsSkippableLine(line)) continue;
        const int problem = DutyLineProblem(line, lineNumber, version, text, sizeof text);
        if (problem == kBrokenLayout) {
            Add(problems, lineNumber, std::string(text) + " " + LoadStr(kStopsHere));
        } else if (problem == kImpossibleDate) {
            Add(problems, lineNumber, text);
        } else {
            CheckFields(line, lineNumber, version, problems);
        }
    }
    std::fclose(file);
    return 1;
}
