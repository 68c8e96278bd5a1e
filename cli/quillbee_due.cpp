// quillbee-due: prints the rows that Quillbee's main window would show now for
// the events file in the current directory, one per line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "app/load_str.h"
#include "app/state.h"
#include "cli/platform_console.h"
#include "cli/subcommands.h"
#include "model/due_list.h"
#include "storage/events_file.h"

namespace {

enum ExitStatus { kExitShown = 0, kExitNoEventsFile = 1, kExitStopped = 2, kExitUsage = 3 };

const char* const kHelp =
    "Usage: quillbee-due [--month-first] [--now \"YYYY-MM-DD HH:MM\"]\n"
    "       quillbee-due import FILE | export FILE | check | history | restore N\n"
    "\n"
    "Prints the rows that Quillbee's main window would show for the events file\n"
    "quillbee.events in the current directory: one row per line, in the list's\n"
    "order, as UTF-8 with the columns separated by tabs.\n"
    "\n"
    "The warning limits and the weekday column come from quillbee.prefs when it\n"
    "is there, and are the defaults otherwise. No file is created or changed.\n"
    "\n"
    "  --month-first   show dates month first (\"Maj 07\") instead of \"07 Maj\"\n"
    "  --now TIME      take TIME, local, as the current time instead of the clock\n"
    "  --help          show this text\n"
    "\n"
    "Messages that Quillbee would show in a box go to standard error. A line\n"
    "with an impossible date is skipped.\n"
    "\n"
    "Exit status: 0 the rows were printed (maybe none); 1 quillbee.events cannot\n"
    "be opened; 2 reading stopped at a damaged file, after printing the rows read\n"
    "so far; 3 the command line is wrong.\n"
    "\n"
    "  import FILE     add the events of FILE (.ics, .vcf or .csv) that are not in\n"
    "                  quillbee.events yet; prints a summary. Exit status 0 the\n"
    "                  file was read, 1 nothing was changed, 3 wrong command line\n"
    "  export FILE     write every event to FILE (.ics or .csv); 0 written, 1 not\n"
    "  check           list every problem of quillbee.events with its line number;\n"
    "                  0 none, 1 no quillbee.events, 2 problems listed\n"
    "  history         list the versions of quillbee.events kept in the folder\n"
    "                  quillbee.history, newest first, with their times and\n"
    "                  numbers of events; 0\n"
    "  restore N       put version N of that list back as quillbee.events; the\n"
    "                  file it replaces is kept as the newest version. 0 restored,\n"
    "                  1 not\n";

// "YYYY-MM-DD HH:MM" as local time; false when it is not such a time.
bool ReadNow(const char* text, time_t* now) {
    int year, month, day, hour, minute;
    char rest;
    if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d%c", &year, &month, &day, &hour, &minute, &rest) != 5)
        return false;
    if (year < 1971 || year > 2999 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 ||
        minute > 59 || hour < 0 || minute < 0) {
        return false;
    }
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    *now = std::mktime(&local);
    // 31 April and the like come back as another date.
    return *now != static_cast<time_t>(-1) && local.tm_mday == day && local.tm_mon == month - 1;
}

void UseLocalTimeZone() {
#ifdef _WIN32
    // msvcrt reads TZ in its own format and misreads a zone name such as
    // Europe/Warsaw; without TZ it follows the zone of the system.
    const char* tz = std::getenv("TZ");
    if (tz != nullptr && std::strchr(tz, '/') != nullptr) _putenv("TZ=");
    _tzset();
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    UseLocalTimeZone();
    int status = kExitShown;
    if (RunSubcommand(argc, argv, &status)) return status;
    dayFirst = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return kExitShown;
        }
        if (std::strcmp(argv[i], "--month-first") == 0) {
            dayFirst = 0;
        } else if (std::strcmp(argv[i], "--now") == 0 && i + 1 < argc) {
            time_t now = 0;
            if (!ReadNow(argv[++i], &now)) {
                std::fprintf(stderr, "quillbee-due: --now wants \"YYYY-MM-DD HH:MM\", not \"%s\"\n", argv[i]);
                return kExitUsage;
            }
            ConsoleSetNow(now);
        } else {
            std::fprintf(stderr, "quillbee-due: unknown argument \"%s\"; see --help\n", argv[i]);
            return kExitUsage;
        }
    }
    CopyText(languageCode, LoadStr(1000), sizeof languageCode);

    LoadConsoleSettings();
    if (ConsoleQuitRequested()) return kExitStopped;

    int builds = 0;
    const DueItem* head = BuildDueList(&builds);
    if (builds == 0) {
        std::fprintf(stderr, "quillbee-due: cannot open %s in the current directory\n", kEventsFileName);
        return kExitNoEventsFile;
    }
    // The rows go out in large writes: a call of the C library for each
    // would cost about as much as making the row.
    static char out[16 * 1024];
    size_t used = 0;
    for (const DueItem* row = head; row != nullptr; row = row->next) {
        const char* text = DueRowText(row);
        const size_t length = std::strlen(text);
        if (used + length + 1 > sizeof out) {
            std::fwrite(out, 1, used, stdout);
            used = 0;
        }
        std::memcpy(out + used, text, length);
        used += length;
        out[used++] = '\n';
    }
    std::fwrite(out, 1, used, stdout);
    std::fflush(stdout);
    return ConsoleQuitRequested() ? kExitStopped : kExitShown;
}
