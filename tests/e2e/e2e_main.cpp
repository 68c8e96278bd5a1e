// The end-to-end tests take the path of the quillbee.exe under test.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/instance.h"

std::string quillbeeExe;

HWND ListBoxOf(HWND mainWindow) { return FindWindowExA(mainWindow, nullptr, "ListBox", nullptr); }

namespace {
int AskList(HWND mainWindow, UINT message) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(ListBoxOf(mainWindow), message, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    return static_cast<int>(answer);
}
}  // namespace

int RowCount(HWND mainWindow) { return AskList(mainWindow, LB_GETCOUNT); }
int RowHeight(HWND mainWindow) { return AskList(mainWindow, LB_GETITEMHEIGHT); }

std::string StartupLinkPath() {
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, TRUE);
    return std::string(folder) + "\\Quillbee.lnk";
}

void Picture(HWND window, const std::string& name) {
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver(("screenshots\\" + name + ".bmp").c_str()))) << name;
}

void ChooseFromMenu(DWORD processId, HWND window, UINT message, LPARAM lParam, int position,
                    const char* name) {
    PostMessageA(window, message, 0, lParam);
    HWND menu = WaitForWindow(processId, "#32768", 5000);
    ASSERT_NE(menu, nullptr) << "no menu";
    Picture(menu, name);
    for (int i = 0; i <= position; ++i) {  // the keys reach the menu through the window's thread
        const WPARAM key = i < position ? VK_DOWN : VK_RETURN;
        PostMessageA(window, WM_KEYDOWN, key, 0);
        PostMessageA(window, WM_KEYUP, key, 0xC0000000);
        Sleep(100);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000)) << "the menu stays open";
}

HWND OpenDialog(DWORD processId, HWND window, int command, int row, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    if (row >= 0)
        SendMessageTimeoutA(ListBoxOf(window), LB_SETCURSEL, row, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    PostMessageA(window, WM_COMMAND, command, 0);
    return WaitForWindow(processId, "#32770", timeoutMs);
}

HWND MessageBoxOver(DWORD processId, HWND dialog) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = WaitForMessageBox(processId, 0)) != nullptr && box != dialog; }, 5000);
    return box != dialog ? box : nullptr;
}

int main(int argc, char** argv) {
    // The programs started inherit no TZ: msvcrt would misread a Linux-style value.
    SetEnvironmentVariableA("TZ", nullptr);
    _putenv("TZ=");
    _tzset();
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s path\\to\\quillbee.exe\n", argv[0]);
        return 2;
    }
    quillbeeExe = argv[1];
    // A Windows path, as Explorer and the Startup folder give it.
    if (!quillbeeExe.empty() && quillbeeExe[0] == '/') quillbeeExe = "Z:" + quillbeeExe;
    for (char& c : quillbeeExe) {
        if (c == '/') c = '\\';
    }
    CreateDirectoryA(BesideDriver("screenshots").c_str(), nullptr);
    return RUN_ALL_TESTS();
}
