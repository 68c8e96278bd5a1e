// The writers on file systems that refuse them: a read-only view of a
// directory and a small disk that fills up part-way, both mounted by
// disk_failure_test.sh and named in the environment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/startup_shortcut.h"
#include "storage/first_run.h"
#include "tests/storage_helpers.h"

void UpdateStartupShortcut(int) {}

namespace {

// Takes all the free space of the disk but `freePages` pages.
void FillDisk(size_t freePages) {
    FILE* filler = std::fopen(kFillerName, "wb");
    ASSERT_TRUE(filler);
    std::setvbuf(filler, nullptr, _IONBF, 0);
    static const char page[4096] = {};
    while (std::fwrite(page, 1, sizeof page, filler) == sizeof page) {
    }
    std::fclose(filler);
    const auto size = std::filesystem::file_size(kFillerName), keep = freePages * sizeof page;
    std::filesystem::resize_file(kFillerName, size > keep ? size - keep : 0);
}

// Enters the directory that the script named in `variable`.
bool Enter(const char* variable) {
    const char* dir = std::getenv(variable);
    if (dir) std::filesystem::current_path(dir);
    CopyText(workingDirectory, "/data", sizeof workingDirectory);
    return dir != nullptr;
}

}  // namespace

TEST(DiskFailure, UnwritableDirectoryChangesNothing) {
    ScratchDir restoresTheWorkingDirectory;
    ASSERT_TRUE(Enter("QB_WRITABLE_DIR")) << "run through disk_failure_test.sh";
    const std::string events = OldEvents(8);
    WriteFileBytes(kEventsFileName, events);
    WriteFileBytes(kBackupFileName, "backup");
    WriteFileBytes(kPrefsFileName, "prefs");
    ASSERT_TRUE(Enter("QB_READONLY_VIEW"));
    for (const RewriteCase& c : kRewriteCases) {
        ResetFakePlatform();
        EXPECT_EQ(c.run(), 0) << c.name;
        EXPECT_EQ(fake.boxes.size(), c.error ? 1u : 0u) << c.name;
        for (const ShownBox& box : fake.boxes) EXPECT_EQ(box.text, c.error + std::string("/data"));
        EXPECT_TRUE(fake.postedCommands.empty()) << c.name;
    }
    EXPECT_EQ(WriteSampleEvents(), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), events);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), "backup");
    EXPECT_EQ(ReadFileBytes(kPrefsFileName), "prefs");
    EXPECT_EQ(StrayFiles(), 0);
}

// With 0, 1, 2... pages free, each rewrite fails at a different point.
TEST(DiskFailure, FullDiskNeverLeavesAPartialFile) {
    ScratchDir restoresTheWorkingDirectory;
    ASSERT_TRUE(Enter("QB_SMALL_DISK")) << "run through disk_failure_test.sh";
    for (const RewriteCase& c : kRewriteCases) {
        // Some pages of events, so that the disk can fill up in the middle of a file.
        const std::vector<int> results = CheckFailures(c, OldEvents(800), [](int freePages, int) {
            if (freePages > 16) return false;
            FillDisk(freePages);
            return true;
        });
        const auto failures = std::count(results.begin(), results.end(), 0);
        EXPECT_GT(failures, 0) << c.name;
        EXPECT_LT(failures, 17) << c.name;
    }
}
