// The operations that change the events file on disk: each rewrites the whole
// file safely (storage/safe_rewrite.h), refreshes the backup and asks the main
// window to rebuild its list.
#pragma once

#include <cstdio>

#include "app/commands.h"  // CMD_RELOAD_LIST
#include "model/duty.h"

// Adds the event as the file's last line. 1 done; 0 when the file could not
// be written, which is reported (message 2015) and leaves it as it was.
int AppendDuty(const Duty& duty);

// Modifies an event: line `duty.line` of the events file goes, and the event
// as it is now becomes the file's last line, in one rewrite, so the file
// holds the old event or the new one, never neither. 1 done; 0 when the file
// could not be written (message 2015), which leaves it as it was. A file gone
// since the line was read gets the header and the event.
int ReplaceDutyLine(const Duty& duty);
// Adds `lines`, whole lines of the current format with their line ends, at
// the end of the file in one rewrite; results and reports as AppendDuty.
int AppendEventLines(const char* lines);

// Replaces the whole file by what is left to read of `content`, the backup
// receiving the new file; results and reports as AppendDuty.
int ReplaceEventsWith(FILE* content);

// Removes line `duty.line` of the events file. 1 done; 0 when there is no
// events file (silently) or it could not be written (message 2015).
int RemoveDutyLine(const Duty& duty);

// Rewrites an events file of an older version in the current format; the
// backup keeps the old file. 1 done or nothing to do, 0 failed (silently).
int UpgradeEventsFile();
