// Feeds arbitrary bytes, as one line of an events file of each version,
// through the line readers and the writer, and checks that a record read
// from a line survives being written and read again.
#include <cstdint>
#include <cstring>

#include "app/platform.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "tests/fake_platform.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

size_t TrimmedLength(const char* text) {
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == ' ') --n;
    return n;
}

// A record that a writer could have produced: it must come back as it was.
bool IsWritable(const Duty& d) {
    return d.message[0] != '\0' && d.message[0] != ' ' && d.month >= 1 && d.month <= 12 && d.day >= 0 &&
           d.day <= 99 && d.year >= 0 && d.year <= 9999 && (d.yearly == 0 || d.yearly == 1) &&
           d.warnBefore >= 0 && d.warnBefore <= 999 && d.warnAfter >= 0 && d.warnAfter <= 999 &&
           d.repeatMark > ' ' && d.repeatMark <= '~' && std::strchr(d.notes, 30) == nullptr &&
           std::strlen(d.message) < kMessageSize - 1 && std::strlen(d.notes) < kNotesSize - 1;
}

void CheckRoundTrip(const Duty& original) {
    static char line[2 * kNotesSize + 512];
    std::snprintf(line, sizeof line, "%s", FormatDutyLine(original));
    const size_t length = std::strlen(line);
    Check(length >= 2 && std::strpbrk(line, "\r\n") == line + length - 2 && line[length - 2] == '\r' &&
          line[length - 1] == '\n');
    Check(!IsSkippableLine(line) || original.day < 0);
    Check(ValidateDutyLine(line, 2, kVersion141) == 1 || original.day == 0 ||
          original.day > DaysInMonth(original.month));
    const Duty back = *ParseDutyLine(line, 2, kVersion141);
    Check(back.day == original.day && back.month == original.month && back.year == original.year);
    Check(back.yearly == original.yearly && back.repeatMark == original.repeatMark);
    Check(back.warnBefore == original.warnBefore && back.warnAfter == original.warnAfter);
    Check(std::strcmp(back.notes, original.notes) == 0 || original.notes[0] == '\0');
    // Without notes a blank at the end of the message is a blank at the end of the line.
    const size_t n = original.notes[0] != '\0' ? kMessageSize : TrimmedLength(original.message);
    Check(std::strncmp(back.message, original.message, n) == 0 &&
          (original.notes[0] != '\0' || TrimmedLength(back.message) == n));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static char line[kDueLineBufferSize];
    if (size == 0 || size >= sizeof line) return 0;
    ResetFakePlatform();
    fake.now = 1290000000;  // November 2010
    const int versions[] = {kVersion141, kVersion140, kVersion130, kVersion120},
              version = versions[data[0] % 4];
    std::memcpy(line, data + 1, size - 1);
    line[size - 1] = '\0';
    if (IsSkippableLine(line)) return 0;

    fake.answers.push_back(kAnswerYes);
    const int verdict = ValidateDutyLine(line, 7, version);
    Check(verdict == 1 || verdict == -1 || verdict == -2);
    const Duty parsed = *ParseDutyLine(line, 7, version);
    Check(std::strlen(parsed.message) < kMessageSize && std::strlen(parsed.notes) < kNotesSize);
    Check(parsed.line == 7);
    if (verdict == 1) Check(parsed.day >= 1 && parsed.day <= DaysInMonth(parsed.month));
    // The writer must cope with whatever the reader made of the bytes.
    Check(std::strlen(FormatDutyLine(parsed)) >= 2);
    if (IsWritable(parsed)) CheckRoundTrip(parsed);
    return 0;
}
