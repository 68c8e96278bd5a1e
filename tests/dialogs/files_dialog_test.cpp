// The Files dialog on a thread of its own, in working directories of every
// kind: plain, with an ampersand, Polish and longer than 260 and 512 bytes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/win_state.h"
#include "dialogs/files_dialog.h"
#include "resources/resource_ids.h"
#include "tests/dialogs/helpers.h"
#include "tests/modal_run.h"
#include "tests/scratch_dir.h"

namespace {
// Makes the folders of `path` (relative, '\'-separated), enters the last
// and returns the whole working directory.
std::string EnterFolders(const std::string& path) {
    for (size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
        CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
        if (end == std::string::npos) break;
    }
    EXPECT_TRUE(SetCurrentDirectoryA(path.c_str())) << GetLastError();
    char directory[2048] = "";
    GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}
}  // namespace

TEST(FilesDialog, ShowsBothPathsWholeInAnyWorkingDirectory) {
    appInstance = GetModuleHandleA(nullptr);
    std::string polish = "Zażółć gęślą jaźń, Źdźbło";
    std::string dashes = Repeat("ż—", 24);  // five bytes to two characters
    struct Case {
        std::string folders;
        size_t longerThan;
        const char* shot;
    } cases[] = {
        {"Dane", 0, "files"},
        {"Tom & Jerry", 0, nullptr},
        {Repeat(polish + "\\", 6) + polish, 260, "files-long-polish"},
        {Repeat(dashes + "\\", 3) + dashes, 512, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folders);
        ScratchDir scratch;
        std::string directory = EnterFolders(c.folders);
        ASSERT_GT(directory.size(), c.longerThan);
        ASSERT_EQ(directory.substr(directory.size() - c.folders.size()), c.folders);

        ModalRun run([] { return ShowFilesDialog(nullptr); });
        HWND files = run.Active();
        ASSERT_NE(files, nullptr);
        if (c.shot) SaveShot(files, c.shot);
        EXPECT_EQ(WindowText(files), "Quillbee - Pliki");
        EXPECT_EQ(DlgText(files, IDC_FILES_EVENTS_PATH), " " + directory + "\\quillbee.events");
        EXPECT_EQ(DlgText(files, IDC_FILES_PREFS_PATH), " " + directory + "\\quillbee.prefs");
        EXPECT_EQ(ClippedTexts(files), "");
        // Below the Close button the controls stand one under the other, all
        // inside the dialog.
        RECT client;
        GetClientRect(files, &client);
        int lowest = 0;
        for (HWND child = GetWindow(files, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT box = ChildBox(files, child);
            EXPECT_LE(box.bottom, client.bottom);
            if (GetDlgCtrlID(child) == IDOK) continue;
            EXPECT_GE(box.top, lowest) << GetDlgCtrlID(child);
            lowest = box.bottom;
        }
        PostMessageA(files, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(run.Wait());
        EXPECT_EQ(run.Result(), 1);
    }
}

TEST(FilesDialog, BelongsToTheWindowThatOpensIt) {
    appInstance = GetModuleHandleA(nullptr);
    HWND owner = nullptr;
    ModalRun run([&owner] {
        owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        INT_PTR result = ShowFilesDialog(owner);
        DestroyWindow(owner);
        return result;
    });
    HWND files = run.Active();
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(GetWindow(files, GW_OWNER), owner);
    LOGFONTA heading = {};
    GetObjectA(
        reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(files, IDC_FILES_PREFS_HEADING, WM_GETFONT, 0, 0)),
        sizeof heading, &heading);
    EXPECT_EQ(heading.lfWeight, 600);
    PressButton(files, IDOK);
    ASSERT_TRUE(run.Wait());
    EXPECT_EQ(run.Result(), 1);
}
