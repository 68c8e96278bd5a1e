// Arbitrary bytes as one line of the events file: judging a line by its raw
// start when it stands as written, as the due list does, must agree with
// normalising and parsing the whole line; as a whole file, the block reader
// must number its lines by their ends; and the $Age expansion of the bytes
// must stay within any output buffer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/platform.h"
#include "model/calendar.h"
#include "model/due_list.h"
#include "model/macros.h"
#include "storage/events_file.h"
#include "storage/line_reader.h"
#include "storage/written_line.h"
#include "tests/fake_platform.h"

namespace {

const int kVersions[] = {kVersion141, kVersion140, kVersion130, kVersion120};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// The bytes as a whole file read by the block reader, with small blocks and
// a small longest line so that every way through it is taken: it must hand
// out the lines as counted by their line ends, each cut to the longest.
void CheckLinesAgreeWithLineEnds(const uint8_t* data, size_t size, size_t longest, size_t spare) {
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) return;
    static LineReader lines;
    StartLines(&lines, file, longest + 1 + kLineSlack + spare, longest, 1);
    const char* const end = reinterpret_cast<const char*>(data) + size;
    const char* expected = reinterpret_cast<const char*>(data);
    int number = 1;
    size_t length = 0;
    for (const char* line; (line = NextLine(&lines, &length)) != nullptr;) {
        const char* lineEnd = std::find(expected, end, '\n');
        const size_t whole = static_cast<size_t>(lineEnd - expected);
        Check(length == std::min(whole, longest) && std::memcmp(line, expected, length) == 0);
        Check(line[length] == '\0' && lines.lineNumber == ++number);
        expected = lineEnd == end ? end : lineEnd + 1;
    }
    Check(expected == end);
    std::fclose(file);
}

// A line that the fast way accepts is one the general way uses as it stands,
// with the same fields.
void CheckFastWayAgrees(const char* line, int version) {
    // The columns of an event without limits of its own, by which the due
    // list passes most lines over, are written columns.
    if (HasColumnsWithoutLimits(line)) Check(HasWrittenColumns(line));
    if (HasWrittenColumns(line)) Check(WrittenMonth(line) == MonthFromCodeBytes(line + 3));
    int day, month;
    if (!ReadWrittenDate(line, version, &day, &month)) return;
    Duty fast;
    ReadWrittenFields(line, 9, day, month, &fast);
    static char whole[kDueLineBufferSize];
    std::strcpy(whole, line);
    Check(!IsSkippableLine(whole));
    fake.boxes.clear();
    Check(ValidateDutyLine(whole, 9, version) == 1 && fake.boxes.empty());
    const Duty parsed = *ParseDutyLine(whole, 9, version);
    Check(fast.line == parsed.line && fast.day == parsed.day && fast.month == parsed.month);
    Check(fast.year == parsed.year && fast.yearly == parsed.yearly && fast.repeatMark == parsed.repeatMark);
    Check(fast.warnBefore == parsed.warnBefore && fast.warnAfter == parsed.warnAfter);
    Check((parsed.yearly != 0) == IsWrittenYearly(line));
    if (HasColumnsWithoutLimits(line)) Check(parsed.warnBefore == 0 && parsed.warnAfter == 0);
}

void CheckExpansionStaysInside(const char* text, size_t outputSize, int offset) {
    static char output[kDueLineBufferSize + 16];
    std::memset(output, 'Z', sizeof output);
    const int result = ExpandMacros(text, offset, output, outputSize);
    Check(result == 1 || result == -10 || result == -11);
    Check(output[outputSize] == 'Z');
    if (outputSize > 0) Check(std::strlen(output) < outputSize);
    if (outputSize > std::strlen(text)) {
        Check(std::strlen(output) <= std::strlen(text));
        if (result != 1) Check(std::strcmp(output, text) == 0);
    }
    Check(CheckMacros(text) == 1 || CheckMacros(text) == -10 || CheckMacros(text) == -11);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static char line[kDueLineBufferSize];
    if (size < 3 || size >= sizeof line) return 0;
    ResetFakePlatform();
    fake.now = 1290000000 + static_cast<time_t>(data[1]) * 86400 * 3;  // from November 2010 on
    const int version = kVersions[data[0] % 4];
    std::memcpy(line, data + 2, size - 2);
    line[size - 2] = '\0';
    CheckLinesAgreeWithLineEnds(data + 2, size - 2, 1 + data[1] % 64, data[0] % 64);
    CheckFastWayAgrees(line, version);
    CheckExpansionStaysInside(line, data[0] % 2 ? std::strlen(line) + 1 : data[1] % 40, data[1] * 7 - 900);
    return 0;
}
