// The preferences file: the Prefs record on disk, read once at start-up
// (where a first run is recognised) and written whenever the settings change
// or the main window closes.
#pragma once

constexpr const char* kPrefsFileName = "quillbee.prefs";

// Writes `prefs` as it stands: the caller stores the main window's placement
// in windowX, windowY and windowWidth first. Returns 1 when the whole file was
// written; otherwise reports it (the old file stays as it was) and returns 0.
int SavePrefs();

// Reads the preferences file into `prefs`. Returns 1 when it was read or there
// was nothing to read, -2 when its data line is incomplete (nothing of it is
// applied). Without a preferences file and without an events file this is
// the first run: the user is greeted, the sample events are written and the
// start-up shortcut follows `startWithSystem`.
int LoadPrefs();
