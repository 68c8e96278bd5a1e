// The event list editor: every event of the events file in one list, in
// calendar order, to add, modify, duplicate, delete and find events and
// save them all at once. Edits stay in the list until the user saves.
#pragma once

#include <windows.h>

// Opens the editor modeless over `owner`, the main window, which the caller
// has disabled; `dueList` is the main window's list of due events, whose
// selected event the editor selects as well. The caller keeps the handle in
// ListEditorHandle, through which the message loop hands the editor its keys;
// closing clears it and enables the owner again. Null when it cannot be made.
HWND OpenListEditor(HWND owner, HWND dueList);

INT_PTR CALLBACK ListEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The beeps of a search whose only match was the row already selected.
extern int findBeepCount;
