#include "app/command_switch.h"

#include <cstring>

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

const char* CommandLineArguments(const char* commandLine) {
    const char* c = commandLine;
    while (IsBlank(*c)) ++c;
    if (*c == '"') {
        // Windows ends a quoted program path at the next quote, whatever follows it.
        const char* close = std::strchr(c + 1, '"');
        return close ? close + 1 : c + std::strlen(c);
    }
    while (*c != '\0' && !IsBlank(*c)) ++c;
    return c;
}

char CommandLineSwitch(const char* commandLine) {
    const char* slash = std::strchr(CommandLineArguments(commandLine), '/');
    if (slash == nullptr) return '\0';
    char letter = slash[1];
    return (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
}
