// Runs a modal window (DialogBoxParamA, MessageBoxA...) on a thread of its
// own, so that the test thread can drive it by messages and answer the
// message boxes it opens, the way a user would. MessageBoxText, WindowText
// and PressButton of tests/e2e/driver.h read and press what it shows.
//
// Post (never send) a command that may open a message box: a sent message
// does not return until the box is closed, and the box waits for the test.
// Keep the modal window's owner on its own thread (or null): an owner on the
// test thread would tie the two threads' input together.
#pragma once

#include <windows.h>

#include "tests/e2e/driver.h"

#include <functional>
#include <string>

class ModalRun {
public:
    explicit ModalRun(std::function<INT_PTR()> show);
    // Closes whatever the thread still shows and waits for it.
    ~ModalRun();
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

    // The visible dialog (class #32770) of the thread that takes input now:
    // the dialog itself, or the message box or nested dialog it has opened.
    // Null when none appears within `timeoutMs`.
    HWND Active(DWORD timeoutMs = 5000) const;
    // The active window once it is another one than `window`: what `window`
    // has opened. Null when nothing opens within `timeoutMs`.
    HWND OpenedOver(HWND window, DWORD timeoutMs = 5000) const;

    // True once `show` has returned; its result is then in Result().
    bool Wait(DWORD timeoutMs = 5000);
    INT_PTR Result() const { return result_; }
    DWORD ThreadId() const { return threadId_; }

private:
    static DWORD WINAPI Run(LPVOID self);
    std::function<INT_PTR()> show_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    volatile INT_PTR result_ = -1;
};

// Runs the calling thread's messages for `ms` milliseconds.
void PumpMessages(int ms);

// Saves what the screen shows of `window` as screenshots\NAME.bmp beside the
// test program; the test command turns it into a PNG file.
bool SaveShot(HWND window, const char* name);
