// Drives a real quillbee.exe from another process, by window messages, the
// way a user's actions arrive: start it in a folder, find its windows, read
// them, press buttons, and take pictures of them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RunningProgram {
    PROCESS_INFORMATION process = {};
    bool started = false;
};

// Starts `exe` with `arguments` in `folder`, with the driver's environment.
bool StartProgram(const std::string& exe, const std::string& arguments, const std::string& folder,
                  RunningProgram* program);
// The same with the whole command line, program path included, as given.
bool StartProgramWithCommandLine(const std::string& exe, const std::string& commandLine,
                                 const std::string& folder, RunningProgram* program);

// Waits for the program to end; returns its exit code, or STILL_ACTIVE when
// it is still running after `timeoutMs`.
DWORD WaitForExit(RunningProgram* program, DWORD timeoutMs);

// Ends the program if it still runs and releases its handles.
void StopProgram(RunningProgram* program);

// The first top-level window of the process with this class name that is
// visible (or any, with `mustBeVisible` false); null after `timeoutMs`.
HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs, bool mustBeVisible = true);

// A message box (dialog class #32770) of the process with its text in
// place; null after `timeoutMs`.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// The text of a window, and the texts of a message box's static children.
std::string WindowText(HWND window);
std::string MessageBoxText(HWND box);
inline std::string MessageBoxCaption(HWND box) { return WindowText(box); }

// A dialog of the process with this caption, once it shows; null after 5 seconds.
HWND WaitForDialog(DWORD processId, const std::string& caption);

// Whether the notification area holds the program's icon of `window`:
// changing an icon that is not there fails.
bool HasTrayIcon(HWND window);

// Sets the text of a control of another process.
void SetText(HWND control, const char* text);

// Presses the button with `id` (IDOK, IDYES, IDNO...) of a dialog.
bool PressButton(HWND dialog, int id);

// Whether a condition becomes true within `timeoutMs`, polling.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount();; Sleep(20)) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
    }
}

// What the screen shows of `window`, top row first; empty when the screen
// could not be read.
struct WindowPixels {
    int width = 0, height = 0;
    std::vector<DWORD> bits;  // 0x00RRGGBB
    COLORREF At(int x, int y) const {
        const DWORD p = bits[static_cast<size_t>(y) * width + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
};
WindowPixels CaptureWindow(HWND window);

// Saves what the screen shows of `window` as a BMP file; false when the
// screen could not be read or the file written.
[[nodiscard]] bool SaveWindowPicture(HWND window, const std::string& path);

// The full path of a file beside the running driver executable.
std::string BesideDriver(const char* name);

// A new empty folder under the system's temporary folder; removed by
// RemoveFolder with everything in it.
std::string MakeScratchFolder(const char* tag);
void RemoveFolder(const std::string& folder);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
