// The event record: one line of the events file, one row of the due list.
#pragma once

#include <cstdint>

constexpr int kMessageSize = 151;  // 150 bytes and the terminator
constexpr int kNotesSize = 4097;   // 4096 bytes and the terminator

struct Duty {
    int32_t line;        // line in the events file it was read from; 0 when new
    int32_t day;         // 1 to 31
    int32_t month;       // 1 to 12
    int32_t year;        // for a yearly event the year it was entered in
    int32_t repeatMark;  // 'Y' or 'N', written beside `yearly`
    int32_t yearly;      // 1 repeats every year, 0 happens once
    int32_t daysLeft;    // due list: days to the chosen occurrence;
                         // event editor: its mode (1 new, 2 modify, 3 duplicate, 4 confirmed)
    int32_t warnBefore;  // special limits; both 0 means the global ones apply
    int32_t warnAfter;
    Duty* next;          // next row of the due list
    char message[kMessageSize];
    char notes[kNotesSize];  // lines separated by CR LF
};

// A row of the due list: a heap copy of a Duty with `daysLeft` filled.
typedef Duty DueItem;
