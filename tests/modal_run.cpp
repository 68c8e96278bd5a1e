#include "tests/modal_run.h"

#include <cstring>

namespace {
struct Search {
    HWND exclude;
    HWND found;
};

BOOL CALLBACK MatchActive(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (window == search->exclude || std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window) ||
        !IsWindowEnabled(window)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CloseWindowOfThread(HWND window, LPARAM) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}
}  // namespace

ModalRun::ModalRun(std::function<INT_PTR()> show) : show_(std::move(show)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
}

ModalRun::~ModalRun() {
    for (int attempt = 0; attempt < 50 && !Wait(100); ++attempt) {
        EnumThreadWindows(threadId_, CloseWindowOfThread, 0);
    }
    CloseHandle(thread_);
}

DWORD WINAPI ModalRun::Run(LPVOID self) {
    ModalRun* run = static_cast<ModalRun*>(self);
    run->result_ = run->show_();
    return 0;
}

HWND ModalRun::OpenedOver(HWND window, DWORD timeoutMs) const {
    DWORD start = GetTickCount();
    for (;;) {
        Search search = {window, nullptr};
        EnumThreadWindows(threadId_, MatchActive, reinterpret_cast<LPARAM>(&search));
        HWND found = search.found;
        // A message box is shown a moment before its text is in place; every
        // dialog of the program has a caption and at least one label.
        if (found != nullptr && !WindowText(found).empty() && !MessageBoxText(found).empty()) return found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(10);
    }
}

void PumpMessages(int ms) {
    DWORD start = GetTickCount();
    for (int left = ms; left > 0; left = ms - static_cast<int>(GetTickCount() - start)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

bool SaveShot(HWND window, const char* name, HWND also) {
    CreateDirectoryA(BesideDriver("screenshots").c_str(), nullptr);
    // What is painted last must be on the screen before it is read back.
    // A window of another thread paints when that thread next runs out of
    // messages: wait until it has answered one, then give it time to paint.
    bool otherThread = false;
    for (HWND shown : {window, also}) {
        if (shown == nullptr) continue;
        RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(shown, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
        otherThread = otherThread || GetWindowThreadProcessId(shown, nullptr) != GetCurrentThreadId();
    }
    if (otherThread) Sleep(200);
    GdiFlush();
    const std::string path = BesideDriver(("screenshots\\" + std::string(name) + ".bmp").c_str());
    if (also == nullptr) return SaveWindowPicture(window, path);
    // The picture is read from the screen over a window's rectangle: a hidden
    // window spanning both gives it the area.
    RECT first, second, both;
    GetWindowRect(window, &first);
    GetWindowRect(also, &second);
    UnionRect(&both, &first, &second);
    HWND area = CreateWindowExA(0, "STATIC", "", WS_POPUP, both.left, both.top, both.right - both.left,
                                both.bottom - both.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const bool saved = area != nullptr && SaveWindowPicture(area, path);
    if (area) DestroyWindow(area);
    return saved;
}
