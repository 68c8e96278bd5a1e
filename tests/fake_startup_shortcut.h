// Records the start-up shortcut requests of the code under test.
#pragma once

#include <vector>

// One entry per UpdateStartupShortcut call: its "on" argument.
extern std::vector<int> startupShortcutCalls;
