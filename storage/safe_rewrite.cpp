#include "storage/safe_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "app/platform.h"
#include "storage/events_file.h"
#include "storage/events_history.h"

namespace {

constexpr const char kTempTemplate[] = "temp_file_XXXXXX";
constexpr int kTempNameTries = 100;

// Opens a file that must not exist yet; null with errno set otherwise.
FILE* OpenNewFile(const char* name) {
#ifdef _WIN32
    int fd = _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
#else
    int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    FILE* file = fdopen(fd, "wb");
    if (!file) close(fd);
#endif
    return file;
}

// A file the user made read-only is left alone, even where the system would
// let a rename replace it.
bool IsReadOnlyFile(const char* name) {
#ifdef _WIN32
    struct _stat info;
    return _stat(name, &info) == 0 && (info.st_mode & _S_IWRITE) == 0;
#else
    struct stat info;
    return stat(name, &info) == 0 && (info.st_mode & S_IWUSR) == 0;
#endif
}

// Flushes the file's data to the disk before closing it, so that a rename
// right after it never exposes an empty file after a crash.
int CloseWritten(FILE* file) {
    bool ok = std::fflush(file) == 0 && !std::ferror(file);
#ifdef _WIN32
    if (ok && _commit(_fileno(file)) != 0) ok = false;
#else
    if (ok && fsync(fileno(file)) != 0) ok = false;
#endif
    if (std::fclose(file) != 0) ok = false;
    return ok ? 1 : 0;
}

// Writes a complete temporary file; its name stays in `name` only on success.
int WriteTempFile(char name[kTempNameSize], ContentWriter writer, void* context) {
    FILE* out = CreateTempFile(name);
    if (!out) return 0;
    int written = writer(out, context);
    if (!CloseWritten(out)) written = 0;
    if (!written) PlatformDeleteFile(name);
    return written;
}

}  // namespace

int WriteBytes(FILE* file, const void* data, size_t size) {
    if (size == 0) return 1;
    return PlatformWrite(file, data, size) == size ? 1 : 0;
}

int WriteText(FILE* file, const char* text) { return WriteBytes(file, text, std::strlen(text)); }

int WriteRestOfFile(FILE* out, void* context) {
    FILE* in = static_cast<FILE*>(context);
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (!WriteBytes(out, buffer, n)) return 0;
    }
    return std::ferror(in) ? 0 : 1;
}

FILE* CreateTempFile(char name[kTempNameSize]) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static uint32_t state = 0;
    if (state == 0) {
        state = static_cast<uint32_t>(std::time(nullptr)) ^ static_cast<uint32_t>(std::clock()) ^
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&state));
        if (state == 0) state = 0x2545F491u;
    }
    const size_t prefix = std::strlen(kTempTemplate) - 6;
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        std::memcpy(name, kTempTemplate, sizeof kTempTemplate);
        for (size_t i = prefix; i < prefix + 6; ++i) {
            // xorshift32: cheap, and only has to avoid the names already taken
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            name[i] = kLetters[state % (sizeof kLetters - 1)];
        }
        FILE* file = OpenNewFile(name);
        if (file) return file;
        if (errno != EEXIST) break;  // the directory refuses new files: no name will do
    }
    name[0] = '\0';
    return nullptr;
}

int SafeCopyFile(const char* from, const char* to) {
    FILE* in = std::fopen(from, "rb");
    if (!in) return 0;
    char temp[kTempNameSize];
    int written = WriteTempFile(temp, WriteRestOfFile, in);
    std::fclose(in);
    if (!written) return 0;
    if (PlatformReplaceFile(temp, to)) return 1;
    PlatformDeleteFile(temp);
    return 0;
}

int RefreshBackup(const char* from) { return SafeCopyFile(from, kBackupFileName); }

int RewriteFile(const char* target, ContentWriter writer, void* context, BackupMoment backup) {
    if (IsReadOnlyFile(target)) return 0;
    char temp[kTempNameSize];
    if (!WriteTempFile(temp, writer, context)) return 0;
    // Only the events file holds the user's own work worth an undo.
    const bool events = std::strcmp(target, kEventsFileName) == 0;
    char version[kVersionNameSize] = "";
    const int kept = events ? KeepVersion(target, version) : 1;
    if (backup == kBackupOldFile) RefreshBackup(target);
    if (!PlatformReplaceFile(temp, target)) {
        PlatformDeleteFile(temp);
        if (version[0] != '\0') DropVersion(version);  // nothing changed: nothing to undo
        return 0;
    }
    if (backup == kBackupNewFile) RefreshBackup(target);
    if (!kept) ReportLostVersion();
    if (events) PruneVersions();
    return 1;
}
