// The few things the portable core needs from the operating system.
// The program links the Win32 implementation (app/platform_win32.cpp);
// the unit tests link a scriptable double (tests/fake_platform.cpp).
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>

// Message box styles and answers; the values are those of the Win32 MB_ and
// ID constants so that the Win32 implementation can pass them straight on.
enum : unsigned {
    kBoxOk = 0x0,
    kBoxYesNo = 0x4,
    kBoxIconError = 0x10,
    kBoxIconQuestion = 0x20,
    kBoxIconWarning = 0x30,
    kBoxIconInformation = 0x40,
};
enum { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Shows a modal message box owned by the main window (no owner while there is
// none) and returns the button the user chose.
int PlatformMessageBox(const char* text, const char* caption, unsigned style);

// Posts WM_COMMAND with this id to the main window; never sends it.
void PlatformPostCommand(int commandId);

// Asks the message loop to end (PostQuitMessage).
void PlatformQuit(int exitCode);

// Wait cursor while a file operation runs, the arrow afterwards.
void PlatformWaitCursor(bool waiting);

// File operations by name. Each returns 1 on success and 0 on failure.
int PlatformCopyFile(const char* from, const char* to);   // overwrites `to`
int PlatformReplaceFile(const char* from, const char* to);  // renames over `to`, atomically
int PlatformDeleteFile(const char* name);

// Writes `size` bytes to an open file (fwrite); returns how many were written.
// Every byte the program stores goes through here, so tests can fail a write.
size_t PlatformWrite(FILE* file, const void* data, size_t size);

// The current time; tests set it.
time_t PlatformNow();
