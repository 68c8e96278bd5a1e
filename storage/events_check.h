// Every problem of the events file as the program's reader meets it, listed
// with its line number instead of stopping at the first.
#pragma once

#include <string>
#include <vector>

struct EventsFileProblem {
    int line;
    std::string text;  // the program's own message for it, or what it does about it
};

// Reads the events file as the due list does (the same line buffer, so a
// line too long for it shows as the reader sees it) and lists what stops or
// asks the reader: a version line it does not know, a line of broken layout,
// an impossible date; and what it changes without a word: a message or
// notes too long for the record, a $Age macro that cannot be worked out.
// Returns 1 when the file was read, 0 when there is none, -1 when its
// version line is not recognised (which is then the only problem).
int CheckEventsFile(std::vector<EventsFileProblem>* problems);
