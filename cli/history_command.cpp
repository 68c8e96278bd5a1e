// quillbee-due history: the kept versions of the events file, newest first;
// quillbee-due restore N: puts version N of that list back.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/platform_console.h"
#include "cli/subcommands.h"
#include "storage/events_history.h"
#include "storage/events_undo.h"

namespace {
enum { kExitDone = 0, kExitNotDone = 1 };

void PrintVersion(int number, const EventsVersion& version) {
    char path[64];
    VersionPath(version.name, path, sizeof path);
    const int events = CountEventLines(path);
    std::printf("%2d  %04d-%02d-%02d %02d:%02d:%02d  %4d %-6s  %s\n", number, version.year, version.month,
                version.day, version.hour, version.minute, version.second, events,
                events == 1 ? "event" : "events", path);
}
}  // namespace

int RunHistoryCommand(int argc, char**) {
    if (argc != 0) {
        std::fputs("quillbee-due: history takes no arguments\n", stderr);
        return kExitBadUsage;
    }
    const std::vector<EventsVersion> versions = ListVersions();
    if (versions.empty()) std::printf("no versions kept in %s\n", kHistoryFolderName);
    for (size_t i = 0; i < versions.size(); ++i) PrintVersion(static_cast<int>(i) + 1, versions[i]);
    return kExitDone;
}

int RunRestoreCommand(int argc, char** argv) {
    char* end = nullptr;
    const long number = argc == 1 ? std::strtol(argv[0], &end, 10) : 0;
    if (argc != 1 || end == argv[0] || *end != '\0' || number < 1) {
        std::fputs("quillbee-due: restore wants the number of a version from quillbee-due history\n", stderr);
        return kExitBadUsage;
    }
    const std::vector<EventsVersion> versions = ListVersions();
    if (number > static_cast<long>(versions.size())) {
        std::fprintf(stderr, "quillbee-due: there is no version %ld; %s holds %d\n", number,
                     kHistoryFolderName, static_cast<int>(versions.size()));
        return kExitNotDone;
    }
    LoadConsoleSettings();
    ConsoleAllowWrites();
    const EventsVersion& version = versions[static_cast<size_t>(number) - 1];
    if (!RestoreVersion(version)) return kExitNotDone;
    std::printf(
        "restored the events as they were at %02d:%02d:%02d on %04d-%02d-%02d; the events file it replaced "
        "is version 1 of quillbee-due history\n",
        version.hour, version.minute, version.second, version.year, version.month, version.day);
    return kExitDone;
}
