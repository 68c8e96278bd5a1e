// The versions of the events file kept for an undo, and the undo that puts
// them back. Failed writes of a version are among the fault tests of
// events_save_test.cpp (CheckFailures).
#include "storage/events_history.h"

#include <gtest/gtest.h>

#include "app/platform.h"
#include "storage/events_undo.h"
#include "storage/first_run.h"
#include "storage/import_export.h"
#include "tests/storage_helpers.h"

using EventsHistoryTest = StorageTest;
using Strings = std::vector<std::string>;

namespace {

// The list editor's save of the rows MarchEvent(day) of each day.
int SaveList(const std::vector<int>& days) {
    static std::vector<int> rows;
    rows = days;
    auto line = [](int index, void*) { return FormatDutyLine(MarchEvent(rows[static_cast<size_t>(index)])); };
    return WriteEventsFromRows(static_cast<int>(rows.size()), line, nullptr);
}

std::string InHistory(const char* name) { return std::string(kHistoryFolderName) + "/" + name; }

}  // namespace

// Each writer keeps the file it replaces, once and byte for byte (the others
// are among the fault tests); a file made where there was none has nothing to keep.
TEST_F(EventsHistoryTest, EveryWriterKeepsTheFileItReplaces) {
    const struct {
        const char* name;
        std::string start;  // "" for no events file
        std::function<int()> run;
    } cases[] = {
        {"list save", EventsOf({5, 6}), [] { return SaveList({6}); }},
        {"import", EventsOf({5}),
         [] {
             WriteFileBytes("new.csv", "date,message\r\n2010-03-08,event 8\r\n");
             ImportReport report;
             return ImportEvents("new.csv", &report);
         }},
        {"first run", "", [] { return WriteSampleEvents(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(kHistoryFolderName);
        std::remove(kEventsFileName);
        if (!c.start.empty()) WriteFileBytes(kEventsFileName, c.start);
        ASSERT_EQ(c.run(), 1);
        EXPECT_NE(ReadFileBytes(kEventsFileName), c.start);
        EXPECT_EQ(KeptVersions(), c.start.empty() ? Strings{} : Strings{c.start});
    }
    EXPECT_TRUE(fake.boxes.empty());
}

// Versions of one second, and of a clock put back, come after the newest one
// instead of over it; a save that changes nothing adds one version at most.
// Other files in the folder are neither versions nor ever deleted, and
// pruning keeps the thirty newest versions.
TEST_F(EventsHistoryTest, VersionsSortInTheOrderTheyWereKeptAndThirtyStay) {
    std::filesystem::create_directory(kHistoryFolderName);
    const char* mine[] = {"mine.events", "2010-11-18_09-30-00_000.events", "2010-13-18_09-30-00.events"};
    for (const char* name : mine) WriteFileBytes(InHistory(name).c_str(), "mine");
    WriteFileBytes(kEventsFileName, EventsOf({5}));
    for (int day = 6; day <= 8; ++day) ASSERT_EQ(AppendDuty(MarchEvent(day)), 1);
    fake.now -= 3600;
    ASSERT_EQ(AppendDuty(MarchEvent(9)), 1);
    fake.now += 3600 + 65;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(SaveList({5, 6, 7, 8, 9}), 1);
    Strings names;
    for (const EventsVersion& version : ListVersions()) names.push_back(version.name);
    EXPECT_EQ(names, (Strings{"2010-11-18_09-31-05.events", "2010-11-18_09-30-00_003.events",
                              "2010-11-18_09-30-00_002.events", "2010-11-18_09-30-00_001.events",
                              "2010-11-18_09-30-00.events"}));
    Strings replaced = {EventsOf({5, 6, 7, 8, 9}), EventsOf({5, 6, 7, 8}), EventsOf({5, 6, 7}),
                        EventsOf({5, 6}), EventsOf({5})};
    EXPECT_EQ(KeptVersions(), replaced);
    // The newest version equals the file now; an undo skips it.
    EventsVersion undo;
    ASSERT_TRUE(FindUndoVersion(&undo));
    EXPECT_STREQ(undo.name, "2010-11-18_09-30-00_003.events");

    for (int i = 0; i < kVersionsKept; ++i) {
        replaced.insert(replaced.begin(), ReadFileBytes(kEventsFileName));
        fake.now += 1;
        ASSERT_EQ(AppendDuty(MarchEvent(10 + i % 20)), 1);
    }
    replaced.resize(kVersionsKept);
    EXPECT_EQ(KeptVersions(), replaced);
    for (const char* name : mine) EXPECT_EQ(ReadFileBytes(InHistory(name).c_str()), "mine") << name;
}

// The list editor's save deleted three events: an undo brings them back, and
// a second undo returns to the state after the save.
TEST_F(EventsHistoryTest, UndoAfterASaveThatDeletedEvents) {
    const std::string before = EventsOf({5, 6, 7, 8, 9});
    WriteFileBytes(kEventsFileName, before);
    EXPECT_EQ(UndoLastChange(), 0) << "nothing kept yet";
    EXPECT_TRUE(fake.boxes.empty());

    fake.now = LocalTime(2026, 12, 7, 14, 32);
    ASSERT_EQ(SaveList({5, 9}), 1);
    const std::string after = ReadFileBytes(kEventsFileName);
    fake.answers = {kAnswerNo, kAnswerYes, kAnswerYes};
    EXPECT_EQ(UndoLastChange(), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), after);
    EXPECT_TRUE(fake.postedCommands.empty());

    fake.now += 60;
    EXPECT_EQ(UndoLastChange(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), before);
    EXPECT_EQ(ReadFileBytes(kBackupFileName), before);
    EXPECT_EQ(KeptVersions(), (Strings{after, before}));

    fake.now += 60;
    EXPECT_EQ(UndoLastChange(), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), after);
    EXPECT_EQ(fake.postedCommands, std::vector<int>(2, CMD_RELOAD_LIST));

    auto question = [](const char* time, int then, int now) {
        return "Restore the events as they were\nat " + std::string(time) +
               " on 07/Gru/2026?\n\nEvents then: " + std::to_string(then) +
               "\nEvents now: " + std::to_string(now) +
               "\n\nThe events as they are now are kept, so this can be undone as well.";
    };
    const Strings questions = {question("14:32", 5, 2), question("14:32", 5, 2), question("14:33", 2, 5)};
    ASSERT_EQ(fake.boxes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fake.boxes[i].text, questions[i]);
        EXPECT_EQ(fake.boxes[i].caption, "Cofnij ostatnią zmianę");
        EXPECT_EQ(fake.boxes[i].style, kBoxYesNo | kBoxIconQuestion);
    }
}

// A folder that cannot be made: every change is saved, and the user is told
// once. A change that fails leaves no version behind; a version that is gone
// restores nothing.
TEST_F(EventsHistoryTest, AVersionThatCannotBeKeptNeverStopsAChange) {
    WriteFileBytes(kHistoryFolderName, "in the way");
    WriteFileBytes(kEventsFileName, EventsOf({5}));
    EXPECT_EQ(AppendDuty(MarchEvent(6)), 1);
    EXPECT_EQ(SaveList({5, 6, 7}), 1);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5, 6, 7}));
    EXPECT_EQ(ReadFileBytes(kHistoryFolderName), "in the way");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              "The change was saved, but the previous version of the events could not be kept in the folder "
              "quillbee.history in C:\\Quillbee, so this change cannot be undone.\n\n"
              "This message is not shown again until Quillbee is restarted.");
    EXPECT_EQ(fake.boxes[0].style, kBoxOk | kBoxIconWarning);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 3) << "a temporary file left";

    std::remove(kHistoryFolderName);
    fake.boxes.clear();
    fake.failReplaceOf = kEventsFileName;
    EXPECT_EQ(AppendDuty(MarchEvent(8)), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5, 6, 7}));
    EXPECT_TRUE(KeptVersions().empty());
    EXPECT_EQ(fake.boxes.size(), 1u);

    fake.failReplaceOf.clear();
    fake.boxes.clear();
    EXPECT_EQ(RestoreVersion({"2010-11-18_09-30-00.events", 2010, 11, 18, 9, 30, 0, 0}), 0);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), EventsOf({5, 6, 7}));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.boxes[0].text.find("2010-11-18_09-30-00.events cannot be read"), std::string::npos);
}
