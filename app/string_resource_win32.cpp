// The string table read from the module's resources. With the UTF-8 active
// code page, LoadStringA hands back UTF-8.
#include <windows.h>

#include "app/load_str.h"
#include "app/state.h"

int LookupString(int id, char* buffer, int size) {
    if (size <= 0) return 0;
    // Load whole, then cut: LoadStringA may cut a character in half when the
    // caller's buffer is small.
    char text[1024];
    if (LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text) <= 0) text[0] = '\0';
    CopyText(buffer, text, static_cast<unsigned>(size));
    return static_cast<int>(strlen(buffer));
}
