#include "model/calendar.h"

#include <cstring>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"

namespace {

struct MonthCodeRow {
    const char* code;
    int number;
};

// The file's month codes are English whatever the interface language.
const MonthCodeRow kMonthCodes[] = {
    {"JAN", 1}, {"FEB", 2}, {"MAR", 3}, {"APR", 4},  {"MAY", 5},  {"JUN", 6},
    {"JUL", 7}, {"AUG", 8}, {"SEP", 9}, {"OCT", 10}, {"NOV", 11}, {"DEC", 12},
    {"", 0},
};

const int kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Weekday numbers of the C library (0 Sunday) to string ids.
const int kWeekdayShortIds[7] = {4117, 4111, 4112, 4113, 4114, 4115, 4116};

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlankByte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == 32 || (u >= 9 && u <= 13);
}

void UpperCaseInPlace(char* text) {
    for (; *text; ++text) *text = ToUpperAscii(*text);
}

}  // namespace

const char* MonthCode(int month) {
    static char code[4];
    for (const MonthCodeRow* row = kMonthCodes; row->number != 0; ++row) {
        if (row->number != month) continue;
        code[0] = row->code[0];
        code[1] = ToLowerAscii(row->code[1]);
        code[2] = ToLowerAscii(row->code[2]);
        code[3] = '\0';
        return code;
    }
    return nullptr;
}

int MonthFromCode(const char* text) {
    char key[4] = {0, 0, 0, 0};
    for (int i = 0; i < 3 && text[i] != '\0'; ++i) key[i] = ToUpperAscii(text[i]);
    const MonthCodeRow* row = kMonthCodes;
    while (row->number != 0 && std::strcmp(row->code, key) != 0) ++row;
    return row->number;
}

const char* MonthLongName(int month) {
    if (month < 1 || month > 12) return nullptr;
    return LoadStr(4000 + month);
}

const char* MonthShortName(int month) {
    if (month < 1 || month > 12) return nullptr;
    return LoadStr(4020 + month);
}

int MonthFromShortName(char* text) {
    UpperCaseInPlace(text);
    for (int month = 1; month <= 12; ++month) {
        char name[64];
        CopyText(name, LoadStr(4020 + month), sizeof name);
        UpperCaseInPlace(name);
        if (std::strcmp(name, text) == 0) return month;
    }
    return 0;
}

const char* WeekdayShortName(int daysLeft) {
    static char name[64];
    time_t when = PlatformNow() + static_cast<time_t>(daysLeft) * 86400;
    struct tm* local = std::localtime(&when);
    int weekday = local ? local->tm_wday : 0;
    CopyText(name, LoadStr(kWeekdayShortIds[weekday]), sizeof name);
    return name;
}

int DaysInMonth(int month) {
    if (month < 1 || month > 12) return 0;
    return kDaysInMonth[month - 1];
}

char* CollapseSpaces(char* text) {
    if (text == nullptr) return nullptr;
    char* out = text;
    bool pendingBlank = false;
    for (const char* in = text; *in; ++in) {
        if (IsBlankByte(*in)) {
            pendingBlank = out != text;
            continue;
        }
        if (pendingBlank) *out++ = ' ';
        pendingBlank = false;
        *out++ = *in;
    }
    *out = '\0';
    return text;
}

bool IsSkippableLine(char* line) {
    CollapseSpaces(line);
    return line[0] == '\0' || line[0] == ';';
}
