// The due list: the events whose warning window contains today, with their
// days left, in the order the main window shows them, and the text of a row.
#pragma once

#include <cstddef>

#include "model/duty.h"

// Frees the previous list, reads the events file anew and returns the head of
// the new list (null when nothing is due or the file cannot be opened). When
// the file was opened, the number of builds so far is stored in
// `buildCountOut` (may be null). A stop while reading asks the program to quit
// and still returns the rows read so far. The list stays valid until the next
// build.
DueItem* BuildDueList(int* buildCountOut);

// Frees every row from `head` on and returns null.
DueItem* FreeDueList(DueItem* head);

// Signed calendar days from today to the occurrence of the event nearest to
// today (last year's, this year's or next year's); -999 for a one-off event
// outside those years.
int DaysLeft(const Duty& duty);

// The date column of a row: "07 Maj," or "Maj 07," by the locale's date
// order, with " (Pią)" before the comma when `weekday` is given.
void RowDateText(int day, int month, const char* weekday, char* out, size_t size);

// The row's text, "days:\tdate,\tmessage" (with the weekday after the date
// when the preferences ask for it), in one static buffer.
const char* DueRowText(const DueItem* row);
