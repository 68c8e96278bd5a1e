#include <gtest/gtest.h>

#include <cstring>

#include "app/state.h"
#include "app/window_title.h"
#include "tests/fake_platform.h"

TEST(MainWindowTitle, FourFormatsAndTheInstanceNumber) {
    ResetFakePlatform();
    fake.now = LocalTime(2009, 12, 3, 9, 30);  // a Thursday
    const struct {
        int instance;
        int dayFirst;
        const char* language;
        const char* title;
    } cases[] = {
        {2, 1, "pl", "Quillbee [2] - Czwartek, 03 Grudzień"},
        {3, 0, "it", "Quillbee [3] - Czwartek, Grudzień 03"},  // month first ignores the language
        {1, 2, "it", "Quillbee - Czwartek 03 Grudzień"},       // any non-zero order is day first
        {1, 1, "ee", "Quillbee - Czwartek, 03. Grudzień"},
        {1, 1, "EE", "Quillbee - Czwartek, 03 Grudzień"},  // compared exactly
    };
    for (const auto& c : cases) {
        instanceNumber = c.instance;
        dayFirst = c.dayFirst;
        std::strcpy(languageCode, c.language);
        EXPECT_STREQ(MainWindowTitle(), c.title);
    }
    ResetFakePlatform();
}
