// A real quillbee.exe in its own scratch folder, for the end-to-end tests,
// and what they read off its windows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/quillbee_files.h"

extern std::string quillbeeExe;  // set by main from the command line

constexpr DWORD kStartTimeout = 15000;
constexpr DWORD kExitedWithMinusOne = static_cast<DWORD>(-1);

inline HWND ListBoxOf(HWND mainWindow) { return FindWindowExA(mainWindow, nullptr, "ListBox", nullptr); }

// The answer of the main window's list to `message`.
inline int AskList(HWND mainWindow, UINT message) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(ListBoxOf(mainWindow), message, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    return static_cast<int>(answer);
}
inline int RowCount(HWND mainWindow) { return AskList(mainWindow, LB_GETCOUNT); }
inline int RowHeight(HWND mainWindow) { return AskList(mainWindow, LB_GETITEMHEIGHT); }

inline std::string StartupLinkPath() {
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, TRUE);
    return std::string(folder) + "\\Quillbee.lnk";
}

// Saves a picture of `window`, once it has had time to paint, as
// screenshots\NAME.bmp beside the driver, for a person to look at.
inline void Picture(HWND window, const std::string& name) {
    Sleep(300);
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver(("screenshots\\" + name + ".bmp").c_str()))) << name;
}

// Opens a menu of the main window with `message`, pictures it as NAME and
// chooses its item `position` (1 for the first) by the keyboard, as a user
// may, or closes it (position 0).
inline void ChooseFromMenu(DWORD processId, HWND window, UINT message, WPARAM wParam, LPARAM lParam, int position,
                           const char* name) {
    PostMessageA(window, message, wParam, lParam);
    HWND menu = WaitForWindow(processId, "#32768", 5000);
    ASSERT_NE(menu, nullptr) << name;
    Picture(menu, name);
    if (position == 0) PostMessageA(window, WM_CANCELMODE, 0, 0);
    for (int i = 0; position > 0 && i <= position; ++i) {  // the keys reach the menu through its thread
        const WPARAM key = i < position ? VK_DOWN : VK_RETURN;
        PostMessageA(window, WM_KEYDOWN, key, 0);
        PostMessageA(window, WM_KEYUP, key, 0xC0000000);
        Sleep(100);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000)) << name << " stays open";
}

// The dialog that `command` of the main window opens, with row `row` of its
// list selected first (none: left as it is); null when none shows in time.
inline HWND OpenDialog(DWORD processId, HWND window, int command, int row = -1, DWORD timeoutMs = 5000) {
    DWORD_PTR ignored = 0;
    if (row >= 0)
        SendMessageTimeoutA(ListBoxOf(window), LB_SETCURSEL, row, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    PostMessageA(window, WM_COMMAND, command, 0);
    return WaitForWindow(processId, "#32770", timeoutMs);
}

// A message box of the process other than `dialog`, which shows too: one
// that `dialog` has opened.
inline HWND MessageBoxOver(DWORD processId, HWND dialog) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = WaitForMessageBox(processId, 0)) != nullptr && box != dialog; }, 5000);
    return box != dialog ? box : nullptr;
}

inline void ExitProgram(HWND mainWindow) { PostMessageA(mainWindow, WM_COMMAND, CMD_EXIT, 0); }

// A program started in its own scratch folder, stopped and cleaned up at the end.
class Instance {
public:
    explicit Instance(const char* tag, const std::string& events = "") : folder_(MakeScratchFolder(tag)) {
        if (!events.empty()) Write("quillbee.events", events);
    }
    ~Instance() {
        StopProgram(&program_);
        RemoveFolder(folder_);
    }
    std::string File(const char* name) const { return folder_ + "\\" + name; }
    std::string Read(const char* name) const { return ReadWholeFile(File(name)); }
    void Write(const char* name, const std::string& bytes) const { WriteWholeFile(File(name), bytes); }
    testing::AssertionResult Start(const std::string& arguments = "") {
        if (StartProgram(quillbeeExe, arguments, folder_, &program_)) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "cannot start " << quillbeeExe << ", error " << GetLastError();
    }
    // Starts the program and waits for its main window to show `rows` rows;
    // the window, or null.
    HWND Run(int rows) {
        if (!Start()) return nullptr;
        MainWindow();
        if (window_ && WaitUntil([&] { return RowCount(window_) == rows; }, 5000)) return window_;
        ADD_FAILURE() << (window_ ? "rows: " + std::to_string(RowCount(window_)) : "no main window");
        return nullptr;
    }
    // Ends the program from its menu; its exit code.
    DWORD Quit() {
        ExitProgram(window_);
        return Exit();
    }
    DWORD Id() const { return program_.process.dwProcessId; }
    // The main window once it shows; the one Quit ends.
    HWND MainWindow(DWORD timeoutMs = kStartTimeout) {
        return window_ = WaitForWindow(Id(), "QuillbeeClass", timeoutMs);
    }
    DWORD Exit(DWORD timeoutMs = 10000) { return WaitForExit(&program_, timeoutMs); }
    const std::string& Folder() const { return folder_; }
    // Runs the terminal companion, built beside the program, in the folder;
    // its exit code, STILL_ACTIVE when it hangs, or -1 when it cannot start.
    DWORD RunTerminalCommand(const std::string& arguments) const {
        std::string terminal = quillbeeExe;
        terminal.replace(terminal.rfind('\\') + 1, std::string::npos, "cli\\quillbee-due.exe");
        RunningProgram command;
        if (!StartProgram(terminal, arguments, folder_, &command)) return static_cast<DWORD>(-1);
        const DWORD code = WaitForExit(&command, 10000);
        StopProgram(&command);
        return code;
    }

private:
    std::string folder_;
    RunningProgram program_;
    HWND window_ = nullptr;
};
