// Helpers shared by the tests of the file writers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/state.h"
#include "storage/events_file.h"
#include "storage/events_save.h"
#include "storage/prefs_file.h"
#include "storage/safe_rewrite.h"
#include "tests/fake_platform.h"
#include "tests/scratch_dir.h"

constexpr const char* kFillerName = "filler";  // takes a disk's free space

// The three header lines of every file the program writes.
inline std::string Header() {
    return ";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n"
           ";Quillbee is made by its authors and given away free of charge.\r\n;" +
           std::string(kProductAddress) + "\r\n";
}

// Files other than the data files in the working directory: what a writer left behind.
inline int StrayFiles() {
    const std::set<std::string> known = {kEventsFileName, kBackupFileName, kPrefsFileName, kFillerName};
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        count += known.count(entry.path().filename().string()) == 0;
    return count;
}

// The read-only flag of Windows, or no write bits elsewhere; a missing file is ignored.
inline void SetReadOnly(const char* name, bool readOnly) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, ignored);
}

// The yearly event "event <day>" of `day` March 2010, read from `line`.
inline Duty MarchEvent(int day, int line = 0) {
    Duty duty{line, day, 3, 2010, 'Y', 1, 0, 0, 0, nullptr, "", ""};
    std::snprintf(duty.message, sizeof duty.message, "event %d", day);
    return duty;
}

// A version 1.30 events file of `count` events, which each rewrite below changes.
inline std::string OldEvents(int count) {
    std::string file = ";Quillbee 1.30\r\n";
    for (int i = 0; i < count; ++i) file += "15-Mar 03 01 event number " + std::to_string(i) + "\r\n";
    return file;
}

// A rewrite and the start of the message that reports its failure (null: none).
struct RewriteCase {
    const char* name;
    const char* target;
    std::function<int()> run;
    const char* error;
};

inline const RewriteCase kRewriteCases[] = {
    {"append", kEventsFileName, [] { return AppendDuty(MarchEvent(9)); }, "Error writing events file in "},
    {"remove", kEventsFileName, [] { return RemoveDutyLine(MarchEvent(6, 6)); },
     "Error writing events file in "},
    {"upgrade", kEventsFileName, [] { return UpgradeEventsFile(); }, nullptr},
    {"prefs", kPrefsFileName, [] { return SavePrefs(); }, "Error writing preferences file in "},
};

// Runs `c` on `events` undisturbed, then from the same files again for each step
// that `fail(step, writesOfTheCleanRun)` disturbs, until it returns false. Each
// run leaves the old or the new target as its result says, the old or (on
// success) the new backup, no temporary file, and a report only of a failure.
inline std::vector<int> CheckFailures(const RewriteCase& c, const std::string& events,
                                      const std::function<bool(int, int)>& fail) {
    auto reset = [&] {
        std::remove(kFillerName);
        for (const char* name : {kEventsFileName, kPrefsFileName}) SetReadOnly(name, false);
        WriteFileBytes(kEventsFileName, events);
        WriteFileBytes(kBackupFileName, "old backup");
        WriteFileBytes(kPrefsFileName, "old prefs");
        ResetFakePlatform();
    };
    reset();
    const std::string oldTarget = ReadFileBytes(c.target);
    EXPECT_EQ(c.run(), 1) << c.name;
    const int writes = fake.writes;
    const std::string newTarget = ReadFileBytes(c.target), newBackup = ReadFileBytes(kBackupFileName);
    EXPECT_NE(newTarget, oldTarget) << c.name;
    std::vector<int> results;
    for (int step = 0; reset(), fail(step, writes); ++step) {
        SCOPED_TRACE(std::string(c.name) + ", step " + std::to_string(step));
        const int result = c.run();
        results.push_back(result);
        EXPECT_EQ(ReadFileBytes(c.target), result ? newTarget : oldTarget);
        const std::string backup = ReadFileBytes(kBackupFileName);
        EXPECT_TRUE(backup == "old backup" || (result && backup == newBackup)) << backup.size();
        EXPECT_EQ(StrayFiles(), 0);
        EXPECT_FALSE(fake.waitCursor);
        EXPECT_EQ(fake.boxes.size(), !result && c.error ? 1u : 0u);
        for (const ShownBox& box : fake.boxes) {
            EXPECT_EQ(box.text, c.error + std::string(workingDirectory));
            EXPECT_EQ(box.caption, "Quillbee 1.41");
            EXPECT_EQ(box.style, kBoxOk | kBoxIconError);
        }
        EXPECT_TRUE(result || fake.postedCommands.empty());
    }
    return results;  // of the disturbed runs
}
