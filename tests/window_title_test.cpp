#include <gtest/gtest.h>

#include <cstring>

#include "app/state.h"
#include "app/window_title.h"
#include "tests/fake_platform.h"

namespace {
class MainWindowTitleTest : public testing::Test {
protected:
    void SetUp() override {
        ResetFakePlatform();
        fake.now = LocalTime(2009, 12, 3, 9, 30);  // a Thursday
    }
    void TearDown() override {
        instanceNumber = 1;
        dayFirst = 1;
        std::strcpy(languageCode, "pl");
        ResetFakePlatform();
    }
};
}  // namespace

TEST_F(MainWindowTitleTest, FourFormatsAndTheInstanceNumber) {
    EXPECT_STREQ(MainWindowTitle(), "Quillbee - Czwartek, 03 Grudzień");
    instanceNumber = 2;
    EXPECT_STREQ(MainWindowTitle(), "Quillbee [2] - Czwartek, 03 Grudzień");
    dayFirst = 0;
    EXPECT_STREQ(MainWindowTitle(), "Quillbee [2] - Czwartek, Grudzień 03");
    std::strcpy(languageCode, "it");  // month first ignores the language
    EXPECT_STREQ(MainWindowTitle(), "Quillbee [2] - Czwartek, Grudzień 03");
    instanceNumber = 1;
    dayFirst = 2;  // any non-zero order is day first
    EXPECT_STREQ(MainWindowTitle(), "Quillbee - Czwartek 03 Grudzień");
    std::strcpy(languageCode, "ee");
    EXPECT_STREQ(MainWindowTitle(), "Quillbee - Czwartek, 03. Grudzień");
    std::strcpy(languageCode, "EE");  // compared exactly
    EXPECT_STREQ(MainWindowTitle(), "Quillbee - Czwartek, 03 Grudzień");
}

TEST_F(MainWindowTitleTest, FollowsTheClockAcrossMidnight) {
    fake.now = LocalTime(2025, 5, 31, 23, 59);
    EXPECT_STREQ(MainWindowTitle(), "Quillbee - Sobota, 31 Maj");
    fake.now += 120;
    EXPECT_STREQ(MainWindowTitle(), "Quillbee - Niedziela, 01 Czerwiec");
}
