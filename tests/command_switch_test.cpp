#include <gtest/gtest.h>

#include "app/command_switch.h"

// The program path may hold slashes and blanks; only the arguments count.
TEST(CommandLineSwitch, ReadsTheFirstSlashOfTheArgumentsOnly) {
    const struct {
        const char* commandLine;
        char letter;
    } cases[] = {
        {"C:/Users/anna/quillbee.exe", '\0'},
        {"C:/Users/anna/quillbee.exe /s", 'S'},
        {"\"C:/Program Files/Quillbee/quillbee.exe\"", '\0'},
        {"\"C:/Program Files/Quillbee/quillbee.exe\" /Silent", 'S'},
        {"\"C:\\Program Files\\q.exe\"/c", 'C'},
        {"  quillbee.exe\t/u", 'U'},
        {"quillbee.exe data/x /c", 'X'},
        {"quillbee.exe /", '\0'},
        {"quillbee.exe /7", '7'},
        {"\"C:/unterminated /c", '\0'},
        {"", '\0'},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLineSwitch(c.commandLine), c.letter) << c.commandLine;
}
