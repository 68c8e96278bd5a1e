// How the program meets the rest of the desktop: the command line Windows
// hands it, an instance that hangs, and what Windows reads from its file.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <set>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"

// Started as C:/Users/anna/quillbee.exe the first slash of the command line
// is followed by "U"; only a slash in the arguments is a switch.
TEST(EndToEnd, SlashesInTheProgramPathAreNoSwitch) {
    for (bool quoted : {false, true}) {
        Instance app("path", EventsFile(EventLine(0, "Today")));
        const std::string exe = app.File("quillbee.exe");
        ASSERT_TRUE(CopyFileA(quillbeeExe.c_str(), exe.c_str(), FALSE));
        std::string path = exe;
        for (char& c : path) c = c == '\\' ? '/' : c;
        ASSERT_EQ(path.find(' '), std::string::npos) << "an unquoted path must not hold a blank: " << path;
        ASSERT_NE(path.find("/u"), std::string::npos) << "the test wants a path that reads as /U: " << path;
        WriteWholeFile(StartupLinkPath(), "not really a link");

        RunningProgram program;
        ASSERT_TRUE(
            StartProgramWithCommandLine(exe, quoted ? "\"" + path + "\"" : path, app.Folder(), &program));
        HWND window = WaitForWindow(program.process.dwProcessId, "QuillbeeClass", kStartTimeout);
        EXPECT_NE(window, nullptr) << path;
        EXPECT_TRUE(PathExists(StartupLinkPath())) << "the start-up shortcut is left alone";
        if (window) ExitProgram(window);
        EXPECT_EQ(WaitForExit(&program, 10000), 0u);
        StopProgram(&program);
    }
    DeleteFileA(StartupLinkPath().c_str());
}

// "/C" takes the icon of an instance that does not answer out of the
// notification area, waits a few seconds for it, then ends.
TEST(EndToEnd, CloseGivesUpOnAHungInstance) {
    // A window of the program's class on this thread, which takes no
    // messages while it waits for the closer: an instance that hangs.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillbeeClass";
    RegisterClassA(&windowClass);
    std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> hung(
        CreateWindowExA(0, "QuillbeeClass", "Quillbee", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                        windowClass.hInstance, nullptr),
        DestroyWindow);
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = hung.get();
    icon.uID = 130;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &icon));
    Instance closer("hung");
    ASSERT_TRUE(closer.Start("/C"));
    EXPECT_EQ(closer.Exit(20000), kExitedWithMinusOne);
    EXPECT_FALSE(HasTrayIcon(hung.get()));
}

// What Windows' lists of processes and of start-up programs show, and the
// icon sizes Explorer and the taskbar pick from.
TEST(EndToEnd, TheProgramFileNamesItselfAndCarriesEveryIconSize) {
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(quillbeeExe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(quillbeeExe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    WORD* translation = nullptr;  // language, code page
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    const struct {
        const char *name, *value;
    } strings[] = {{"ProductName", "Quillbee"}, {"FileDescription", "Quillbee"}, {"ProductVersion", "1.41"}};
    for (const auto& [name, wanted] : strings) {
        char path[64];
        snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
        char* value = nullptr;
        EXPECT_TRUE(VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_STREQ(value ? value : "", wanted) << name;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(41, 1)));

    HMODULE file = LoadLibraryExA(quillbeeExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC group = FindResourceA(file, MAKEINTRESOURCEA(130), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(file, group)));
    std::set<int> sizes;
    for (int i = 0; i < (directory[4] | directory[5] << 8); ++i)
        sizes.insert(directory[6 + 14 * i] == 0 ? 256 : directory[6 + 14 * i]);
    for (int wanted : {16, 20, 24, 32, 48, 256}) EXPECT_EQ(sizes.count(wanted), 1u) << wanted;
    // The larger images are stored as PNG: each must still load at its size.
    for (int wanted : sizes) {
        HICON icon = static_cast<HICON>(LoadImageA(file, MAKEINTRESOURCEA(130), IMAGE_ICON, wanted, wanted, 0));
        ICONINFO parts = {};
        BITMAP colour = {};
        ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &parts)) << wanted;
        GetObjectA(parts.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, wanted);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(file);
}
