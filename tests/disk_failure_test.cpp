#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/startup_shortcut.h"
#include "tests/storage_helpers.h"

void UpdateStartupShortcut(int) {}

// In a read-only view of a directory every rewrite fails and changes nothing.
TEST(DiskFailure, UnwritableDirectoryChangesNothing) {
    ScratchDir restoresTheWorkingDirectory;
    const char* writable = std::getenv("QB_WRITABLE_DIR");
    const char* view = std::getenv("QB_READONLY_VIEW");
    ASSERT_TRUE(writable && view) << "run through disk_failure_test.sh";
    CopyText(workingDirectory, "/data", sizeof workingDirectory);
    for (const RewriteCase& c : kRewriteCases) {
        std::filesystem::current_path(writable);
        const std::vector<int> results = CheckFailures(c, 8, [&](int step, int) {
            if (step > 0) return false;
            std::filesystem::current_path(view);  // the same files, seen read-only
            return true;
        });
        EXPECT_EQ(results, std::vector<int>{0}) << c.name;
    }
}

// On the small disk that disk_failure_test.sh mounts, with 0, 1, 2... pages
// free: each rewrite fails at a different point.
TEST(DiskFailure, FullDiskNeverLeavesAPartialFile) {
    ScratchDir restoresTheWorkingDirectory;
    const char* disk = std::getenv("QB_SMALL_DISK");
    ASSERT_TRUE(disk) << "run through disk_failure_test.sh";
    std::filesystem::current_path(disk);
    CopyText(workingDirectory, "/data", sizeof workingDirectory);
    for (const RewriteCase& c : kRewriteCases) {
        // Pages of events, so that the disk can fill up in the middle of a file.
        const std::vector<int> results = CheckFailures(c, 800, [](int freePages, int) {
            FILE* filler = freePages <= 16 ? std::fopen(kFillerName, "wb") : nullptr;
            if (!filler) return false;
            static const char page[4096] = {};  // fills the disk, then gives back `freePages` pages
            std::setvbuf(filler, nullptr, _IONBF, 0);
            while (std::fwrite(page, 1, sizeof page, filler) == sizeof page) continue;
            std::fclose(filler);
            const auto size = std::filesystem::file_size(kFillerName), keep = freePages * sizeof page;
            std::filesystem::resize_file(kFillerName, size > keep ? size - keep : 0);
            return true;
        });
        const auto failures = std::count(results.begin(), results.end(), 0);
        EXPECT_GT(failures, 0) << c.name;
        EXPECT_LT(failures, 17) << c.name;
    }
}
