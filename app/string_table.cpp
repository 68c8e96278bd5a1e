// The string table compiled into the program, for builds without Win32
// resources. The Windows build reads the same texts from its resources.
#include <cstring>

#include "app/load_str.h"
#include "app/state.h"

namespace {
struct StringEntry {
    int id;
    const char* text;
};

const StringEntry kStrings[] = {
#define STR(id, text) {id, text},
#include "resources/strings.def"
#undef STR
};
}  // namespace

int LookupString(int id, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    for (const StringEntry& e : kStrings) {
        if (e.id != id) continue;
        CopyText(buffer, e.text, static_cast<unsigned>(size));
        return static_cast<int>(std::strlen(buffer));
    }
    return 0;
}
