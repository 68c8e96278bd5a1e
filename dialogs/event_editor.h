// The event editor: one event's date, recurrence, message, notes and
// warning limits, for a new event, a changed one or a copy.
#pragma once

#include <windows.h>

// The editor's modes, carried in the daysLeft field of the record it edits.
enum EditorMode {
    kEditorNew = 1,        // reads nothing from the record
    kEditorModify = 2,     // the event in the record
    kEditorDuplicate = 3,  // a copy of an event, to be stored as another one
    kEditorConfirmed = 4,  // set on confirmation: the record holds the event
};

// The procedure of the template "EditDuty"; `lParam` of WM_INITDIALOG is the
// Duty to edit. Ends with 1 after writing the confirmed event into the record
// (mode kEditorConfirmed; `line` and `next` untouched), or with 2 leaving the
// record unchanged. It never writes a file.
INT_PTR CALLBACK EventEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
