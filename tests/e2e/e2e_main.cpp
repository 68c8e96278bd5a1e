// The end-to-end tests take the path of the quillbee.exe under test.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/instance.h"

std::string quillbeeExe;

HWND ListBoxOf(HWND mainWindow) { return FindWindowExA(mainWindow, nullptr, "ListBox", nullptr); }

int RowCount(HWND mainWindow) {
    DWORD_PTR count = 0;
    SendMessageTimeoutA(ListBoxOf(mainWindow), LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    return static_cast<int>(count);
}

std::string StartupLinkPath() {
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, TRUE);
    return std::string(folder) + "\\Quillbee.lnk";
}

bool HasTrayIcon(HWND mainWindow) {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow;
    data.uID = 130;
    data.uFlags = NIF_TIP;
    lstrcpyA(data.szTip, " Quillbee ");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

int ListPicture::Count(int row, COLORREF colour) const {
    int n = 0;
    for (int y = top + row * rowHeight; y < top + (row + 1) * rowHeight; ++y)
        for (int x = left; x < right; ++x) n += picture.At(x, y) == colour;
    return n;
}

int ListPicture::RightmostInk(int row, COLORREF background) const {
    for (int x = right - 1; x >= left; --x)
        for (int y = top + row * rowHeight; y < top + (row + 1) * rowHeight; ++y)
            if (picture.At(x, y) != background) return x;
    return -1;
}

int main(int argc, char** argv) {
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
