// Turns the start-up shortcut on or off as the program does, for
// startup_shortcut_test.sh to inspect:  startup_shortcut_test.exe on|off
#include "app/startup_shortcut.h"

#include <objbase.h>

#include <cstring>

int main(int argc, char** argv) {
    const bool on = argc == 2 && std::strcmp(argv[1], "on") == 0;
    if (argc != 2 || (!on && std::strcmp(argv[1], "off") != 0)) return 2;
    if (FAILED(CoInitialize(nullptr))) return 3;
    UpdateStartupShortcut(on);
    CoUninitialize();
    return 0;
}
