// Command and message ids of the main window, shared with the dialogs and the
// resource script (so plain macros: windres reads this file too).
#pragma once

// Commands of the main window (WM_COMMAND, low word).
#define CMD_VIEW_NOTE 200      // the reminder pop-up for the selected row
#define CMD_ADD_EVENT 201      // the event editor for a new event
#define CMD_MODIFY_EVENT 202   // the event editor for the selected row
#define CMD_EDIT_EVENTS 203    // the event list editor
#define CMD_PREFERENCES 204    // the Preferences dialog
#define CMD_ABOUT 205          // the About dialog
#define CMD_CLOSE 206          // close the window (to the tray when it has an icon)
#define CMD_EXIT 207           // end the program, tray icon or not
#define CMD_IMPORT 208         // add the events of an iCalendar, vCard or CSV file
#define CMD_EXPORT 209         // write every event to an iCalendar or CSV file
#define CMD_SHOW 2000          // restore the window and bring it forward
#define CMD_RELOAD_LIST 32773  // rebuild the list from the events file (always posted)
#define CMD_USER_COLOURS 32784 // copy the user colours of the preferences into scheme 4

// Messages of the main window.
#define MSG_TRAY_NOTIFY 32780  // the tray icon's callback; lParam is the mouse message
#define MSG_TRAY_ICON 32781    // wParam 0 adds the tray icon, 2 removes it

// Timers of the main window.
#define TIMER_AUTO_CLOSE 170   // once, 3 s after a rebuild found nothing due
#define TIMER_DAY_CHECK 180    // every 30 s: has the day changed?
#define TIMER_TRAY_RETRY 190   // every 3 s while the tray icon could not be added

// The main window's class and the property that holds its directory's hash.
#define MAIN_WINDOW_CLASS "QuillbeeClass"
#define PROP_HASH_CURDIR "PROP_HASH_CURDIR"
