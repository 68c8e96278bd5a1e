// Rewriting a data file without ever leaving it half-written: the new
// content goes to a temporary file beside it, and only a file that was
// written, flushed and closed without an error takes the old one's place.
#pragma once

#include <cstddef>
#include <cstdio>

constexpr const char* kBackupFileName = "quillbee.backup";

// Room for a temporary name made from "temp_file_XXXXXX".
constexpr int kTempNameSize = 20;

// Writes `size` bytes (or the text) to `file`; 1 when every byte was written.
int WriteBytes(FILE* file, const void* data, size_t size);
int WriteText(FILE* file, const char* text);

// Creates a new, empty file in the working directory whose name is the
// template "temp_file_XXXXXX" with the X's replaced so that the name did not
// exist, and opens it for writing in binary mode. The name goes to `name`.
// Null when no such name could be made.
FILE* CreateTempFile(char name[kTempNameSize]);

// Writes the whole new content of a file to `out`; 1 when all of it was
// written, 0 when anything failed.
typedef int (*ContentWriter)(FILE* out, void* context);

// A ContentWriter that copies what is left to read of the open file
// `context` (a FILE*).
int WriteRestOfFile(FILE* out, void* context);

// Which file the backup of the events file receives.
enum BackupMoment {
    kNoBackup,
    kBackupOldFile,  // the file as it was before the change
    kBackupNewFile,  // the file after the change
};

// Replaces `target` by the content that `writer` produces. Returns 1 when
// `target` now holds the complete new content, 0 when it was left as it was
// (read-only target, no temporary name, a failed write or close, or a failed
// replacement). The backup is refreshed only when the new content is complete,
// and the copy itself goes through a temporary file, so the backup is always
// a whole file: the new one, the old one, or the previous backup. The result
// of the backup copy does not change the result.
// The events file it replaces is kept in the history (storage/events_history.h)
// first; a version that cannot be kept is reported once, and the change goes
// ahead all the same.
int RewriteFile(const char* target, ContentWriter writer, void* context, BackupMoment backup);

// Copies `from` over `to` through a temporary file, so `to` is always a
// whole file; 1 when done.
int SafeCopyFile(const char* from, const char* to);

// Copies `from` over the backup file through a temporary file; 1 when done.
int RefreshBackup(const char* from);
