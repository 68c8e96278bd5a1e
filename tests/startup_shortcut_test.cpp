// Turns the start-up shortcut on or off, as the program does:
//   startup_shortcut_test.exe on|off
// startup_shortcut_test.sh inspects the result.
#include "app/startup_shortcut.h"

#include <objbase.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "on") != 0 && std::strcmp(argv[1], "off") != 0)) return 2;
    if (FAILED(CoInitialize(nullptr))) return 3;
    UpdateStartupShortcut(std::strcmp(argv[1], "on") == 0);
    CoUninitialize();
    return 0;
}
