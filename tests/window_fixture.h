// In-process tests of the program's windows under Wine: a fresh working
// directory, a clock the test sets (15 March 2026, noon), the main window
// created as start-up creates it, and a message pump. A message box that
// opens by mistake is dismissed by a watcher thread and fails the test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <string>
#include <vector>

#include "model/duty.h"
#include "tests/scratch_dir.h"

time_t LocalClock(int year, int month, int day, int hour, int minute, int second = 0);
// A yearly event of 2010.
Duty MakeDuty(int day, int month, const char* message, const char* notes = "");
void WriteEvents(const std::vector<Duty>& duties);

class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Shown, or hidden for a silent start; runs the first rebuild.
    HWND StartMainWindow();
    void Pump(int ms = 30);
    int RowCount() const;
    // "message daysLeft [notes]; " for each row.
    std::string RowsText() const;
    bool TrayIconExists() const;
    int WindowHeight() const;

    ScratchDir dir_;
    bool quitPosted_ = false;
};
