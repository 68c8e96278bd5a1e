// Events files for the benchmarks: mostly yearly birthdays and anniversaries
// spread over the year (about one in twenty-five falls in the default warning
// window), some one-off events of 2009 to 2011, a few special limits, and
// notes on one event in ten. The same number of events gives the same file.
#pragma once

#include <cstdio>
#include <random>
#include <string>

#include "app/load_str.h"
#include "app/state.h"
#include "model/duty.h"
#include "storage/events_file.h"

// Written without the program's writers: the due-list benchmark's platform
// refuses to write.
inline void WriteGeneratedEvents(const char* path, int events) {
    FILE* out = std::fopen(path, "wb");
    char title[128];
    std::snprintf(title, sizeof title, LoadStr(1260), kProgramTitle);
    std::fprintf(out, ";%s\r\n;benchmark data\r\n;%s\r\n\r\n", title, kProductAddress);
    std::mt19937 random(static_cast<unsigned>(events));
    const char* names[] = {"Anna", "George", "Marta", "Piotr", "Zofia", "Tomasz", "Ewa", "Jan"};
    const char* kinds[] = {"birthday! ($Age{%d} years old)",
                           "name day",
                           "wedding anniversary, $Age{%d} years",
                           "insurance renewal",
                           "dentist at 10:00",
                           "car service",
                           "pay the rent"};
    for (int i = 0; i < events; ++i) {
        Duty d = {};
        d.month = static_cast<int>(random() % 12) + 1;
        d.day = static_cast<int>(random() % 28) + 1;
        d.yearly = random() % 10 != 0;
        d.repeatMark = d.yearly ? 'Y' : 'N';
        d.year = d.yearly ? 1940 + static_cast<int>(random() % 80) : 2009 + static_cast<int>(random() % 3);
        if (random() % 20 == 0) {
            d.warnBefore = static_cast<int>(random() % 30);
            d.warnAfter = static_cast<int>(random() % 5);
        }
        char kind[96];
        std::snprintf(kind, sizeof kind, kinds[random() % 7], d.year);
        std::snprintf(d.message, sizeof d.message, "%s's %s", names[random() % 8], kind);
        if (random() % 10 == 0) {
            std::string notes = "Call before noon.\r\nAddress: ul. Długa " + std::to_string(random() % 200) +
                                ", Warszawa\r\n" + std::string(random() % 300, 'n');
            std::snprintf(d.notes, sizeof d.notes, "%s", notes.c_str());
        }
        std::fputs(FormatDutyLine(d), out);
    }
    std::fclose(out);
}
