// What the Win32 platform offers beyond app/platform.h.
#pragma once

#include <ctime>

// When non-zero, PlatformNow returns this instead of the system clock: the
// in-process window tests set the day the program believes it is.
extern time_t platformNowOverride;
