// The operations that change the events file on disk: each rewrites the whole
// file safely (storage/safe_rewrite.h), refreshes the backup and asks the main
// window to rebuild its list.
#pragma once

#include "app/commands.h"  // CMD_RELOAD_LIST
#include "model/duty.h"

// Adds the event as the file's last line. 1 done; 0 when the file could not
// be written, which is reported (message 2015) and leaves it as it was.
int AppendDuty(const Duty& duty);

// Adds `lines`, whole lines of the current format with their line ends, at
// the end of the file in one rewrite; results and reports as AppendDuty.
int AppendEventLines(const char* lines);

// Removes line `duty.line` of the events file. 1 done; 0 when there is no
// events file (silently) or it could not be written (message 2015).
int RemoveDutyLine(const Duty& duty);

// Rewrites an events file of an older version in the current format; the
// backup keeps the old file. 1 done or nothing to do, 0 failed (silently).
int UpgradeEventsFile();
