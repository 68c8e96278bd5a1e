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
    kBadMacro = 5183,  // %s: "message" or "notes"
    kCutLine = 5184,
};

void Add(std::vector<EventsFileProblem>* problems, int line, const std::string& text) {
    problems->push_back({line, text});
}

// What the reader changes in a sound line without saying so.
void CheckFields(const char* line, int lineNumber, int version, std::vector<EventsFileProblem>* problems) {
    const DutyText text = SplitDutyText(line, std::strlen(line), version);
    if (text.length > kMessageSize - 1) Add(problems, lineNumber, LoadStr(kLongMessage));
    if (text.notes && std::strlen(text.notes) > kNotesSize - 1)
        Add(problems, lineNumber, LoadStr(kLongNotes));
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
    const int version = ReadOneLine(file, line, sizeof line) ? VersionOfLine(line) : 0;
    if (version == 0) {
        std::snprintf(text, sizeof text, LoadStr(2040), 1);
        Add(problems, 1, text);
        std::fclose(file);
        return -1;
    }
    int lineNumber = 1;
    // Lines are counted as the due list counts them: by their line ends.
    while (ReadOneLine(file, line, sizeof line)) {
        ++lineNumber;
        const size_t length = std::strlen(line);
        if (length == sizeof line - 1 && line[length - 1] != '\n')
            Add(problems, lineNumber, LoadStr(kCutLine));
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
