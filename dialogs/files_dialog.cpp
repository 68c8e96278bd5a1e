#include "dialogs/files_dialog.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "app/main_window.h"
#include "app/win_state.h"
#include "dialogs/decorations.h"
#include "dialogs/text_size.h"
#include "resources/resource_ids.h"
#include "storage/events_file.h"
#include "storage/prefs_file.h"

namespace {
HFONT headingFont = nullptr;

// The whole working directory, however long; null when it cannot be read.
std::unique_ptr<char[]> CurrentDirectory() {
    DWORD size = 512;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::unique_ptr<char[]> directory(new (std::nothrow) char[size]);
        if (!directory) return nullptr;
        DWORD length = GetCurrentDirectoryA(size, directory.get());
        if (length == 0) return nullptr;
        if (length < size) return directory;
        size = length + 1;  // the directory moved on meanwhile: try again
    }
    return nullptr;
}

// A path wider than its box wraps onto as many lines as it needs: the box
// grows, what lies below it moves down and the dialog grows with them, so
// that the whole path shows.
void FitPath(HWND dialog, HWND box, const char* path) {
    RECT inside;
    GetClientRect(box, &inside);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
    SIZE line = MeasureUtf8Text(box, font, path, 0, DT_NOPREFIX | DT_SINGLELINE);
    if (line.cx <= inside.right) return;
    SIZE lines = MeasureUtf8Text(box, font, path, inside.right, DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
    int extra = lines.cy - line.cy;
    // Centring holds one line only.
    SetWindowLongPtrA(box, GWL_STYLE,
                      GetWindowLongPtrA(box, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_CENTERIMAGE));

    RECT frame = ChildRect(dialog, box);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT other = ChildRect(dialog, child);
        if (other.top >= frame.bottom) {
            SetWindowPos(child, nullptr, other.left, other.top + extra, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
    }
    SetWindowPos(box, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + extra,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + extra,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void ShowPath(HWND dialog, int id, const char* directory, const char* name) {
    size_t size = std::strlen(directory) + std::strlen(name) + 3;
    std::unique_ptr<char[]> path(new (std::nothrow) char[size]);
    if (!path) return;
    std::snprintf(path.get(), size, " %s\\%s", directory, name);
    HWND box = GetDlgItem(dialog, id);
    SetWindowTextA(box, path.get());
    FitPath(dialog, box, path.get());
}

BOOL OnInitDialog(HWND dialog) {
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    HGDIOBJ font =
        reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, IDC_FILES_EVENTS_HEADING, WM_GETFONT, 0, 0));
    GetObjectA(font, sizeof description, &description);
    description.lfWeight = 600;
    headingFont = CreateFontIndirectA(&description);
    SendDlgItemMessageA(dialog, IDC_FILES_EVENTS_HEADING, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont),
                        TRUE);
    SendDlgItemMessageA(dialog, IDC_FILES_PREFS_HEADING, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont),
                        TRUE);

    std::unique_ptr<char[]> directory = CurrentDirectory();
    if (directory) {
        ShowPath(dialog, IDC_FILES_EVENTS_PATH, directory.get(), kEventsFileName);
        ShowPath(dialog, IDC_FILES_PREFS_PATH, directory.get(), kPrefsFileName);
    }
    CentreWindow(dialog, false);
    return TRUE;
}

INT_PTR CALLBACK FilesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    case WM_DESTROY:
        DeleteObject(headingFont);
        headingFont = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}
}  // namespace

INT_PTR ShowFilesDialog(HWND owner) { return DialogBoxParamA(appInstance, "Files", owner, FilesProc, 0); }
