// The rows of the event list editor: one event per row of its list view, in
// calendar order (storage/events_in_order.h), and the whole events file
// loaded into them and saved from them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "model/duty.h"

// What a row holds beside its two texts, in its item data. The date and the
// message are kept here as well, so that finding a row's place compares
// against them without reading texts back from the control.
struct DutyRowData {
    int32_t year;
    int32_t repeatMark;  // 'Y' or 'N'
    int32_t yearly;
    int32_t warnBefore;
    int32_t warnAfter;
    int32_t day;
    int32_t month;
    char message[kMessageSize];
    const char* notes;     // CR LF line breaks; in the same block
    const char* keptLine;  // the line as read when writing the record would change it; else null
};

// The text of the date column: "05 Mar, 2011" (one-off) or "05 Mar " (yearly)
// by the locale's date order, "05. Mar, 2011" in Estonian, "Mar 05, 2011"
// month first; "???" for a month that does not exist.
void DutyDateText(const Duty& duty, char* out, size_t size);

// Inserts `duty` at its place in the calendar order, after the rows of equal
// date and message; returns the new row's index.
int InsertDutyRow(HWND list, const Duty& duty);

// Removes the row and releases its data.
void DeleteDutyRow(HWND list, int index);

// The row's event in one static record that the next call overwrites; null
// (after the fatal report, the program then ends) for a row without data.
const Duty* ReadDutyRow(HWND list, int index);

// The row's data; null for a row without any.
const DutyRowData* DutyRowOf(HWND list, int index);

// The index at which `duty` belongs: the number of rows before it in the
// calendar order, those of equal date and message included.
int FindRowPosition(HWND list, const Duty& duty);

// Writes the indices of the selected rows in ascending order to `out` (room
// for `capacity`) and returns how many were written.
int GetSelectedRows(HWND list, int* out, int capacity);

// Selects exactly the `n` rows given, the focus mark on the last of them;
// n = 0 only clears the selection.
void SelectRows(HWND list, const int* indices, int n);

// True when the rows are more than the list shows at once.
bool RowsOverflow(HWND list);

// Fills the empty list from the events file. 1 read; 0 when the file cannot
// be opened or names no version (the program then ends).
int LoadDutiesIntoList(HWND list);

// Rewrites the events file from every row, in row order. Before it replaces
// a file that anything else has changed since it was loaded, it asks; on
// No nothing is written. A failed write is reported (message 2015) and
// leaves the file as it was. 1 written, 0 not. The caller asks the main
// window to rebuild its list.
int SaveDutiesFromList(HWND list);

// Releases every row's data and empties the list.
void DeleteAllDutyRows(HWND list);
