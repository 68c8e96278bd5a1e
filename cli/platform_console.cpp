// The platform operations for programs that run in a terminal. Until a
// command allows writing, they only read: every file operation fails without
// touching the disk.
#include "cli/platform_console.h"

#include <cstdio>
#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "app/commands.h"
#include "app/directory_hash.h"
#endif

#include "app/platform.h"
#include "app/startup_shortcut.h"

namespace {
time_t fixedNow = 0;
bool quitRequested = false;
bool writesAllowed = false;
}  // namespace

void ConsoleAllowWrites() { writesAllowed = true; }

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

#ifdef _WIN32
namespace {
struct RunningProgram {
    uint32_t hash;
    int command;
};

// Passes the command to the program that keeps the events file of this
// directory, so that it shows what a command changed there.
BOOL CALLBACK PostToSameDirectory(HWND window, LPARAM context) {
    const RunningProgram* wanted = reinterpret_cast<const RunningProgram*>(context);
    char name[64];
    const bool ours = GetClassNameA(window, name, sizeof name) != 0 && std::strcmp(name, MAIN_WINDOW_CLASS) == 0 &&
                      reinterpret_cast<uintptr_t>(GetPropA(window, PROP_HASH_CURDIR)) == wanted->hash;
    if (ours) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(wanted->command), 0);
    return TRUE;
}
}  // namespace

void PlatformPostCommand(int commandId) {
    char directory[MAX_PATH];
    if (!writesAllowed || GetCurrentDirectoryA(sizeof directory, directory) == 0) return;
    RunningProgram wanted = {DirectoryHash(directory), commandId};
    EnumWindows(PostToSameDirectory, reinterpret_cast<LPARAM>(&wanted));
}
#else
void PlatformPostCommand(int) {}
#endif

void PlatformQuit(int) { quitRequested = true; }

void PlatformWaitCursor(bool) {}

int PlatformCopyFile(const char* from, const char* to) {
    if (!writesAllowed) return 0;
#ifdef _WIN32
    return CopyFileA(from, to, FALSE) ? 1 : 0;
#else
    FILE* in = std::fopen(from, "rb");
    if (in == nullptr) return 0;
    FILE* out = std::fopen(to, "wb");
    bool ok = out != nullptr;
    char buffer[8192];
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = std::fwrite(buffer, 1, n, out) == n;
    if (std::ferror(in)) ok = false;
    if (out != nullptr && std::fclose(out) != 0) ok = false;
    std::fclose(in);
    return ok ? 1 : 0;
#endif
}

int PlatformReplaceFile(const char* from, const char* to) {
    if (!writesAllowed) return 0;
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
#else
    return std::rename(from, to) == 0 ? 1 : 0;
#endif
}

int PlatformDeleteFile(const char* name) { return writesAllowed && std::remove(name) == 0 ? 1 : 0; }

size_t PlatformWrite(FILE* file, const void* data, size_t size) {
    return writesAllowed ? std::fwrite(data, 1, size, file) : 0;
}

time_t PlatformNow() { return fixedNow != 0 ? fixedNow : std::time(nullptr); }

// Reached only through a first run, which these programs never start.
void UpdateStartupShortcut(int) {}
