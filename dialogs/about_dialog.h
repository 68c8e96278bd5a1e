// The About box: name, version, a few words on the program, the author's
// notice and address, and the home page as a link that opens in the browser.
#pragma once

#include <windows.h>

// Runs the box modally over `owner`; it always ends with 1.
INT_PTR ShowAboutDialog(HWND owner);

// What opens the home page: ShellExecuteA, which the tests replace to see
// what would be opened without starting a browser.
extern HINSTANCE(WINAPI* shellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
