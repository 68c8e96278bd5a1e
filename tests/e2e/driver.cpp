#include "tests/e2e/driver.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    bool mustBeVisible;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, search->className) != 0) return TRUE;
    if (search->mustBeVisible && !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The environment block of this process without TZ, with `extra` added.
std::vector<char> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<char> block;
    LPCH strings = GetEnvironmentStringsA();
    for (LPCH entry = strings; *entry; entry += lstrlenA(entry) + 1) {
        std::string text = entry;
        if (_strnicmp(text.c_str(), "TZ=", 3) == 0) continue;
        bool replaced = false;
        for (const std::string& e : extra) {
            size_t eq = e.find('=');
            if (eq != std::string::npos && _strnicmp(text.c_str(), e.c_str(), eq + 1) == 0) replaced = true;
        }
        if (replaced) continue;
        block.insert(block.end(), text.begin(), text.end());
        block.push_back('\0');
    }
    FreeEnvironmentStringsA(strings);
    for (const std::string& e : extra) {
        block.insert(block.end(), e.begin(), e.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

struct ChildText {
    std::string text;
};

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0) return TRUE;
    std::string text = WindowText(child);
    if (text.empty()) return TRUE;
    ChildText* collected = reinterpret_cast<ChildText*>(param);
    if (!collected->text.empty()) collected->text += "\n";
    collected->text += text;
    return TRUE;
}

}  // namespace

bool StartProgram(const std::string& exe, const std::string& arguments, const std::string& folder,
                  RunningProgram* program, const std::vector<std::string>& extraEnv) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    return StartProgramWithCommandLine(exe, commandLine, folder, program, extraEnv);
}

bool StartProgramWithCommandLine(const std::string& exe, const std::string& commandLine,
                                 const std::string& folder, RunningProgram* program,
                                 const std::vector<std::string>& extraEnv) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    std::vector<char> environment = ChildEnvironment(extraEnv);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    program->started = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, environment.data(),
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
    WindowSearch search = {processId, className, mustBeVisible, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    // A box is visible a moment before its text is in place.
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = WaitForWindow(processId, "#32770", 0, true);
            return box != nullptr && !MessageBoxText(box).empty();
        },
        timeoutMs);
    return box != nullptr && !MessageBoxText(box).empty() ? box : nullptr;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             2000, &length)) {
        return "";
    }
    return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

std::string MessageBoxText(HWND box) {
    ChildText collected;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&collected));
    return collected.text;
}

std::string MessageBoxCaption(HWND box) { return WindowText(box); }

HWND WaitForDialog(DWORD processId, const std::string& caption) {
    HWND found = nullptr;
    const bool shown = WaitUntil(
        [&] {
            found = FindWindowA("#32770", caption.c_str());
            DWORD owner = 0;
            if (found) GetWindowThreadProcessId(found, &owner);
            return found != nullptr && owner == processId && IsWindowVisible(found);
        },
        5000);
    return shown ? found : nullptr;
}

void SetText(HWND control, const char* text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
}

bool PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return false;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored) != 0;
}

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
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top row first
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<DWORD> bits(static_cast<size_t>(width) * height);
    const bool read = copied && GetDIBits(memory, bitmap, 0, height, bits.data(),
                                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read) return picture;
    picture.width = width;
    picture.height = height;
    for (DWORD p : bits) picture.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return picture;
}

bool SaveWindowPicture(HWND window, const std::string& path) {
    const WindowPixels picture = CaptureWindow(window);
    if (picture.pixels.empty()) return false;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<DWORD> bits;
    for (COLORREF c : picture.pixels) bits.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size() * sizeof(DWORD));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(bits.data()), static_cast<std::streamsize>(bits.size() * sizeof(DWORD)));
    return static_cast<bool>(out);
}

std::string BesideDriver(const char* name) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
    return folder + "\\" + name;
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
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
