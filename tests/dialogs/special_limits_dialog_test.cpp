// The special limits dialog on its real template.
#include "dialogs/special_limits_dialog.h"

#include "resources/special_limits_ids.h"
#include "tests/dialogs/fixture.h"

using SpecialLimits = DialogTest;

TEST_F(SpecialLimits, OnlyAPairWithinHalfAYearAndNotBothZeroIsSet) {
    LimitPair pair;
    ExpectLimitChecks(
        [&] {
            pair = {10, 3};
            return Open("EditSpecialLimits", SpecialLimitsProc, &pair);
        },
        IDC_LIMITS_BEFORE, IDC_LIMITS_AFTER,
        [&] { return std::to_string(pair.before) + "/" + std::to_string(pair.after); });
}

TEST_F(SpecialLimits, EditsTakeThreeDigitsAtMostAndEveryLabelShowsWhole) {
    LimitPair pair = {0, 0};
    Open("EditSpecialLimits", SpecialLimitsProc, &pair);
    EXPECT_TRUE(FocusComesTo(IDC_LIMITS_BEFORE));
    EXPECT_EQ(ClippedTexts(dialog_), "");
    SendMessageA(Item(IDC_LIMITS_BEFORE), EM_SETSEL, 0, -1);
    for (char c : std::string("1a2345"))
        SendMessageA(Item(IDC_LIMITS_BEFORE), WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(Text(IDC_LIMITS_BEFORE), "123");
}
