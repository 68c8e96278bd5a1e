// Putting a kept version of the events file back: "Cofnij ostatnią zmianę..."
// in the program's menus, and `quillbee-due restore N` in a terminal.
#pragma once

#include "storage/events_history.h"

constexpr int kUndoItemText = 5400;  // "Cofnij ostatnią zmianę..."

// The events of a file as the readers meet them: its lines after the version
// line that are neither blank nor comments. 0 for a missing file.
int CountEventLines(const char* path);

// Puts `version` back as the events file in one safe rewrite, which keeps the
// file it replaces as the newest version, so the restore can be undone too.
// The backup receives the restored file and the list is rebuilt. 1 done; 0
// when the version cannot be read or the events file cannot be written (both
// reported).
int RestoreVersion(const EventsVersion& version);

// The version an undo puts back: the newest one that differs from the events
// file. False when there is none.
bool FindUndoVersion(EventsVersion* version);

// Asks whether to put FindUndoVersion's version back, saying when the events
// were so and how many there were then and are now; restores it on Yes.
// 1 restored, 0 not (nothing to undo, the user said no, or it failed).
int UndoLastChange();
