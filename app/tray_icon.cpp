#include "app/tray_icon.h"

#include <commctrl.h>

#include <cstring>

#include "app/commands.h"
#include "app/state.h"
#include "app/win_state.h"
#include "resources/resource_ids.h"

BOOL(WINAPI* notifyIcon)(DWORD action, PNOTIFYICONDATAA data) = Shell_NotifyIconA;

namespace {
constexpr UINT kRetryIntervalMs = 3000;
constexpr int kRetries = 10;  // half a minute: time enough for a slow logon

bool shown = false;
int retriesLeft = 0;
UINT taskbarCreated = 0;
HICON smallIcon = nullptr;

// The icon at the size the notification area draws it.
HICON SmallIcon() {
    if (smallIcon == nullptr &&
        FAILED(LoadIconMetric(appInstance, MAKEINTRESOURCEW(IDI_QUILLBEE), LIM_SMALL, &smallIcon))) {
        smallIcon =
            static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_QUILLBEE), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    return smallIcon;
}

bool Notify(HWND window, DWORD action) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    // The size of the first version of the record, whose fields are all
    // that is filled in: on 64-bit Windows it is not 88 bytes.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = IDI_QUILLBEE;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = MSG_TRAY_NOTIFY;
    data.hIcon = SmallIcon();
    CopyText(data.szTip, " Quillbee ", sizeof data.szTip);
    return notifyIcon(action, &data) != FALSE;
}

bool TryToAdd(HWND window) {
    // Adding an icon that is already there fails; changing it then succeeds.
    shown = Notify(window, NIM_ADD) || Notify(window, NIM_MODIFY);
    return shown;
}
}  // namespace

UINT TaskbarCreatedMessage() {
    if (taskbarCreated == 0) taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    return taskbarCreated;
}

void AddTrayIcon(HWND window) {
    if (TryToAdd(window)) return;
    retriesLeft = kRetries;
    SetTimer(window, TIMER_TRAY_RETRY, kRetryIntervalMs, nullptr);
}

void RemoveTrayIcon(HWND window) {
    KillTimer(window, TIMER_TRAY_RETRY);
    retriesLeft = 0;
    Notify(window, NIM_DELETE);
    shown = false;
}

void RetryTrayIcon(HWND window) {
    if (TryToAdd(window) || --retriesLeft <= 0) KillTimer(window, TIMER_TRAY_RETRY);
}

bool TrayIconShown() { return shown; }
