// Helpers shared by the tests of the file writers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/prefs.h"
#include "app/state.h"
#include "storage/events_file.h"
#include "storage/events_history.h"
#include "storage/events_in_order.h"
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

// The Windows read-only flag, or no write bits elsewhere; a missing file is ignored.
inline void SetReadOnly(const char* name, bool readOnly) {
    using std::filesystem::perms;
    std::error_code ignored;
    std::filesystem::permissions(name, readOnly ? perms::owner_read : perms::owner_read | perms::owner_write,
                                 ignored);
}

// A new event: yearly or one-off, with its own limits (0 and 0: the global ones).
inline Duty MakeDuty(int day, int month, int year, bool yearly, int before, int after,
                     const std::string& message, const std::string& notes = "") {
    Duty d{};
    d.day = day, d.month = month, d.year = year, d.yearly = yearly, d.repeatMark = yearly ? 'Y' : 'N';
    d.warnBefore = before, d.warnAfter = after;
    CopyText(d.message, message.c_str(), sizeof d.message);
    CopyText(d.notes, notes.c_str(), sizeof d.notes);
    return d;
}

// The yearly event "event <day>" of `day` March 2010, read from `line`.
inline Duty MarchEvent(int day, int line = 0) {
    Duty d = MakeDuty(day, 3, 2010, true, 0, 0, "event " + std::to_string(day));
    d.line = line;
    return d;
}

// The header, a blank line and MarchEvent(day) of each day, from line 5 on.
inline std::string EventsOf(std::initializer_list<int> days) {
    std::string file = Header() + "\r\n";
    for (int day : days) file += FormatDutyLine(MarchEvent(day));
    return file;
}

// A fresh directory, the default settings, 18 November 2010 at 9:30.
class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18, 9, 30);
        CopyText(workingDirectory, "C:\\Quillbee", sizeof workingDirectory);
        prefs = DefaultPrefs();
        userPresent = 0;
        lostVersionReported = 0;
    }
    void TearDown() override { SetUp(); }
    ScratchDir dir;
};

// A rewrite and the start of the message that reports its failure (null: none,
// as for the list editor's save, whose failures the editor reports).
struct RewriteCase {
    const char *name, *target;
    std::function<int()> run;
    const char* error;
};

inline const RewriteCase kRewriteCases[] = {
    {"append", kEventsFileName, [] { return AppendDuty(MarchEvent(9)); }, "Error writing events file in "},
    {"remove", kEventsFileName, [] { return RemoveDutyLine(MarchEvent(6, 6)); },
     "Error writing events file in "},
    {"replace", kEventsFileName, [] { return ReplaceDutyLine(MarchEvent(9, 6)); },
     "Error writing events file in "},
    {"upgrade", kEventsFileName, [] { return UpgradeEventsFile(); }, nullptr},
    {"list save", kEventsFileName,
     [] {
         return WriteEventsFromRows(
             2, [](int i, void*) { return FormatDutyLine(MarchEvent(5 + i)); }, nullptr);
     },
     nullptr},
    {"prefs", kPrefsFileName, [] { return SavePrefs(); }, "Error writing preferences file in "},
};

// The contents of the versions in the history folder, newest first.
inline std::vector<std::string> KeptVersions() {
    std::vector<std::string> contents;
    for (const EventsVersion& version : ListVersions()) {
        char path[64];
        VersionPath(version.name, path, sizeof path);
        contents.push_back(ReadFileBytes(path));
    }
    return contents;
}

// Runs `c` on a 1.30 file of `events` events undisturbed, then again for each
// step that `fail(step, writesOfTheCleanRun)` disturbs, until it returns false.
// Each run must leave the target old or new as its result says, a whole backup,
// no temporary file, the replaced events file kept whole or its loss reported,
// and one report of each failure only. Returns the results: 1 done, 2 done but
// the replaced file not kept for an undo, 0 failed.
inline std::vector<int> CheckFailures(const RewriteCase& c, int events,
                                      const std::function<bool(int, int)>& fail) {
    const bool history = std::string(c.target) == kEventsFileName;
    auto reset = [&] {
        std::remove(kFillerName);
        std::filesystem::remove_all(kHistoryFolderName);
        SetReadOnly(c.target, false);
        std::string file = ";Quillbee 1.30\r\n";
        for (int i = 0; i < events; ++i) file += "15-Mar 03 01 event number " + std::to_string(i) + "\r\n";
        WriteFileBytes(kEventsFileName, file);
        WriteFileBytes(kBackupFileName, "old backup");
        WriteFileBytes(kPrefsFileName, "old prefs");
        ResetFakePlatform();
        lostVersionReported = 0;
    };
    reset();
    const std::string oldTarget = ReadFileBytes(c.target);
    const std::vector<std::string> none, oldEvents{ReadFileBytes(kEventsFileName)};
    EXPECT_EQ(c.run(), 1) << c.name;
    const int writes = fake.writes;
    const std::string newTarget = ReadFileBytes(c.target), newBackup = ReadFileBytes(kBackupFileName);
    EXPECT_NE(newTarget, oldTarget) << c.name;
    EXPECT_TRUE(KeptVersions() == (history ? oldEvents : none)) << c.name;
    EXPECT_EQ(history, FileExists(kHistoryFolderName)) << c.name;
    std::vector<int> results;
    for (int step = 0; reset(), fail(step, writes); ++step) {
        SCOPED_TRACE(std::string(c.name) + ", step " + std::to_string(step));
        const int result = c.run();
        EXPECT_EQ(ReadFileBytes(c.target), result ? newTarget : oldTarget);
        const std::string backup = ReadFileBytes(kBackupFileName);
        EXPECT_TRUE(backup == "old backup" || (result && backup == newBackup)) << backup.size();
        const std::vector<std::string> kept = KeptVersions();
        const bool lost = result && history && kept.empty();
        // Whole files can be long: their sizes say enough in a failure.
        EXPECT_TRUE(kept == (result && history && !lost ? oldEvents : none)) << kept.size() << " versions";
        results.push_back(lost ? 2 : result);
        int files = 0;  // the three data files; a temporary one left behind makes four
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            files += entry.path().filename() != kFillerName && entry.path().filename() != kHistoryFolderName;
        }
        EXPECT_EQ(files, 3);
        EXPECT_FALSE(fake.waitCursor);
        EXPECT_EQ(fake.boxes.size(), (!result && c.error ? 1u : 0u) + (lost ? 1u : 0u));
        for (const ShownBox& box : fake.boxes) {
            if (box.text.rfind("The change was saved, but the previous version", 0) == 0) continue;
            EXPECT_EQ(box.text, c.error + std::string(workingDirectory));
        }
        EXPECT_TRUE(result || fake.postedCommands.empty());
    }
    return results;
}
