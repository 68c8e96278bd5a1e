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
#include "resources/resource_ids.h"

namespace {
HWND sameDirectoryWindow = nullptr;
int sameDirectoryFound = 0;
}  // namespace

char ReadSwitch(char* commandLine) {
    for (char* c = commandLine; *c != '\0'; ++c) {
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    }
    const char* slash = std::strchr(commandLine, '/');
    return slash ? slash[1] : '\0';
}

void CloseRunningInstance() {
    HWND running = FindWindowA(MAIN_WINDOW_CLASS, nullptr);
    if (running == nullptr) return;
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = running;
    data.uID = IDI_QUILLBEE;
    Shell_NotifyIconA(NIM_DELETE, &data);
    SendMessageA(running, WM_DESTROY, 0, 0);
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

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLBEE));
    windowClass.hIconSm = windowClass.hIcon;
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
    int x = prefs.keepPosition ? prefs.windowX : CW_USEDEFAULT;
    int y = prefs.keepPosition ? prefs.windowY : CW_USEDEFAULT;
    int width = prefs.keepWidth ? prefs.windowWidth : 600;

    ApplyDefaultListFont(&prefs.listFont);
    listFontHandle = CreateListFont(prefs.listFont);

    HWND window = CreateWindowExA(0, MAIN_WINDOW_CLASS, kProgramName, WS_OVERLAPPEDWINDOW, x, y, width, 0,
                                  nullptr, nullptr, instance, nullptr);
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
