// The special limits dialog on its real template.
#include "dialogs/special_limits_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/special_limits_ids.h"
#include "tests/dialogs/editor_fixture.h"
#include "tests/dialogs/helpers.h"

using SpecialLimits = DialogTest;

TEST_F(SpecialLimits, OnlyAPairWithinHalfAYearAndNotBothZeroIsSet) {
    const std::string none = "Error: Invalid warning limits: at least one limit must be greater than zero!";
    const std::string tooMany =
        "Error: Invalid warning limits: the number of days cannot be greater than 182 (half a year)!";
    struct Case {
        const char *before, *after;
        std::string box;  // empty: set
        int focus;
    } cases[] = {
        {"0", "0", none, IDC_LIMITS_BEFORE},
        {"", "", none, IDC_LIMITS_BEFORE},
        {"0", "5", "", 0},
        {"5", "0", "", 0},
        {"182", "182", "", 0},
        {"183", "1", tooMany, IDC_LIMITS_BEFORE},
        {"7", "999", tooMany, IDC_LIMITS_AFTER},
        {"999", "999", tooMany, IDC_LIMITS_BEFORE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + "/" + c.after);
        LimitPair pair = {10, 3};
        ASSERT_NE(Open("EditSpecialLimits", SpecialLimitsProc, &pair), nullptr);
        EXPECT_EQ(Text(IDC_LIMITS_BEFORE) + "/" + Text(IDC_LIMITS_AFTER), "10/3");
        EXPECT_EQ(Focus(), Item(IDC_LIMITS_BEFORE));
        SetDlgItemTextA(dialog_, IDC_LIMITS_BEFORE, c.before);
        SetDlgItemTextA(dialog_, IDC_LIMITS_AFTER, c.after);
        PostMessageA(dialog_, WM_COMMAND, IDOK, 0);
        if (c.box.empty()) {
            EXPECT_TRUE(Ended(1));
            EXPECT_EQ(std::to_string(pair.before) + "/" + std::to_string(pair.after),
                      std::string(c.before) + "/" + c.after);
        } else {
            EXPECT_EQ(Answer(IDOK), c.box);
            EXPECT_TRUE(WaitUntil([&] { return Focus() == Item(c.focus); }, 3000));
            PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
            EXPECT_TRUE(Ended(2));
            EXPECT_EQ(pair.before * 1000 + pair.after, 10003) << "a cancelled pair stays as it was";
        }
        run_.reset();
    }
}

TEST_F(SpecialLimits, EditsTakeThreeDigitsAtMostAndEveryLabelShowsWhole) {
    LimitPair pair = {0, 0};
    Open("EditSpecialLimits", SpecialLimitsProc, &pair);
    EXPECT_EQ(ClippedTexts(dialog_), "");
    HWND before = Item(IDC_LIMITS_BEFORE);
    SendMessageA(before, EM_SETSEL, 0, -1);
    for (char c : std::string("1a2345")) SendMessageA(before, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(Text(IDC_LIMITS_BEFORE), "123");
}
