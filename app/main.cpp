// Quillbee's entry point: switches, one instance per working directory,
// settings, the main window and the message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/command_switch.h"
#include "app/directory_hash.h"
#include "app/load_str.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/startup_shortcut.h"
#include "app/win_state.h"
#include "storage/prefs_file.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    appInstance = instance;
    CoInitialize(nullptr);

    char letter = CommandLineSwitch(GetCommandLineA());
    if (letter == 'C' || letter == 'U') {
        if (letter == 'U') UpdateStartupShortcut(0);
        CloseRunningInstance();
        CoUninitialize();
        return -1;
    }
    if (letter == 'S') silentStart = 1;

    GetCurrentDirectoryA(sizeof workingDirectory, workingDirectory);
    dirHash = DirectoryHash(workingDirectory);
    HWND running = FindSameDirectoryInstance();
    if (running != nullptr) {
        SetForegroundWindow(running);
        ShowWindow(running, SW_SHOW);
        CoUninitialize();
        return -1;
    }

    RegisterMainWindowClass(instance);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    ReadLocaleDateOrder();
    CopyText(languageCode, LoadStr(1000), sizeof languageCode);
    newEventRepeatMark = 'Y';

    LoadPrefs();
    HWND window = CreateMainWindow(instance);
    ShowWindow(window, silentStart ? SW_HIDE : showCommand);

    int exitCode = RunMessageLoop();
    ShutDown();
    CoUninitialize();
    return exitCode;
}
