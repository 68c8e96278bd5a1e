// quillbee-due import FILE: adds the events of an iCalendar, vCard or CSV
// file to the events file of the current directory.
#include <cstdio>

#include "cli/platform_console.h"
#include "cli/subcommands.h"
#include "storage/import_export.h"

int RunImportCommand(int argc, char** argv) {
    if (argc != 1) {
        std::fputs("quillbee-due: import wants one file: quillbee-due import FILE.ics|FILE.vcf|FILE.csv\n",
                   stderr);
        return kExitBadUsage;
    }
    LoadConsoleSettings();
    ConsoleAllowWrites();
    ImportReport report;
    const int done = ImportEvents(argv[0], &report);
    if (!report.message.empty()) std::fprintf(done ? stdout : stderr, "%s\n", report.message.c_str());
    return done ? 0 : 1;
}
