#include "tests/e2e/driver.h"

#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {
// The first top-level window of the process with this class (and caption,
// unless null) that is visible, or any with `mustBeVisible` false.
HWND FindOf(DWORD processId, const char* className, const char* caption, bool mustBeVisible) {
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, caption)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && (!mustBeVisible || IsWindowVisible(window))) return window;
    }
    return nullptr;
}
}  // namespace

bool StartProgram(const std::string& exe, const std::string& arguments, const std::string& folder,
                  RunningProgram* program) {
    return StartProgramWithCommandLine(exe, "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments),
                                       folder, program);
}

bool StartProgramWithCommandLine(const std::string& exe, const std::string& commandLine,
                                 const std::string& folder, RunningProgram* program) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    program->started = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      folder.c_str(), &startup, &program->process) != 0;
    return program->started;
}

DWORD WaitForExit(RunningProgram* program, DWORD timeoutMs) {
    if (!program->started) return 0;
    if (WaitForSingleObject(program->process.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(program->process.hProcess, &code);
    return code;
}

void StopProgram(RunningProgram* program) {
    if (!program->started) return;
    if (WaitForSingleObject(program->process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(program->process.hProcess, 99);
        WaitForSingleObject(program->process.hProcess, 5000);
    }
    CloseHandle(program->process.hThread);
    CloseHandle(program->process.hProcess);
    program->started = false;
}

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs, bool mustBeVisible) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOf(processId, className, nullptr, mustBeVisible)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    // A box is visible a moment before its text is in place.
    HWND box = nullptr;
    const bool shown = WaitUntil(
        [&] {
            box = WaitForWindow(processId, "#32770", 0, true);
            return box != nullptr && !MessageBoxText(box).empty();
        },
        timeoutMs);
    return shown ? box : nullptr;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 2000, &length)) {
        return "";
    }
    return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr)) != nullptr;) {
        const std::string part = WindowText(child);
        if (!part.empty()) text += (text.empty() ? "" : "\n") + part;
    }
    return text;
}

HWND WaitForDialog(DWORD processId, const std::string& caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOf(processId, "#32770", caption.c_str(), true)) != nullptr; }, 5000);
    return found;
}

bool HasTrayIcon(HWND window) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 130;
    data.uFlags = NIF_TIP;
    lstrcpyA(data.szTip, " Quillbee ");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

void SetText(HWND control, const char* text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    DWORD_PTR ignored = 0;
    return button && SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
}

namespace {
BITMAPINFOHEADER TopDown32(int width, int height) {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top row first
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    return info;
}
}  // namespace

WindowPixels CaptureWindow(HWND window) {
    WindowPixels picture;
    RECT rect;
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) return picture;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != 0;
    SelectObject(memory, old);
    BITMAPINFOHEADER info = TopDown32(width, height);
    std::vector<DWORD> bits(static_cast<size_t>(width) * height);
    const bool read = copied && GetDIBits(memory, bitmap, 0, height, bits.data(),
                                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (DWORD& p : bits) p &= 0xFFFFFF;  // no alpha: a viewer would take the picture for transparent
    if (read) picture = {width, height, std::move(bits)};
    return picture;
}

bool SaveWindowPicture(HWND window, const std::string& path) {
    const WindowPixels picture = CaptureWindow(window);
    if (picture.bits.empty()) return false;
    const BITMAPINFOHEADER info = TopDown32(picture.width, picture.height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    const DWORD size = static_cast<DWORD>(picture.bits.size() * sizeof(DWORD));
    file.bfSize = file.bfOffBits + size;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(picture.bits.data()), size);
    return static_cast<bool>(out);
}

std::string BesideDriver(const char* name) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    size_t slash = folder.find_last_of("\\/");
    return (slash == std::string::npos ? std::string(".") : folder.substr(0, slash)) + "\\" + name;
}

std::string MakeScratchFolder(const char* tag) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
        char folder[MAX_PATH];
        snprintf(folder, sizeof folder, "%squillbee-%s-%08x", temp, tag, n);
        if (CreateDirectoryA(folder, nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
    }
}

void RemoveFolder(const std::string& folder) {
    if (folder.empty()) return;
    const std::string from = folder + '\0';  // a list of paths, ended by an empty one
    SHFILEOPSTRUCTA remove = {};
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&remove);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
