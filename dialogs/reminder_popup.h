// The reminder pop-up: one due event in full (a title line with its date and
// message, a separator, then its notes) under the mouse pointer. It sizes
// itself to its texts and closes at the first left click, Enter or Esc.
#pragma once

#include <windows.h>

#include "model/duty.h"

// Opens the pop-up for `row`, owned by `owner`; null when it cannot be made.
// It keeps no reference to `row`. The caller keeps the handle in PopupHandle,
// which the message loop hands the pop-up's keys to.
HWND OpenReminderPopup(HWND owner, const DueItem* row);
