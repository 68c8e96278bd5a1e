// The string table read from the module's resources. With the UTF-8 active
// code page, LoadStringA hands back UTF-8.
#include <windows.h>

#include "app/load_str.h"

int LookupString(int id, char* buffer, int size) {
    if (size <= 0) return 0;
    buffer[0] = '\0';
    int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, size);
    if (n < 0) n = 0;
    buffer[n < size ? n : size - 1] = '\0';
    return n;
}
