// The main window's notification-area icon. Explorer forgets every icon when
// it restarts, and at logon it may not take one yet: the icon is added again
// when the taskbar announces itself, and a failed add is retried on a timer.
#pragma once

#include <windows.h>

#include <shellapi.h>

// The message Explorer broadcasts when its taskbar has been (re)created.
UINT TaskbarCreatedMessage();

// Adds the icon (an icon that is already there counts as added). On failure
// the window's TIMER_TRAY_RETRY tries again a few times.
void AddTrayIcon(HWND window);
// Removes the icon and stops any retry.
void RemoveTrayIcon(HWND window);
// TIMER_TRAY_RETRY: one more try; the timer stops on success or when the
// tries are used up.
void RetryTrayIcon(HWND window);

// Whether the notification area holds the icon now, as far as the shell said.
bool TrayIconShown();

// The shell's Shell_NotifyIconA; tests put a failing one in its place.
extern BOOL(WINAPI* notifyIcon)(DWORD action, PNOTIFYICONDATAA data);
