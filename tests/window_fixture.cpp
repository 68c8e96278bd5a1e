#include "tests/window_fixture.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "app/directory_hash.h"
#include "app/list_drawing.h"
#include "app/main_window.h"
#include "app/platform_win32.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/win_state.h"
#include "resources/resource_ids.h"
#include "storage/events_file.h"

namespace {
// Written by the watcher thread only; read after it has ended.
std::vector<std::string> dismissedBoxes;
volatile LONG watching = 0;
HANDLE watcher = nullptr;

BOOL CALLBACK DismissBox(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32];
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        std::strcmp(className, "#32770") != 0) {
        return TRUE;
    }
    char text[512] = "";
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);  // a message box's text
    dismissedBoxes.push_back(text);
    HWND button = FindWindowExA(window, nullptr, "Button", nullptr);
    DWORD_PTR ignored;
    if (button) SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    return TRUE;
}

DWORD WINAPI WatchForBoxes(LPVOID) {
    while (InterlockedCompareExchange(&watching, 1, 1)) {
        EnumWindows(DismissBox, 0);
        Sleep(100);
    }
    return 0;
}
}  // namespace

time_t LocalClock(int year, int month, int day, int hour, int minute, int second) {
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return mktime(&t);
}

Duty MakeDuty(int day, int month, const char* message, const char* notes) {
    Duty duty;
    std::memset(&duty, 0, sizeof duty);
    duty.day = day;
    duty.month = month;
    duty.year = 2010;
    duty.yearly = 1;
    duty.repeatMark = 'Y';
    CopyText(duty.message, message, sizeof duty.message);
    CopyText(duty.notes, notes, sizeof duty.notes);
    return duty;
}

void WriteEvents(const std::vector<Duty>& duties) {
    FILE* file = std::fopen(kEventsFileName, "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(WriteFileHeader(file), 1);
    std::fputs("\r\n", file);
    for (const Duty& duty : duties) std::fputs(FormatDutyLine(duty), file);
    std::fclose(file);
}

void WindowTest::SetUp() {
    prefs = DefaultPrefs();
    silentStart = 0;
    userPresent = 0;
    instanceNumber = 1;
    dayFirst = 1;
    std::strcpy(languageCode, "pl");
    beepCount = 0;
    dayChangedKept = 99;
    PopupHandle = nullptr;
    ListEditorHandle = nullptr;
    FindDialogHandle = nullptr;
    platformNowOverride = LocalClock(2026, 3, 15, 12, 0);
    dismissedBoxes.clear();
    InterlockedExchange(&watching, 1);
    watcher = CreateThread(nullptr, 0, WatchForBoxes, nullptr, 0, nullptr);
}

void WindowTest::TearDown() {
    if (mainWindow && IsWindow(mainWindow)) {
        ShutDown();
        DestroyWindow(mainWindow);
    }
    Pump();
    // The next test starts with an empty queue: no WM_QUIT left over.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    mainWindow = nullptr;
    listBox = nullptr;
    if (listFontHandle) DeleteObject(listFontHandle);
    listFontHandle = nullptr;
    platformNowOverride = 0;
    InterlockedExchange(&watching, 0);
    WaitForSingleObject(watcher, 2000);
    CloseHandle(watcher);
    EXPECT_TRUE(dismissedBoxes.empty()) << "an unexpected message box: " << dismissedBoxes.front();
}

HWND WindowTest::StartMainWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass(instance);
    GetCurrentDirectoryA(sizeof workingDirectory, workingDirectory);
    dirHash = DirectoryHash(workingDirectory);
    HWND window = CreateMainWindow(instance);
    ShowWindow(window, silentStart ? SW_HIDE : SW_SHOWNORMAL);
    Pump(50);
    return window;
}

void WindowTest::Pump(int ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitPosted_ = true;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        int left = ms - static_cast<int>(GetTickCount() - start);
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

int WindowTest::RowCount() const { return static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0)); }

std::string WindowTest::RowsText() const {
    std::string text;
    for (int i = 0; i < RowCount(); ++i) {
        auto row = reinterpret_cast<const DueItem*>(SendMessageA(listBox, LB_GETITEMDATA, i, 0));
        if (!row) return text + "(no data)";
        text += std::string(row->message) + " " + std::to_string(row->daysLeft);
        text += (row->notes[0] ? std::string(" [") + row->notes + "]; " : "; ");
    }
    return text;
}

bool WindowTest::TrayIconExists() const {
    // Changing the tip of an icon that is not there fails.
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = mainWindow;
    data.uID = IDI_QUILLBEE;
    data.uFlags = NIF_TIP;
    std::strcpy(data.szTip, " Quillbee ");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

int WindowTest::WindowHeight() const {
    RECT frame;
    GetWindowRect(mainWindow, &frame);
    return frame.bottom - frame.top;
}
