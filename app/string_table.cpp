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

constexpr int kStringCount = sizeof kStrings / sizeof kStrings[0];

// The entry of an id, or null. The rows of the list look up texts each time
// they are drawn; the entries are indexed by id once, in whatever order the
// table lists them.
const StringEntry* FindString(int id) {
    constexpr int kIndexedIds = 8192;
    static short entryOf[kIndexedIds];  // entry + 1; 0 for none
    static bool indexed = false;
    if (!indexed) {
        for (int i = kStringCount - 1; i >= 0; --i) {  // the first of equal ids wins
            if (kStrings[i].id >= 0 && kStrings[i].id < kIndexedIds)
                entryOf[kStrings[i].id] = static_cast<short>(i + 1);
        }
        indexed = true;
    }
    if (id >= 0 && id < kIndexedIds) return entryOf[id] != 0 ? &kStrings[entryOf[id] - 1] : nullptr;
    for (const StringEntry& e : kStrings) {
        if (e.id == id) return &e;
    }
    return nullptr;
}

}  // namespace

int LookupString(int id, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    const StringEntry* entry = FindString(id);
    if (entry == nullptr) return 0;
    CopyText(buffer, entry->text, static_cast<unsigned>(size));
    return static_cast<int>(std::strlen(buffer));
}
