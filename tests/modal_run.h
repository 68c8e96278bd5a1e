// Runs a modal window (DialogBoxParamA, MessageBoxA...) on a thread of its
// own, so that the test thread can drive it by messages and answer the
// message boxes it opens, as a user would (MessageBoxText, WindowText and
// PressButton of tests/e2e/driver.h). Post, never send, a command that may
// open a message box: a sent message returns only once the box is closed.
// Keep the modal window's owner on its own thread (or null): an owner on the
// test thread would tie the two threads' input together.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/e2e/driver.h"

class ModalRun {
public:
    explicit ModalRun(std::function<INT_PTR()> show);
    ~ModalRun();  // closes whatever the thread still shows and waits for it
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

    // The visible dialog (class #32770) of the thread that takes input now,
    // once it is another one than `window`: the dialog itself, or the box or
    // nested dialog it has opened. Null when none appears in time.
    HWND OpenedOver(HWND window, DWORD timeoutMs = 5000) const;
    HWND Active(DWORD timeoutMs = 5000) const { return OpenedOver(nullptr, timeoutMs); }
    // True once `show` has returned; its result is then in Result().
    bool Wait(DWORD timeoutMs = 5000) { return WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0; }
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
// test program; the test command turns it into a PNG file. With `also`, the
// picture takes in the area both windows cover, so that a window standing
// over the edge of another shows whole.
bool SaveShot(HWND window, const char* name, HWND also = nullptr);
