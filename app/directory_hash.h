// The fingerprint of a working directory that running instances compare to
// tell whether another one already serves the same directory.
#pragma once

#include <cstdint>

// The sum of the path's bytes (taken as signed) modulo 65535 in the high half
// and the path length modulo 65535 in the low half. Every instance, of every
// build, must compute the same value for the same path.
uint32_t DirectoryHash(const char* path);
