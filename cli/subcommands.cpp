#include "cli/subcommands.h"

#include <cstdio>
#include <cstring>

#include "storage/prefs_file.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(int argc, char** argv);
};

const Subcommand kSubcommands[] = {
    {"import", RunImportCommand},
    {"export", RunExportCommand},
    {"check", RunCheckCommand},
};

}  // namespace

bool RunSubcommand(int argc, char** argv, int* status) {
    if (argc < 2) return false;
    for (const Subcommand& command : kSubcommands) {
        if (std::strcmp(argv[1], command.name) != 0) continue;
        *status = command.run(argc - 2, argv + 2);
        return true;
    }
    return false;
}

void LoadConsoleSettings() {
    FILE* file = std::fopen(kPrefsFileName, "rb");
    if (file == nullptr) return;
    std::fclose(file);
    if (LoadPrefs() == -2) {
        std::fprintf(stderr, "quillbee-due: %s is incomplete; using the default settings\n", kPrefsFileName);
    }
}
