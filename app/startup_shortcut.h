// The shortcut in the user's Startup folder that starts the program with the
// system ("/S": a silent start).
#pragma once

// Creates or overwrites the shortcut (on non-zero) or deletes it (on zero).
// Every failure is silent: the preference keeps its value either way. COM
// must be initialised on the calling thread.
void UpdateStartupShortcut(int on);
