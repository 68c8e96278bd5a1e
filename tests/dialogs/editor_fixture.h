// What the tests of the event editor and the limits dialog share: the clock
// at 15 March 2026, noon, default settings, and the real templates run
// modally on a thread of their own.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <ctime>
#include <memory>
#include <string>

#include "app/platform_win32.h"
#include "app/prefs.h"
#include "app/state.h"
#include "dialogs/event_editor.h"
#include "model/duty.h"
#include "tests/modal_run.h"

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

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
        prefs = DefaultPrefs();
        dayFirst = 1;
        newEventRepeatMark = 'Y';
        platformNowOverride = Noon(2026, 3, 15);
    }
    void TearDown() override {
        run_.reset();
        platformNowOverride = 0;
    }

    // Runs template `name` with `procedure` modally, `param` its creation
    // data, and returns the dialog once it shows.
    HWND Open(const char* name, DLGPROC procedure, void* param) {
        run_ = std::make_unique<ModalRun>([=] {
            return DialogBoxParamA(GetModuleHandleA(nullptr), name, nullptr, procedure,
                                   reinterpret_cast<LPARAM>(param));
        });
        dialog_ = run_->Active();
        return dialog_;
    }
    // The event editor on `duty`, whose daysLeft is the mode.
    HWND OpenEditor(Duty* duty) { return Open("EditDuty", EventEditorProc, duty); }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    HWND Focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(run_->ThreadId(), &info);
        return info.hwndFocus;
    }
    // The message box the dialog shows now, as "caption: text", answered with `button`.
    std::string Answer(int button, HWND over = nullptr) {
        HWND box = run_->OpenedOver(over ? over : dialog_);
        if (box == nullptr) return "(no box)";
        std::string seen = WindowText(box) + ": " + MessageBoxText(box);
        PressButton(box, button);
        WaitUntil([box] { return !IsWindow(box); }, 5000);
        return seen;
    }
    bool Ended(INT_PTR result) { return run_->Wait() && run_->Result() == result; }

    std::unique_ptr<ModalRun> run_;
    HWND dialog_ = nullptr;
};
