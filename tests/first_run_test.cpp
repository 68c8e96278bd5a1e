#include "storage/first_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/state.h"
#include "model/calendar.h"
#include "tests/fake_platform.h"
#include "tests/storage_helpers.h"

namespace {

class FirstRunTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFakePlatform(); }
    void TearDown() override { ResetFakePlatform(); }
    ScratchDir dir;
};

}  // namespace

TEST_F(FirstRunTest, SampleEventsOfTheEighteenthOfNovember) {
    fake.now = LocalTime(2010, 11, 18, 9, 30);
    ASSERT_EQ(WriteSampleEvents(), 1);
    const std::string address = kProductAddress;
    const std::string expected =
        HeaderBytes() +
        "18-Nov-2010 01Y 000 000 Anniversary of your first Quillbee installation!\x1E"
        "Quillbee 1.41 was installed in this machine on 18/Lis/2010.\x1E\x1E"
        "Remember to visit \"" +
        address +
        "\" for updates.\x1E\x1E\r\n\r\n"
        "25-Nov-2010 01Y 000 000 George's birthday! ($Age{1968} years old)\r\n\r\n"
        "18-Dec-2010 01Y 000 000 10:30 - School festival\r\n\r\n"
        "18-Dec-2010 01Y 000 000 13:00 - Call dentist!\r\n\r\n"
        "18-Dec-2010 01Y 000 000 16:00 - Car oil change\r\n\r\n";
    EXPECT_EQ(ReadFileBytes(kEventsFileName), expected);

    // Read back, the marks of the first event's notes are line breaks.
    std::string first = expected.substr(HeaderBytes().size());
    std::vector<char> line(first.begin(), first.begin() + first.find('\n') + 1);
    line.push_back('\0');
    ASSERT_FALSE(IsSkippableLine(line.data()));
    const Duty* duty = ParseDutyLine(line.data(), 4, kVersion141);
    EXPECT_STREQ(duty->notes,
                 ("Quillbee 1.41 was installed in this machine on 18/Lis/2010.\r\nRemember to visit \"" +
                  address + "\" for updates.\r\n")
                     .c_str());
    EXPECT_EQ(TempFilesLeft(), 0);
}

TEST_F(FirstRunTest, DatesFollowTheLocalCalendar) {
    // 30 days from a late-October evening cross the end of summer time.
    fake.now = LocalTime(2010, 10, 30, 23, 30);
    ASSERT_EQ(WriteSampleEvents(), 1);
    const std::string file = ReadFileBytes(kEventsFileName);
    EXPECT_NE(file.find("\r\n30-Oct-2010 01Y"), std::string::npos);
    EXPECT_NE(file.find("\r\n06-Nov-2010 01Y"), std::string::npos);
    EXPECT_NE(file.find("\r\n29-Nov-2010 01Y 000 000 10:30"), std::string::npos);
    // A year's turn gives the appointments the next year.
    fake.now = LocalTime(2010, 12, 20);
    ASSERT_EQ(WriteSampleEvents(), 1);
    EXPECT_NE(ReadFileBytes(kEventsFileName).find("\r\n19-Jan-2011 01Y 000 000 16:00"), std::string::npos);
}
