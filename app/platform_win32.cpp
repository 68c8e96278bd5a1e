// The platform operations of the portable core, on Win32.
#include <windows.h>

#include "app/platform.h"
#include "app/platform_win32.h"
#include "app/win_state.h"

int PlatformMessageBox(const char* text, const char* caption, unsigned style) {
    HWND owner = (mainWindow && IsWindow(mainWindow)) ? mainWindow : nullptr;
    return MessageBoxA(owner, text, caption, style);
}

void PlatformPostCommand(int commandId) {
    PostMessageA(mainWindow, WM_COMMAND, static_cast<WPARAM>(commandId), 0);
}

void PlatformQuit(int exitCode) { PostQuitMessage(exitCode); }

void PlatformWaitCursor(bool waiting) {
    SetCursor(LoadCursorA(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

int PlatformCopyFile(const char* from, const char* to) {
    return CopyFileA(from, to, FALSE) ? 1 : 0;
}

int PlatformReplaceFile(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}

int PlatformDeleteFile(const char* name) { return DeleteFileA(name) ? 1 : 0; }

size_t PlatformWrite(FILE* file, const void* data, size_t size) { return fwrite(data, 1, size, file); }

time_t platformNowOverride = 0;

time_t PlatformNow() { return platformNowOverride != 0 ? platformNowOverride : time(nullptr); }
