// Process-wide values shared by every part of the program. The Win32 handles
// (main window, fonts, modeless dialogs) live in app/win_state.h.
#pragma once

#include <cstdint>

#include "app/prefs.h"

extern Prefs prefs;
extern int silentStart;          // started with "/S"
extern int userPresent;          // the user has touched the program: no auto-close
extern int instanceNumber;       // 1 + other running instances found at start
extern uint32_t dirHash;         // DirectoryHash of the working directory
extern int dayFirst;             // locale date order: 0 month first, else day first
extern char languageCode[3];     // string 1000 of the string table
extern char newEventRepeatMark;  // repeat mark of the last event created
extern char workingDirectory[260];

// The program's title with its version, used as the caption of fatal messages.
extern const char* const kProgramTitle;  // "Quillbee 1.41"
extern const char* const kProgramName;   // "Quillbee"
extern const char* const kProductAddress;

// Copies `text` into `dest` (of `size` bytes), cutting only at a UTF-8
// character boundary, and always terminates it.
void CopyText(char* dest, const char* text, unsigned size);

// True for the second to fourth bytes of a UTF-8 character.
bool IsContinuationByte(char c);

// The length of the longest prefix of `text` (of `length` bytes) that fits in
// `limit` bytes without splitting a UTF-8 character.
unsigned CharBoundary(const char* text, unsigned length, unsigned limit);
