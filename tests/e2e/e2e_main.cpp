// The end-to-end tests take the path of the quillbee.exe under test.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/instance.h"

std::string quillbeeExe;

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
