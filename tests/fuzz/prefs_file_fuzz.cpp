// Feeds arbitrary bytes as a whole preferences file to LoadPrefs: the result
// is 1 or -2, an incomplete file changes nothing, what is read stays within
// the record's ranges, and what SavePrefs writes of it is a well-formed file
// that reads back to the same record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/prefs.h"
#include "app/startup_shortcut.h"
#include "app/state.h"
#include "storage/prefs_file.h"
#include "tests/fake_platform.h"
#include "tests/prefs_data_line.h"
#include "tests/scratch_dir.h"

// A first run would ask for the start-up shortcut; the file is always there here.
void UpdateStartupShortcut(int) {}

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool SameRecord(const Prefs& a, const Prefs& b) {
    return std::memcmp(&a, &b, offsetof(Prefs, listFont.faceName)) == 0 &&
           std::strcmp(a.listFont.faceName, b.listFont.faceName) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The file lives in the working directory, as the program's does: under
    // ctest, the fuzzer's folder in the build tree.
    ResetFakePlatform();
    WriteFileBytes(kPrefsFileName, std::string(reinterpret_cast<const char*>(data), size));

    prefs = DefaultPrefs();
    ApplyDefaultListFont(&prefs.listFont);
    const Prefs before = prefs;
    const int result = LoadPrefs();
    Check(result == 1 || result == -2);
    if (fake.quitRequests > 0) {
        // An unrecognised first line: reported, and nothing read.
        Check(result == 1 && fake.boxes.size() == 1 && SameRecord(prefs, before));
        return 0;
    }
    Check(fake.boxes.empty());
    if (result == -2) Check(SameRecord(prefs, before));
    Check(prefs.colourScheme >= 0 && prefs.colourScheme <= 4);
    Check(std::memchr(prefs.listFont.faceName, '\0', sizeof prefs.listFont.faceName) != nullptr);
    Check(std::strchr(prefs.listFont.faceName, '\'') == nullptr);

    // Whatever was read, the start-up font is one a list can show.
    ApplyDefaultListFont(&prefs.listFont);
    Check(IsChooserFont(prefs.listFont));

    Check(SavePrefs() == 1);
    Check(IsWellFormedPrefsLine(PrefsDataLine(ReadFileBytes(kPrefsFileName))));
    const Prefs saved = prefs;
    prefs = DefaultPrefs();
    Check(LoadPrefs() == 1);
    Check(SameRecord(prefs, saved));
    return 0;
}
