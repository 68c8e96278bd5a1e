#include "model/macros.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/load_str.h"
#include "app/state.h"
#include "model/day_number.h"

namespace {

// Name and parameter are read into buffers of this many characters; a '$'
// whose name or parameter would not fit is plain text.
constexpr size_t kMacroFieldLength = 151;
constexpr int64_t kLargestAge = 30000;

struct Output {
    char* text;     // null: nothing is written
    size_t size;
    size_t used;
    bool full;      // something was cut: append nothing more
};

void Append(Output* out, const char* text, size_t length) {
    if (out->text == nullptr || out->size == 0 || out->full) return;
    size_t room = out->size - 1 - out->used;
    if (length > room) {
        length = CharBoundary(text, static_cast<unsigned>(length), static_cast<unsigned>(room));
        out->full = true;
    }
    std::memcpy(out->text + out->used, text, length);
    out->used += length;
    out->text[out->used] = '\0';
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsBlank(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == 32 || (u >= 9 && u <= 13);
}

// The first `mark` among the next kMacroFieldLength + 1 characters of `from`,
// so that what stands before it fits a field; null when there is none.
const char* FindFieldEnd(const char* from, char mark) {
    for (size_t i = 0; i <= kMacroFieldLength; ++i) {
        if (from[i] == '\0') return nullptr;
        if (from[i] == mark) return from + i;
    }
    return nullptr;
}

bool EqualsUpper(const char* name, size_t length, const char* upperWord) {
    size_t i = 0;
    for (; i < length; ++i) {
        if (upperWord[i] == '\0' || UpperAscii(name[i]) != upperWord[i]) return false;
    }
    return upperWord[i] == '\0';
}

bool IsAgeName(const char* name, size_t length) {
    if (EqualsUpper(name, length, "AGE")) return true;
    char word[kMacroFieldLength + 1];
    CopyText(word, LoadStr(3900), sizeof word);
    for (char* c = word; *c; ++c) *c = UpperAscii(*c);
    return EqualsUpper(name, length, word);
}

// A parameter as a base-10 number: leading whitespace, an optional sign and
// digits, nothing after them. An empty parameter is 0. Huge values saturate;
// they are too big for an age anyway.
bool ReadParameter(const char* text, size_t length, int64_t* value) {
    size_t i = 0;
    while (i < length && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t number = 0;
    size_t digits = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        if (number < 1000000000000LL) number = number * 10 + (text[i] - '0');
    }
    if (digits == 0) {
        *value = 0;
        return length == 0;
    }
    *value = negative ? -number : number;
    return i == length;
}

struct OccurrenceYear {
    int dayOffset;
    bool known;
    int64_t year;
};

int64_t YearOf(OccurrenceYear* occurrence) {
    if (!occurrence->known) {
        // Calendar days, not multiples of 86400 s: near midnight a
        // daylight-saving change would otherwise land on the wrong day and,
        // around New Year, in the wrong year.
        occurrence->year = DateOfDayNumber(DayNumber(LocalToday()) + occurrence->dayOffset).year;
        occurrence->known = true;
    }
    return occurrence->year;
}

// Scans `text` for macros, writing the expansion to `out`. When `skipMacros`
// is false the scan goes on right after each '$', macro or not.
int ScanMacros(const char* text, OccurrenceYear* occurrence, Output* out, bool skipMacros) {
    int result = kMacrosValid;
    const char* segment = text;
    const char* dollar = std::strchr(segment, '$');
    while (dollar != nullptr && result == kMacrosValid) {
        bool expanded = false;
        const char* open = nullptr;
        const char* close = nullptr;
        bool escaped = dollar > text && dollar[-1] == '\\';
        if (!escaped) open = FindFieldEnd(dollar + 1, '{');
        if (open != nullptr) close = FindFieldEnd(open + 1, '}');
        if (close != nullptr && IsAgeName(dollar + 1, static_cast<size_t>(open - dollar - 1))) {
            int64_t parameter = 0;
            if (!ReadParameter(open + 1, static_cast<size_t>(close - open - 1), &parameter)) {
                result = kMacroInvalidParameter;
            } else {
                int64_t value = YearOf(occurrence) - parameter;
                if (value > kLargestAge || value < -kLargestAge) {
                    result = kMacroValueTooBig;
                } else {
                    char digits[24];
                    int n = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
                    Append(out, segment, static_cast<size_t>(dollar - segment));
                    Append(out, digits, static_cast<size_t>(n));
                    segment = skipMacros ? close + 1 : dollar + 1;
                    expanded = true;
                }
            }
        }
        if (!expanded) {
            Append(out, segment, static_cast<size_t>(dollar + 1 - segment));
            segment = dollar + 1;
        }
        dollar = std::strchr(segment, '$');
    }
    if (result == kMacrosValid) Append(out, segment, std::strlen(segment));
    return result;
}

}  // namespace

int ExpandMacros(const char* text, int dayOffset, char* output, size_t outputSize) {
    if (output != nullptr && outputSize > 0) output[0] = '\0';
    if (text == nullptr) return kMacrosValid;
    Output out = {output, outputSize, 0, false};
    OccurrenceYear occurrence = {dayOffset, false, 0};
    int result = ScanMacros(text, &occurrence, &out, true);
    if (result != kMacrosValid && output != nullptr && outputSize > 0) {
        const unsigned size = outputSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(outputSize);
        CopyText(output, text, size);
    }
    return result;
}

int CheckMacros(const char* text) {
    if (text == nullptr) return kMacrosValid;
    Output none = {nullptr, 0, 0, false};
    OccurrenceYear occurrence = {0, false, 0};
    return ScanMacros(text, &occurrence, &none, false);
}
