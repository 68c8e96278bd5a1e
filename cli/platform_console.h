// The platform of the command-line programs: message boxes become text on
// standard error, a yes/no question is answered "yes", nothing on disk is
// ever changed, and the clock can be set.
#pragma once

#include <ctime>

// The time PlatformNow reports from now on; 0 brings back the real clock.
void ConsoleSetNow(time_t now);

// True once something asked the program to quit (a fatal error in a file).
bool ConsoleQuitRequested();
