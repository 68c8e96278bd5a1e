// Bringing events into the events file from iCalendar, vCard and CSV files,
// and writing them out as iCalendar or CSV. The kind of file is told by its
// name: .ics (or .ical), .vcf (or .vcard), .csv, in any case.
#pragma once

#include <string>
#include <vector>

#include "storage/import_rules.h"

enum EventsFormat { kFormatUnknown, kFormatICalendar, kFormatVCard, kFormatCsv };

EventsFormat FormatOfName(const char* path);

struct ImportReport {
    int added = 0;
    int duplicates = 0;
    int notUnderstood = 0;
    std::vector<ImportProblem> problems;  // the first few, with their lines in the input
    // For the user: the summary, or why nothing was imported. Empty when the
    // events file could not be written, which has been reported already.
    std::string message;
};

// Reads the file at `path` whole and adds the events it holds that are not
// in the events file yet, in one safe rewrite with the backup refreshed.
// Returns 1 when the input was read to its end (and its new events, if any,
// were written); 0 when nothing was changed: the file cannot be read, is of
// another kind than its name says, is not UTF-8, is damaged or cut short,
// the events file cannot be read, or it could not be written.
int ImportEvents(const char* path, ImportReport* report);

struct ExportReport {
    int exported = 0;
    int leftOut = 0;       // lines of the events file that the program's reader refuses
    int firstLeftOut = 0;  // the first of them
    std::string message;   // for the user: what was written, or why nothing was
};

// Writes every event of the events file to `path`, as iCalendar or CSV. The
// file is written beside its place and takes it only when complete. 1 done,
// 0 nothing written.
int ExportEvents(const char* path, ExportReport* report);
