// Lines of the events file: the header, the version line and one event per
// line in fixed columns.
#pragma once

#include <cstddef>
#include <cstdio>

#include "model/duty.h"

constexpr const char* kEventsFileName = "quillbee.events";

// Version codes of the files this program reads; 0 is "not recognised".
enum { kVersion141 = 141, kVersion140 = 140, kVersion130 = 130, kVersion120 = 120 };

// Line buffers of the readers; both hold the longest line a writer produces.
constexpr int kLineBufferSize = 4276;
constexpr int kDueLineBufferSize = 8372;

// Writes the three comment lines that head every data file. Returns 1 when
// every byte was written, 0 otherwise.
int WriteFileHeader(FILE* file);

// The version a file's first line names, or 0.
int VersionOfLine(const char* line);

// Reads one whole line into `buffer`, its line end included; what does not
// fit is skipped, so the rest of an overlong line is never taken for a line
// of its own. False at the end of the file.
bool ReadOneLine(FILE* in, char* buffer, int size);

// Rewinds `file`, reads its first line and returns the version it names. An
// unrecognised line is reported as fatal, the program is asked to quit and 0
// is returned.
int ReadFileVersion(FILE* file);

// The current-format line for `duty`, CR LF included, in one static buffer.
const char* FormatDutyLine(const Duty& duty);

// Parses a line already normalised by IsSkippableLine; fills and returns one
// static record that the next call overwrites. Safe on any bytes.
Duty* ParseDutyLine(const char* line, int lineNumber, int version);

// The part of ParseDutyLine that reads the message and the notes of a
// normalised line of `length` bytes, into `duty`'s own.
void ParseDutyText(const char* line, size_t length, int version, Duty* duty);

// Where the message of a normalised line of `length` bytes is, how long it
// is as written, how much of it a record keeps, and where its notes begin,
// after their mark (null for none).
struct DutyText {
    const char* message;
    size_t length;
    size_t kept;
    const char* notes;
};
DutyText SplitDutyText(const char* line, size_t length, int version);

// What the readers' check finds in a normalised line: nothing, a broken
// layout (reading stops there) or an impossible date (the user may skip the
// line). The message the program shows for it goes to `text` ("" for none).
enum { kLineSound = 0, kBrokenLayout = 1, kImpossibleDate = 2 };
int DutyLineProblem(const char* line, int lineNumber, int version, char* text, size_t size);

// DutyLineProblem with the program's messages: 1 use the line, -2 skip it
// (the user chose to), -1 stop reading.
int ValidateDutyLine(const char* line, int lineNumber, int version);
