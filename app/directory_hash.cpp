#include "app/directory_hash.h"

#include <cstring>

uint32_t DirectoryHash(const char* path) {
    uint16_t length = static_cast<uint16_t>(std::strlen(path) % 65535u);
    uint16_t sum = 0;
    for (uint16_t i = 0; i < length; ++i) {
        // Bytes of 128 and above count as negative, and a negative running
        // remainder is kept as its 16-bit two's complement. Other instances
        // compare the result with theirs, so this must not be "tidied".
        int32_t t = static_cast<int32_t>(sum) + static_cast<signed char>(path[i]);
        sum = static_cast<uint16_t>(t - 65535 * (t / 65535));
    }
    return static_cast<uint32_t>(sum) * 65536u + length;
}
