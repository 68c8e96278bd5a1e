#include "dialogs/special_limits_dialog.h"

#include "app/load_str.h"
#include "app/main_window.h"
#include "resources/special_limits_ids.h"

namespace {

LimitPair* limits = nullptr;  // the pair of the one dialog open

void OnInitDialog(HWND dialog, LimitPair* pair) {
    limits = pair;
    SendDlgItemMessageA(dialog, IDC_LIMITS_BEFORE, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(dialog, IDC_LIMITS_AFTER, EM_LIMITTEXT, 3, 0);
    SetDlgItemInt(dialog, IDC_LIMITS_BEFORE, static_cast<UINT>(pair->before), FALSE);
    SetDlgItemInt(dialog, IDC_LIMITS_AFTER, static_cast<UINT>(pair->after), FALSE);
    CentreWindow(dialog, false);
    SetFocus(GetDlgItem(dialog, IDC_LIMITS_BEFORE));
}

// Reports a refused pair and puts the focus, text selected, where the fault is.
void Refuse(HWND dialog, int textId, int focusId) {
    MessageBoxA(dialog, LoadStr(textId), LoadStr(1030), MB_OK | MB_ICONWARNING);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, focusId)), TRUE);
}

void OnSet(HWND dialog) {
    // An edit without a number (empty, or digits pasted with other text) counts as 0.
    UINT before = GetDlgItemInt(dialog, IDC_LIMITS_BEFORE, nullptr, FALSE);
    UINT after = GetDlgItemInt(dialog, IDC_LIMITS_AFTER, nullptr, FALSE);
    if (before == 0 && after == 0) {
        Refuse(dialog, 1590, IDC_LIMITS_BEFORE);
    } else if (before > kMaxLimitDays) {
        Refuse(dialog, 1595, IDC_LIMITS_BEFORE);
    } else if (after > kMaxLimitDays) {
        Refuse(dialog, 1595, IDC_LIMITS_AFTER);
    } else {
        limits->before = static_cast<int32_t>(before);
        limits->after = static_cast<int32_t>(after);
        EndDialog(dialog, 1);
    }
}

}  // namespace

INT_PTR CALLBACK SpecialLimitsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(dialog, reinterpret_cast<LimitPair*>(lParam));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                OnSet(dialog);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 2);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
