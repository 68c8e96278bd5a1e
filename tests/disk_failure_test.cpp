// The writers on real file systems that refuse them: a read-only view of a
// directory and a small disk that fills up part-way. Run by
// disk_failure_test.sh, which mounts both and names them in the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/state.h"
#include "storage/first_run.h"
#include "tests/storage_helpers.h"

namespace {

constexpr size_t kPage = 4096;

std::string MountedDir(const char* variable) {
    const char* dir = std::getenv(variable);
    return dir ? dir : "";
}

// Some pages of events, so that a disk can fill up in the middle of a file.
std::string ManyEvents(bool version130) {
    std::string file = version130 ? ";Quillbee 1.30\r\n" : HeaderBytes() + "\r\n";
    for (int i = 0; i < 400; ++i) {
        Duty duty = YearlyDuty(1 + i % 28, 1 + i % 12, ("event number " + std::to_string(i)).c_str());
        file += version130 ? "15-Mar 03 01 event number " + std::to_string(i) + "\r\n" : FormatDutyLine(duty);
    }
    return file;
}

// Takes all the free space of the disk but `freePages` pages.
void FillDisk(size_t freePages) {
    FILE* filler = std::fopen(kFillerName, "wb");
    ASSERT_TRUE(filler);
    std::setvbuf(filler, nullptr, _IONBF, 0);
    static const char page[kPage] = {};
    while (std::fwrite(page, 1, sizeof page, filler) == sizeof page) {
    }
    std::fclose(filler);
    auto size = std::filesystem::file_size(kFillerName);
    std::filesystem::resize_file(kFillerName, size > freePages * kPage ? size - freePages * kPage : 0);
}

class DiskFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2010, 11, 18);
        CopyText(workingDirectory, "/data", sizeof workingDirectory);
        previous = std::filesystem::current_path();
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        ResetFakePlatform();
    }
    std::filesystem::path previous;
};

}  // namespace

TEST_F(DiskFailureTest, UnwritableDirectoryChangesNothing) {
    const std::string writable = MountedDir("QB_WRITABLE_DIR");
    const std::string readOnly = MountedDir("QB_READONLY_VIEW");
    ASSERT_FALSE(writable.empty() || readOnly.empty()) << "run through disk_failure_test.sh";
    std::filesystem::current_path(writable);
    const std::string events = ManyEvents(false);
    WriteFileBytes(kEventsFileName, events);
    WriteFileBytes(kBackupFileName, "backup");
    WriteFileBytes(kPrefsFileName, "prefs");
    std::filesystem::current_path(readOnly);

    EXPECT_EQ(AppendDuty(YearlyDuty(1, 1, "new")), 0);
    Duty duty = YearlyDuty(1, 1, "event number 0");
    duty.line = 5;
    EXPECT_EQ(RemoveDutyLine(duty), 0);
    EXPECT_EQ(SavePrefs(), 0);
    EXPECT_EQ(WriteSampleEvents(), 0);
    ASSERT_EQ(fake.boxes.size(), 3u);
    EXPECT_EQ(fake.boxes[0].text, "Error writing events file in /data");
    EXPECT_EQ(fake.boxes[1].text, "Error writing events file in /data");
    EXPECT_EQ(fake.boxes[2].text, "Error writing preferences file in /data");
    EXPECT_TRUE(fake.postedCommands.empty());
    EXPECT_EQ(ReadFileBytes(kEventsFileName), events);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), "backup");
    EXPECT_EQ(ReadFileBytes(kPrefsFileName), "prefs");
    EXPECT_EQ(TempFilesLeft(), 0);
}

// With 0, 1, 2... pages free, each rewrite fails at a different point.
TEST_F(DiskFailureTest, FullDiskNeverLeavesAPartialFile) {
    const std::string small = MountedDir("QB_SMALL_DISK");
    ASSERT_FALSE(small.empty()) << "run through disk_failure_test.sh";
    std::filesystem::current_path(small);
    for (const RewriteCase& c : RewriteCases(ManyEvents(false), ManyEvents(true))) {
        int failures = CheckFailures(c, [](int freePages, int) {
            if (freePages > 16) return false;
            FillDisk(freePages);
            return true;
        });
        EXPECT_GT(failures, 0) << c.name;
        EXPECT_LT(failures, 17) << c.name;
    }
}
