#include "app/startup.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "app/commands.h"
#include "app/list_drawing.h"
#include "app/main_window.h"
#include "app/state.h"
#include "app/win_state.h"
#include "app/window_placement.h"
#include "resources/resource_ids.h"

namespace {
// Saving the preferences takes a moment; a live instance answers well within this.
constexpr UINT kCloseTimeoutMs = 5000;
HWND sameDirectoryWindow = nullptr;
int sameDirectoryFound = 0;
}  // namespace

void CloseRunningInstance() {
    HWND running = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
    if (running == nullptr) return;
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = running;
    data.uID = IDI_QUILLBEE;
    Shell_NotifyIconA(NIM_DELETE, &data);
    // A running instance that hangs must not hang this one too.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(running, WM_DESTROY, 0, 0, SMTO_ABORTIFHUNG, kCloseTimeoutMs, &ignored);
}

BOOL CALLBACK FindRunningInstance(HWND window, LPARAM) {
    char className[150];
    if (GetClassNameA(window, className, sizeof className) == 0) return TRUE;
    if (std::strcmp(className, MAIN_WINDOW_CLASS) != 0) return TRUE;
    ++instanceNumber;
    if (reinterpret_cast<uintptr_t>(GetPropA(window, PROP_HASH_CURDIR)) == dirHash) {
        sameDirectoryWindow = window;
        sameDirectoryFound = 1;
    }
    return TRUE;
}

HWND FindSameDirectoryInstance() {
    instanceNumber = 1;
    sameDirectoryFound = 0;
    sameDirectoryWindow = nullptr;
    EnumWindows(FindRunningInstance, 0);
    return sameDirectoryFound ? sameDirectoryWindow : nullptr;
}

namespace {
HICON LoadIconOfSize(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLBEE), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
}
}  // namespace

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    // Each at the size the system draws it, from the image made for that size.
    windowClass.hIcon = LoadIconOfSize(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = LoadIconOfSize(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN_MENU);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    RegisterClassExA(&windowClass);
}

void ReadLocaleDateOrder() {
    char order[2];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order) != 0) {
        dayFirst = std::atoi(order);
    }
}

HWND CreateMainWindow(HINSTANCE instance) {
    StartGeometry geometry = MainWindowStartGeometry();
    int x = geometry.centred ? CW_USEDEFAULT : geometry.x;
    int y = geometry.centred ? CW_USEDEFAULT : geometry.y;
    // Every rebuild sizes the window to this width.
    prefs.windowWidth = geometry.width;

    ApplyDefaultListFont(&prefs.listFont);
    listFontHandle = CreateListFont(prefs.listFont);

    HWND window = CreateWindowExA(0, MAIN_WINDOW_CLASS, kProgramName, WS_OVERLAPPEDWINDOW, x, y,
                                  geometry.width, 0, nullptr, nullptr, instance, nullptr);
    // WM_CREATE centres the window when keepPosition is off; a saved place
    // that is on no screen now is treated the same.
    if (geometry.centred && prefs.keepPosition) CentreWindow(window, true);
    mainWindow = window;
    SetPropA(window, PROP_HASH_CURDIR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(dirHash)));
    return window;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (PopupHandle != nullptr && IsDialogMessageA(PopupHandle, &message)) continue;
        if (ListEditorHandle != nullptr && IsDialogMessageA(ListEditorHandle, &message)) continue;
        if (FindDialogHandle != nullptr && IsDialogMessageA(FindDialogHandle, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void ShutDown() {
    SendMessageA(mainWindow, MSG_TRAY_ICON, NIM_DELETE, 0);
    RemovePropA(mainWindow, PROP_HASH_CURDIR);
}
