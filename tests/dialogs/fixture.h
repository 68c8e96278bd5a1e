// The fixture of the dialog tests: today is Sunday 15 March 2026 at noon, the
// settings and the list font are the defaults, files go to a scratch
// directory, and a modal dialog runs on a thread of its own. Also reading
// what a dialog shows.
#pragma once

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/list_drawing.h"
#include "app/platform_win32.h"
#include "app/prefs.h"
#include "app/state.h"
#include "app/win_state.h"
#include "model/duty.h"
#include "tests/canvas.h"
#include "tests/dialogs/helpers.h"
#include "tests/modal_run.h"
#include "tests/scratch_dir.h"

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline void PrintTo(const RECT& r, std::ostream* out) {
    *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

inline time_t Noon(int year, int month, int day) {
    struct tm noon = {};
    noon.tm_year = year - 1900;
    noon.tm_mon = month - 1;
    noon.tm_mday = day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    return mktime(&noon);
}

// A record as the events file gives it: a yearly event when `year` is 0.
inline Duty Event(int day, int month, int year, const char* message, const char* notes = "", int before = 0,
                  int after = 0) {
    Duty duty{};
    duty.line = 7;
    duty.day = day;
    duty.month = month;
    duty.year = year ? year : 2010;
    duty.yearly = year ? 0 : 1;
    duty.repeatMark = year ? 'N' : 'Y';
    duty.warnBefore = before;
    duty.warnAfter = after;
    CopyText(duty.message, message, sizeof duty.message);
    CopyText(duty.notes, notes, sizeof duty.notes);
    return duty;
}

// The texts of `dialog`'s statics and buttons that do not show whole, each
// with the room it takes; empty when all fit. Statics are measured as they
// draw (wrapped at words unless centred on one line), buttons on one line
// beside their box or within their frame.
inline std::string ClippedTexts(HWND dialog) {
    std::string clipped;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "", utf8[8192];
        GetClassNameA(child, className, sizeof className);
        wchar_t text[4096] = L"";
        int length = GetWindowTextW(child, text, 4096);
        while (length > 0 && text[length - 1] == L' ') text[--length] = L'\0';
        const LONG style = GetWindowLongA(child, GWL_STYLE), type = style & BS_TYPEMASK;
        const bool button = lstrcmpiA(className, "Button") == 0;
        if (length == 0 || (button ? type == BS_OWNERDRAW : lstrcmpiA(className, "Static") != 0) ||
            (!button && (style & SS_TYPEMASK) > SS_RIGHT)) {
            continue;
        }
        const int extra = !button ? 0
                          : type >= BS_CHECKBOX && type != BS_GROUPBOX && type != BS_PUSHBOX
                              ? GetSystemMetrics(SM_CXMENUCHECK) + 4
                          : type == BS_GROUPBOX ? 16
                                                : 6;
        RECT inside;
        GetClientRect(child, &inside);
        RECT need = {0, 0, inside.right - extra, 0};
        HDC dc = GetDC(child);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text, length, &need,
                  DT_CALCRECT | DT_EXPANDTABS |
                      (button                     ? DT_SINGLELINE
                       : (style & SS_CENTERIMAGE) ? DT_SINGLELINE | DT_NOPREFIX
                                                  : DT_WORDBREAK | DT_NOPREFIX));
        SelectObject(dc, previous);
        ReleaseDC(child, dc);
        if (need.right + extra <= inside.right && (button || need.bottom <= inside.bottom)) continue;
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        clipped += "\"" + std::string(utf8) + "\" needs " + std::to_string(need.right + extra) + "x" +
                   std::to_string(need.bottom) + "; ";
    }
    return clipped;
}

// A control's rectangle in its dialog's client coordinates.
inline RECT ChildBox(HWND dialog, int id) {
    RECT box;
    GetWindowRect(GetDlgItem(dialog, id), &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

// Pixels of `colour` in `box` (screen coordinates) as the screen shows them.
inline int PixelsOnScreen(const RECT& box, COLORREF colour) {
    Canvas shot(box.right - box.left, box.bottom - box.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc(), 0, 0, shot.width(), box.bottom - box.top, screen, box.left, box.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    int n = 0;
    for (int y = 0; y < box.bottom - box.top; ++y)
        for (int x = 0; x < shot.width(); ++x) n += shot.At(x, y) == colour;
    return n;
}

// The text and rectangle of the one tool of the tooltip `dialog` owns; empty
// when there is no such tooltip.
inline std::string TooltipOf(HWND dialog, RECT* rect) {
    HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    while (tooltip && GetWindow(tooltip, GW_OWNER) != dialog)
        tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr);
    char text[80] = "";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.lpszText = text;
    if (tooltip == nullptr || SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0) != 1 ||
        !SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)))
        return "";
    *rect = tool.rect;
    return text;
}

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        appInstance = GetModuleHandleA(nullptr);
        prefs = DefaultPrefs();
        ApplyDefaultListFont(&prefs.listFont);
        listFontHandle = CreateListFont(prefs.listFont);
        dayFirst = 1;
        CopyText(languageCode, "pl", sizeof languageCode);
        newEventRepeatMark = 'N';
        platformNowOverride = Noon(2026, 3, 15);
    }
    void TearDown() override {
        Close();
        platformNowOverride = 0;
        DeleteObject(listFontHandle);
        listFontHandle = nullptr;
    }

    // Runs `show` and returns the dialog once it shows.
    HWND Open(std::function<INT_PTR()> show) {
        Close();
        run_ = std::make_unique<ModalRun>(std::move(show));
        return dialog_ = run_->Active();
    }
    // Template `name` with `procedure`, `param` its creation data.
    HWND Open(const char* name, DLGPROC procedure, void* param) {
        return Open([=] {
            return DialogBoxParamA(appInstance, name, nullptr, procedure, reinterpret_cast<LPARAM>(param));
        });
    }
    // Ends what a test left open: a box over the dialog is answered (Yes to
    // losing changes), the dialog itself told `discard_`.
    void Close() {
        for (int i = 0; run_ && i < 25 && !run_->Wait(i ? 200 : 0); ++i) {
            HWND box = run_->OpenedOver(dialog_, 0);
            if (box == nullptr) Post(discard_);
            for (int button : {IDYES, IDCANCEL, IDOK})
                if (box && GetDlgItem(box, button) && PressButton(box, button)) break;
        }
        run_.reset();
    }

    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != 0; }
    bool Checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    // For controls that open nothing: returns once the click is handled.
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    // For commands that may open a window or end the dialog.
    void Post(int id) { PostMessageA(dialog_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    bool FocusComesTo(int id) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return WaitUntil(
            [&] { return GetGUIThreadInfo(run_->ThreadId(), &info) && info.hwndFocus == Item(id); }, 3000);
    }
    // The message box over `over` (the dialog by default) as "caption: text",
    // answered with `button`.
    std::string Answer(int button, HWND over = nullptr) {
        HWND box = run_->OpenedOver(over ? over : dialog_);
        if (box == nullptr) return "(no box)";
        std::string seen = WindowText(box) + ": " + MessageBoxText(box);
        PressButton(box, button);
        WaitUntil([box] { return !IsWindow(box); }, 5000);
        return seen;
    }
    bool Ended(INT_PTR result) { return run_->Wait() && run_->Result() == result; }
    // Refused: `box` shown, the keyboard on `focus`, the dialog still open.
    void ExpectRefused(const std::string& box, int focus) {
        EXPECT_EQ(Answer(IDOK), box);
        EXPECT_TRUE(FocusComesTo(focus));
        EXPECT_FALSE(run_->Wait(200)) << "the dialog stays open";
    }

    // The checks of a pair of warning limits confirmed with OK in the dialog
    // `open` shows: a refused pair keeps the dialog open with the keyboard on
    // the edit at fault and stores nothing; an empty edit counts as 0.
    // `stored` reads the pair back.
    void ExpectLimitChecks(const std::function<HWND()>& open, int beforeId, int afterId,
                           const std::function<std::string()>& stored) {
        const std::string none =
            "Error: Invalid warning limits: at least one limit must be greater than zero!";
        const std::string tooMany =
            "Error: Invalid warning limits: the number of days cannot be greater than 182 (half a year)!";
        const struct {
            const char *before, *after;
            std::string box;  // empty: stored
            int focus;
        } cases[] = {{"0", "0", none, beforeId},
                     {"0", "5", "", 0},
                     {"", "7", "", 0},
                     {"182", "182", "", 0},
                     {"183", "1", tooMany, beforeId},
                     {"7", "999", tooMany, afterId}};
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.before) + "/" + c.after);
            ASSERT_NE(open(), nullptr);
            const std::string shown = stored();
            EXPECT_EQ(Text(beforeId) + "/" + Text(afterId), shown);
            SetDlgItemTextA(dialog_, beforeId, c.before);
            SetDlgItemTextA(dialog_, afterId, c.after);
            Post(IDOK);
            if (c.box.empty()) {
                EXPECT_TRUE(Ended(1));
                EXPECT_EQ(stored(), std::to_string(atoi(c.before)) + "/" + std::to_string(atoi(c.after)));
            } else {
                ExpectRefused(c.box, c.focus);
                Close();
                EXPECT_EQ(stored(), shown);
            }
        }
    }

    std::unique_ptr<ModalRun> run_;
    HWND dialog_ = nullptr;
    int discard_ = IDCANCEL;  // ends the dialog keeping nothing
    ScratchDir dir_;
};
