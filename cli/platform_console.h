// The platform of the command-line programs: message boxes become text on
// standard error, a yes/no question is answered "yes", the clock can be set,
// and nothing on disk is ever changed unless a command that writes allows it.
#pragma once

#include <ctime>

// The time PlatformNow reports from now on; 0 brings back the real clock.
void ConsoleSetNow(time_t now);

// True once something asked the program to quit (a fatal error in a file).
bool ConsoleQuitRequested();

// Lets the file operations act on the disk, for the commands that change
// the events file or write a file of their own.
void ConsoleAllowWrites();
