// In-process tests of the program's windows under Wine: a fresh working
// directory, a clock the test sets, the main window created as start-up
// creates it, and a message pump. A message box that opens by mistake is
// dismissed by a watcher thread and fails the test instead of hanging it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <string>
#include <vector>

#include "model/duty.h"
#include "tests/scratch_dir.h"

// The local time of a date and clock time (mktime, daylight saving by the zone).
time_t LocalClock(int year, int month, int day, int hour, int minute, int second = 0);

// A yearly event of `year` (one-off when `yearly` is false).
Duty MakeDuty(int day, int month, const char* message, const char* notes = "", int year = 2010,
              bool yearly = true);

// Writes the events file: header, a blank line, one line per event.
void WriteEvents(const std::vector<Duty>& duties);

class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window as start-up does (hidden when `silentStart`,
    // else shown) and runs the messages that follow, the first rebuild
    // included.
    HWND StartMainWindow();

    // Runs messages for `ms` milliseconds (at least once through the queue).
    void Pump(int ms = 30);

    // Runs messages until `done` holds or `ms` milliseconds passed.
    template <typename Condition>
    bool PumpUntil(Condition done, int ms) {
        DWORD start = GetTickCount();
        while (!done()) {
            if (static_cast<int>(GetTickCount() - start) > ms) return false;
            Pump(20);
        }
        return true;
    }

    // Rows of the list box, and the data behind row `i`.
    int RowCount() const;
    const DueItem* Row(int i) const;

    // True while the main window's tray icon exists.
    bool TrayIconExists() const;

    int WindowHeight() const;

    ScratchDir dir_;
    bool quitPosted_ = false;
};

// Message boxes the watcher had to dismiss during the current test.
extern std::vector<std::string> dismissedBoxes;
