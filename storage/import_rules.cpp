#include "storage/import_rules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/load_str.h"
#include "app/state.h"
#include "model/calendar.h"
#include "model/day_number.h"
#include "storage/events_file.h"

namespace {

constexpr int kMacroText = 5175;  // "[years since %d]"
constexpr size_t kLongestYear = 5;
constexpr unsigned kLongestDetail = 60;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits at `at`, when there are 1 to kLongestYear of them without a
// leading zero, followed by `end`; their count, else 0.
size_t YearDigits(const std::string& text, size_t at, const std::string& end) {
    size_t n = 0;
    while (at + n < text.size() && IsDigit(text[at + n]) && n <= kLongestYear) ++n;
    if (n == 0 || n > kLongestYear || (text[at] == '0' && n > 1)) return 0;
    return text.compare(at + n, end.size(), end) == 0 ? n : 0;
}

// Replaces every `from` + year + `fromEnd` by `to` + year + `toEnd`; a `from`
// right after a backslash stays, as the macro reader leaves it.
std::string ReplaceYearMarks(const std::string& text, const std::string& from, const std::string& fromEnd,
                             const std::string& to, const std::string& toEnd) {
    if (from.empty()) return text;
    std::string result;
    size_t pos = 0;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + 1)) {
        if (at < pos || (at > 0 && text[at - 1] == '\\')) continue;
        const size_t digits = YearDigits(text, at + from.size(), fromEnd);
        if (digits == 0) continue;
        result.append(text, pos, at - pos);
        result += to;
        result.append(text, at + from.size(), digits);
        result += toEnd;
        pos = at + from.size() + digits + fromEnd.size();
    }
    result.append(text, pos, std::string::npos);
    return result;
}

// The reader's form of the macro split around its year.
void ReaderForm(std::string* before, std::string* after) {
    const std::string form = LoadStr(kMacroText);
    const size_t mark = form.find("%d");
    *before = mark == std::string::npos ? "" : form.substr(0, mark);
    *after = mark == std::string::npos ? "" : form.substr(mark + 2);
}

}  // namespace

std::string EventKey(const Duty& duty) {
    char key[kMessageSize + 32];
    if (duty.yearly) {
        std::snprintf(key, sizeof key, "Y %02d-%02d %s", duty.month, duty.day, duty.message);
    } else {
        std::snprintf(key, sizeof key, "N %04d-%02d-%02d %s", duty.year, duty.month, duty.day, duty.message);
    }
    return key;
}

void TakeEvent(ImportBatch* batch, const Duty& duty) {
    if (!batch->known.insert(EventKey(duty)).second) {
        ++batch->duplicates;
        return;
    }
    batch->lines += FormatDutyLine(duty);
    ++batch->added;
}

void RefuseEntry(ImportBatch* batch, int line, int reasonId, const std::string& detail) {
    ++batch->notUnderstood;
    if (batch->problems.size() >= kProblemsKept) return;
    // A detail is a piece of the input, of any length: the start of it says enough.
    char shortDetail[kLongestDetail + 4];
    CopyText(shortDetail, detail.c_str(), kLongestDetail + 1);
    if (std::strlen(shortDetail) < detail.size()) std::strcat(shortDetail, "...");
    char reason[1024];
    std::snprintf(reason, sizeof reason, LoadStr(reasonId), shortDetail);
    batch->problems.push_back({line, reason});
}

Duty NewEvent(bool yearly) {
    Duty duty{};
    duty.yearly = yearly ? 1 : 0;
    duty.repeatMark = yearly ? 'Y' : 'N';
    return duty;
}

void SetMessage(Duty* duty, const std::string& text) {
    std::string message = text;
    for (char& c : message) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    CollapseSpaces(&message[0]);
    CopyText(duty->message, message.c_str(), kMessageSize);
    // A cut may end on the blank between two words, which no reader keeps.
    size_t n = std::strlen(duty->message);
    if (n > 0 && duty->message[n - 1] == ' ') duty->message[n - 1] = '\0';
}

void SetNotes(Duty* duty, const std::string& text) {
    // Blanks as the events file's reader leaves them: a run is one blank.
    std::string withCrLf(text.size() * 2 + 1, '\0');
    withCrLf.resize(NormaliseLineBreaks(&withCrLf[0], withCrLf.size(), text.c_str()));
    std::string notes;
    for (char c : withCrLf) {
        if (static_cast<unsigned char>(c) < 32 && c != '\r' && c != '\n') c = ' ';
        if (c != ' ' || notes.empty() || notes.back() != ' ') notes += c;
    }
    while (!notes.empty() && notes.back() == ' ') notes.pop_back();
    CopyText(duty->notes, notes.c_str(), kNotesSize);
    // Never half a line break.
    size_t n = std::strlen(duty->notes);
    if (n > 0 && duty->notes[n - 1] == '\r') duty->notes[n - 1] = '\0';
}

bool IsRealDate(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month)) return false;
    return year == 0 || month != 2 || day != 29 || IsLeapYear(year);
}

std::string MacrosForReaders(const std::string& text) {
    std::string before, after;
    ReaderForm(&before, &after);
    return ReplaceYearMarks(text, "$Age{", "}", before, after);
}

std::string MacrosFromReaders(const std::string& text) {
    std::string before, after;
    ReaderForm(&before, &after);
    return ReplaceYearMarks(text, before, after, "$Age{", "}");
}

bool IsUtf8(const std::string& text, size_t* badAt) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        size_t length = 0;
        unsigned long code = 0;
        unsigned long least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2, code = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, code = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, code = c & 0x07, least = 0x10000;
        }
        bool ok = length != 0 && i + length <= n;
        for (size_t k = 1; ok && k < length; ++k) {
            ok = (s[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
        if (ok) ok = code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!ok) {
            *badAt = i;
            return false;
        }
        i += length;
    }
    return true;
}

int LineOfOffset(const std::string& text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) line += text[i] == '\n';
    return line;
}

bool IsDigits(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size()) return false;
    for (size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) return false;
    }
    return true;
}

int Number(const std::string& text, size_t at, size_t count) {
    return std::atoi(text.substr(at, count).c_str());
}
