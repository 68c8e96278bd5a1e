// Arbitrary bytes as one line of the events file: judging a line by its
// normalised start, or by its raw start when it stands as written (as the
// due list does), must agree with normalising and parsing the whole line, and the $Age expansion of the bytes must stay
// within any output buffer.
#include <cstdint>
#include <cstring>

#include "app/platform.h"
#include "model/calendar.h"
#include "model/due_list.h"
#include "model/macros.h"
#include "storage/events_file.h"
#include "tests/fake_platform.h"

namespace {

const int kVersions[] = {kVersion141, kVersion140, kVersion130, kVersion120};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckHeadAgreesWithWholeLine(const char* bytes, int version) {
    static char whole[kDueLineBufferSize];
    std::strcpy(whole, bytes);
    char head[32];
    const bool headSkipped = IsSkippableLineHead(bytes, head, sizeof head);
    Check(std::strcmp(bytes, whole) == 0);  // the line itself is left alone
    const bool wholeSkipped = IsSkippableLine(whole);
    Check(headSkipped == wholeSkipped);
    Check(std::strncmp(head, whole, std::strlen(head)) == 0);
    if (wholeSkipped) return;

    fake.answers.assign(1, kAnswerYes);
    const int headVerdict = ValidateDutyLine(head, 9, version);
    fake.answers.assign(1, kAnswerYes);
    const int wholeVerdict = ValidateDutyLine(whole, 9, version);
    Check(headVerdict == wholeVerdict);

    const Duty fromHead = *ParseDutyLine(head, 9, version);
    const Duty fromWhole = *ParseDutyLine(whole, 9, version);
    Check(fromHead.day == fromWhole.day && fromHead.month == fromWhole.month && fromHead.year == fromWhole.year);
    Check(fromHead.yearly == fromWhole.yearly && fromHead.repeatMark == fromWhole.repeatMark);
    Check(fromHead.warnBefore == fromWhole.warnBefore && fromHead.warnAfter == fromWhole.warnAfter);
    Check(DaysLeft(fromHead) == DaysLeft(fromWhole));
}

// A line that the fast way accepts is one the general way uses as it stands.
void CheckFastWayAgrees(const char* line, int version) {
    Duty fast;
    if (!ReadWrittenDutyFields(line, 9, version, &fast)) return;
    static char whole[kDueLineBufferSize];
    std::strcpy(whole, line);
    Check(!IsSkippableLine(whole));
    fake.boxes.clear();
    Check(ValidateDutyLine(whole, 9, version) == 1 && fake.boxes.empty());
    const Duty parsed = *ParseDutyLine(whole, 9, version);
    Check(fast.line == parsed.line && fast.day == parsed.day && fast.month == parsed.month);
    Check(fast.year == parsed.year && fast.yearly == parsed.yearly && fast.repeatMark == parsed.repeatMark);
    Check(fast.warnBefore == parsed.warnBefore && fast.warnAfter == parsed.warnAfter);
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
    CheckHeadAgreesWithWholeLine(line, version);
    CheckFastWayAgrees(line, version);
    CheckExpansionStaysInside(line, data[0] % 2 ? std::strlen(line) + 1 : data[1] % 40, data[1] * 7 - 900);
    return 0;
}
