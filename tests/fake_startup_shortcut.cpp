#include "tests/fake_startup_shortcut.h"

#include "app/startup_shortcut.h"

std::vector<int> startupShortcutCalls;

void UpdateStartupShortcut(int on) { startupShortcutCalls.push_back(on); }
