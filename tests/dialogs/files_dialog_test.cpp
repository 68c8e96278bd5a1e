// The Files dialog in working directories of every kind: plain, with an
// ampersand, Polish and longer than 260 and 512 bytes.
#include "dialogs/files_dialog.h"

#include "resources/resource_ids.h"
#include "tests/dialogs/fixture.h"

using FilesDialog = DialogTest;

TEST_F(FilesDialog, ShowsBothPathsWholeInAnyWorkingDirectory) {
    std::string polish = "Zażółć gęślą jaźń, Źdźbło", dashes, longPolish;
    for (int i = 0; i < 24; ++i) dashes += "ż—";  // five bytes to two characters
    for (int i = 0; i < 6; ++i) longPolish += polish + "\\";
    const struct {
        std::string folders;  // made and entered one by one
        size_t longerThan;
        const char* shot;
    } cases[] = {
        {"Dane", 0, "files"},
        {"Tom & Jerry", 0, nullptr},
        {longPolish + polish, 260, "files-long-polish"},
        {dashes + "\\" + dashes + "\\" + dashes + "\\" + dashes, 512, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folders);
        ScratchDir scratch;
        for (size_t end = c.folders.find('\\');; end = c.folders.find('\\', end + 1)) {
            CreateDirectoryA(c.folders.substr(0, end).c_str(), nullptr);
            if (end == std::string::npos) break;
        }
        ASSERT_TRUE(SetCurrentDirectoryA(c.folders.c_str())) << GetLastError();
        char directory[2048] = "";
        GetCurrentDirectoryA(sizeof directory, directory);
        const std::string here = directory;
        ASSERT_GT(here.size(), c.longerThan);

        ASSERT_NE(Open([] { return ShowFilesDialog(nullptr); }), nullptr);
        if (c.shot) SaveShot(dialog_, c.shot);
        EXPECT_EQ(WindowText(dialog_), "Quillbee - Pliki");
        EXPECT_EQ(Text(IDC_FILES_EVENTS_PATH), " " + here + "\\quillbee.events");
        EXPECT_EQ(Text(IDC_FILES_PREFS_PATH), " " + here + "\\quillbee.prefs");
        EXPECT_EQ(ClippedTexts(dialog_), "");
        PostMessageA(dialog_, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(Ended(1));
    }
}
