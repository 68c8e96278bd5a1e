// The platform operations for programs that run in a terminal. They only
// read: every file operation fails without touching the disk.
#include "cli/platform_console.h"

#include <cstdio>

#include "app/platform.h"
#include "app/startup_shortcut.h"

namespace {
time_t fixedNow = 0;
bool quitRequested = false;
}  // namespace

void ConsoleSetNow(time_t now) { fixedNow = now; }

bool ConsoleQuitRequested() { return quitRequested; }

int PlatformMessageBox(const char* text, const char* caption, unsigned style) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (style & kBoxYesNo) {
        std::fputs("-> Yes\n", stderr);
        return kAnswerYes;
    }
    return kAnswerOk;
}

void PlatformPostCommand(int) {}

void PlatformQuit(int) { quitRequested = true; }

void PlatformWaitCursor(bool) {}

int PlatformCopyFile(const char*, const char*) { return 0; }

int PlatformReplaceFile(const char*, const char*) { return 0; }

int PlatformDeleteFile(const char*) { return 0; }

size_t PlatformWrite(FILE*, const void*, size_t) { return 0; }

time_t PlatformNow() { return fixedNow != 0 ? fixedNow : std::time(nullptr); }

// Reached only through a first run, which these programs never start.
void UpdateStartupShortcut(int) {}
