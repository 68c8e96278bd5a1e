#include "app/load_str.h"

namespace {
char ring[9][1024];
int counter = 0;
}  // namespace

const char* LoadStr(int id) {
    if (++counter > 9) counter = 1;
    char* buffer = ring[counter - 1];
    buffer[0] = '\0';
    LookupString(id, buffer, sizeof ring[0]);
    return buffer;
}
