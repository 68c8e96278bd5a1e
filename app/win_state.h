// Win32 handles shared across the program's windows.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;
extern HWND mainWindow;
extern HFONT listFontHandle;
extern HWND PopupHandle;       // the reminder pop-up, while open
extern HWND ListEditorHandle;  // the event list editor, while open
extern HWND FindDialogHandle;  // the list editor's Find dialog, while open
