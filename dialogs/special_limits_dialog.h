// The special warning limits of one event: days before the event the
// warning starts, days after it that it stays.
#pragma once

#include <windows.h>

#include <cstdint>

struct LimitPair {
    int32_t before;
    int32_t after;
};

// The greatest limit either way: half a year.
constexpr int kMaxLimitDays = 182;

// The procedure of the template "EditSpecialLimits"; `lParam` of
// WM_INITDIALOG is the LimitPair shown. Ends with 1 after storing valid
// limits into the pair, or with 2 leaving it unchanged.
INT_PTR CALLBACK SpecialLimitsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
