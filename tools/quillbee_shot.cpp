// Starts quillbee.exe in the current folder, answers its welcome box on a
// first run, saves a picture of the main window once its list is built, and
// ends it: quillbee_shot.exe path\to\quillbee.exe picture.bmp
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: quillbee_shot path\\to\\quillbee.exe picture.bmp\n");
        return 2;
    }
    _putenv("TZ=");
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    RunningProgram program;
    if (!StartProgram(argv[1], "", folder, &program)) {
        fprintf(stderr, "quillbee_shot: cannot start %s\n", argv[1]);
        return 1;
    }
    DWORD id = program.process.dwProcessId;
    HWND window = nullptr;
    WaitUntil(
        [&] {
            if (HWND box = WaitForWindow(id, "#32770", 0)) {
                printf("%s: %s\n", MessageBoxCaption(box).c_str(), MessageBoxText(box).c_str());
                PressButton(box, IDOK);
                Sleep(200);
            }
            window = WaitForWindow(id, "QuillbeeClass", 0);
            return window != nullptr || WaitForExit(&program, 0) != STILL_ACTIVE;
        },
        20000);
    if (!window) {
        fprintf(stderr, "quillbee_shot: the main window did not appear\n");
        StopProgram(&program);
        return 1;
    }
    // The first rebuild sets the title to the date; give the rows time to paint.
    WaitUntil([&] { return WindowText(window).find(" - ") != std::string::npos; }, 5000);
    SetForegroundWindow(window);
    Sleep(500);
    bool saved = SaveWindowPicture(window, argv[2]);
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    WaitForExit(&program, 10000);
    StopProgram(&program);
    return saved ? 0 : 1;
}
