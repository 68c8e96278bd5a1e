// Small helpers shared by the tests of the file writers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "model/duty.h"
#include "storage/events_file.h"
#include "storage/events_save.h"
#include "storage/prefs_file.h"
#include "storage/safe_rewrite.h"
#include "tests/fake_platform.h"
#include "tests/scratch_dir.h"

// What WriteFileHeader writes, as bytes.
inline std::string HeaderBytes() {
    FILE* out = std::fopen("header.tmp", "wb");
    WriteFileHeader(out);
    std::fclose(out);
    std::string bytes = ReadFileBytes("header.tmp");
    std::remove("header.tmp");
    return bytes;
}

// How many temporary files of the writers are left in the working directory.
inline int TempFilesLeft() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        if (entry.path().filename().string().rfind("temp_file_", 0) == 0) ++count;
    }
    return count;
}

// The read-only flag of Windows, or a mode without write bits elsewhere.
inline void SetReadOnly(const char* name, bool readOnly) {
    namespace fs = std::filesystem;
    fs::permissions(name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

inline Duty YearlyDuty(int day, int month, const char* message) {
    Duty duty;
    std::memset(&duty, 0, sizeof duty);
    duty.day = day;
    duty.month = month;
    duty.year = 2010;
    duty.yearly = 1;
    duty.repeatMark = 'Y';
    std::snprintf(duty.message, sizeof duty.message, "%s", message);
    return duty;
}

// A file that takes a disk's free space in the disk failure tests.
constexpr const char* kFillerName = "filler";

// One rewrite of a data file and the events file it starts from.
struct RewriteCase {
    const char* name;
    const char* target;
    std::string events;
    std::function<int()> run;
    bool reports;  // a failure is shown to the user
};

// Append, removal of line 6, upgrade (of `events130`) and saving the preferences.
inline std::vector<RewriteCase> RewriteCases(const std::string& events, const std::string& events130) {
    auto remove = [] {
        Duty d = YearlyDuty(6, 3, "event 6");
        d.line = 6;
        return RemoveDutyLine(d);
    };
    return {
        {"append", kEventsFileName, events, [] { return AppendDuty(YearlyDuty(9, 3, "added")); }, true},
        {"remove", kEventsFileName, events, remove, true},
        {"upgrade", kEventsFileName, events130, [] { return UpgradeEventsFile(); }, false},
        {"prefs", kPrefsFileName, events, [] { return SavePrefs(); }, true},
    };
}

// Runs `c` once undisturbed to learn the new file and backup, then again
// from the old files for each step that `fail(step, writesOfTheCleanRun)`
// arranges a failure for, until it returns false. After each run the target
// is the old or the new file as the result says, the backup is one of the
// two whole backups, and no temporary file is left. Returns the failed runs.
inline int CheckFailures(const RewriteCase& c, const std::function<bool(int, int)>& fail) {
    auto reset = [&] {
        std::remove(kFillerName);
        WriteFileBytes(kEventsFileName, c.events);
        WriteFileBytes(kBackupFileName, "old backup");
        WriteFileBytes(kPrefsFileName, "old prefs");
        ResetFakePlatform();
    };
    reset();
    const std::string oldTarget = ReadFileBytes(c.target);
    EXPECT_EQ(c.run(), 1) << c.name;
    const int writes = fake.writes;
    const std::string newTarget = ReadFileBytes(c.target);
    const std::set<std::string> backups = {"old backup", ReadFileBytes(kBackupFileName)};
    EXPECT_NE(newTarget, oldTarget);
    int failures = 0;
    for (int step = 0;; ++step) {
        reset();
        if (!fail(step, writes)) break;
        SCOPED_TRACE(std::string(c.name) + ", step " + std::to_string(step));
        int result = c.run();
        EXPECT_EQ(ReadFileBytes(c.target), result ? newTarget : oldTarget);
        EXPECT_EQ(backups.count(ReadFileBytes(kBackupFileName)), 1u);
        EXPECT_EQ(TempFilesLeft(), 0);
        EXPECT_EQ(fake.boxes.size(), !result && c.reports ? 1u : 0u);
        if (!result) ++failures;
    }
    std::remove(kFillerName);
    return failures;
}
