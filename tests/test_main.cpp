// Every test runs in Polish local time so that both daylight-saving changes
// are in reach.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
#ifdef _WIN32
    // msvcrt misreads a Linux-style TZ; without one it follows the Windows
    // zone, which Wine takes from TZ=Europe/Warsaw of the prefix.
    _putenv("TZ=");
    _tzset();
#else
    setenv("TZ", "Europe/Warsaw", 1);
    tzset();
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
