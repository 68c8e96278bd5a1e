// quillbee-due check: every problem of the events file in the current
// directory, one per line, as FILE:LINE: text.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/subcommands.h"
#include "storage/events_check.h"
#include "storage/events_file.h"

namespace {
enum { kExitSound = 0, kExitNoFile = 1, kExitProblems = 2 };

// The program's messages are made for a box; a terminal line has them in one.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    return line;
}
}  // namespace

int RunCheckCommand(int argc, char**) {
    if (argc != 0) {
        std::fputs("quillbee-due: check takes no arguments\n", stderr);
        return kExitBadUsage;
    }
    std::vector<EventsFileProblem> problems;
    if (CheckEventsFile(&problems) == 0) {
        std::fprintf(stderr, "quillbee-due: cannot open %s in the current directory\n", kEventsFileName);
        return kExitNoFile;
    }
    for (const EventsFileProblem& problem : problems) {
        std::printf("%s:%d: %s\n", kEventsFileName, problem.line, OneLine(problem.text).c_str());
    }
    if (problems.empty()) std::printf("%s: no problems found\n", kEventsFileName);
    return problems.empty() ? kExitSound : kExitProblems;
}
