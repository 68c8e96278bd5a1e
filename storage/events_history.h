// Earlier versions of the events file, kept in a folder beside it so that a
// change can be undone, also after a restart. Every rewrite of the events
// file keeps the file it replaces (RewriteFile calls KeepVersion), so a
// writer added later needs no code of its own for it.
#pragma once

#include <vector>

constexpr const char* kHistoryFolderName = "quillbee.history";
constexpr int kVersionsKept = 30;

// "2026-12-07_14-32-05.events": the local time the version was replaced, to
// the second. A later version of the same second (or of a time the clock
// shows again after it was put back) takes a number: "..._001.events".
constexpr int kVersionNameSize = 32;
constexpr int kLastVersionNumber = 999;

struct EventsVersion {
    char name[kVersionNameSize];  // the file's name in the history folder
    int year, month, day, hour, minute, second;
    int number;  // 0 for the first version of its second
};

// The versions in the history folder, newest first. Files whose names are
// not versions are left out (and never deleted).
std::vector<EventsVersion> ListVersions();

// The version's path from the working directory.
void VersionPath(const char* name, char* path, int size);

// Keeps `file` as the newest version, unless it is missing or empty (there
// is nothing to keep) or equal to the newest version already kept. Returns 1
// when nothing had to be kept or it was kept (its name then goes to `made`,
// else `made` is ""), 0 when it could not be kept.
int KeepVersion(const char* file, char made[kVersionNameSize]);

// Whether two files can both be read and hold the same bytes.
bool SameContent(const char* first, const char* second);

// Deletes a version again, when the change it was kept for did not happen.
void DropVersion(const char* name);

// Deletes every version but the kVersionsKept newest.
void PruneVersions();

// Tells the user, once per run, that a change was saved but could not be
// kept for an undo.
void ReportLostVersion();
extern int lostVersionReported;  // the tests start each case afresh
