// A real quillbee.exe in its own scratch folder, for the end-to-end tests,
// and what they read off its windows.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/quillbee_files.h"

extern std::string quillbeeExe;  // set by main from the command line

constexpr DWORD kStartTimeout = 15000;
constexpr DWORD kExitedWithMinusOne = static_cast<DWORD>(-1);

HWND ListBoxOf(HWND mainWindow);
int RowCount(HWND mainWindow);
int RowHeight(HWND mainWindow);
std::string StartupLinkPath();

// Saves a picture of `window`, once it has had time to paint, as
// screenshots\NAME.bmp beside the driver, for a person to look at.
void Picture(HWND window, const std::string& name);

// Opens a menu of the main window with `message`, pictures it as NAME and
// chooses its item `position` (1 for the first) by the keyboard, as a user may.
void ChooseFromMenu(DWORD processId, HWND window, UINT message, LPARAM lParam, int position,
                    const char* name);

// The dialog that `command` of the main window opens, with row `row` of its
// list selected first (none: left as it is); null when none shows in time.
HWND OpenDialog(DWORD processId, HWND window, int command, int row = -1, DWORD timeoutMs = 5000);

// A message box of the process other than `dialog`, which shows too: one
// that `dialog` has opened.
HWND MessageBoxOver(DWORD processId, HWND dialog);

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
