#include "app/win_state.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
HFONT listFontHandle = nullptr;
HWND PopupHandle = nullptr;
HWND ListEditorHandle = nullptr;
HWND FindDialogHandle = nullptr;
