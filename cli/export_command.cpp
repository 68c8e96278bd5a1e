// quillbee-due export FILE: writes the events of the events file in the
// current directory to an iCalendar or CSV file.
#include <cstdio>

#include "cli/platform_console.h"
#include "cli/subcommands.h"
#include "storage/import_export.h"

int RunExportCommand(int argc, char** argv) {
    if (argc != 1) {
        std::fputs("quillbee-due: export wants one file: quillbee-due export FILE.ics|FILE.csv\n", stderr);
        return kExitBadUsage;
    }
    LoadConsoleSettings();
    ConsoleAllowWrites();
    ExportReport report;
    const int done = ExportEvents(argv[0], &report);
    std::fprintf(done ? stdout : stderr, "%s\n", report.message.c_str());
    return done ? 0 : 1;
}
