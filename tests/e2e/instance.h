// A real quillbee.exe in its own scratch folder, for the end-to-end tests,
// and what they read off its main window.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/quillbee_files.h"

extern std::string quillbeeExe;  // set by main from the command line

constexpr DWORD kStartTimeout = 15000;

HWND ListBoxOf(HWND mainWindow);
int RowCount(HWND mainWindow);
std::string StartupLinkPath();

// Whether the notification area holds the program's icon: changing an icon
// that is not there fails.
bool HasTrayIcon(HWND mainWindow);

inline void ExitProgram(HWND mainWindow) { PostMessageA(mainWindow, WM_COMMAND, CMD_EXIT, 0); }

// Opens the event list editor from the main window; null when it does not show.
inline HWND OpenEventList(DWORD processId, HWND mainWindow) {
    PostMessageA(mainWindow, WM_COMMAND, CMD_EDIT_EVENTS, 0);
    return WaitForWindow(processId, "#32770", 5000);
}

// A message box of the process other than `dialog`, which shows too: one
// that `dialog` has opened.
inline HWND MessageBoxOver(DWORD processId, HWND dialog, DWORD timeoutMs = 5000) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = WaitForMessageBox(processId, 0)) != nullptr && box != dialog; }, timeoutMs);
    return box != dialog ? box : nullptr;
}

// A program started in its own scratch folder, stopped and cleaned up at the end.
class Instance {
public:
    explicit Instance(const char* tag) : folder_(MakeScratchFolder(tag)) {}
    ~Instance() {
        StopProgram(&program_);
        RemoveFolder(folder_);
    }
    std::string File(const char* name) const { return folder_ + "\\" + name; }
    void Write(const char* name, const std::string& bytes) const { WriteWholeFile(File(name), bytes); }
    testing::AssertionResult Start(const std::string& arguments = "", const std::vector<std::string>& env = {}) {
        if (StartProgram(quillbeeExe, arguments, folder_, &program_, env)) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "cannot start " << quillbeeExe << " in '" << folder_ << "', error "
                                           << GetLastError();
    }
    DWORD Id() const { return program_.process.dwProcessId; }
    HWND MainWindow(DWORD timeoutMs = kStartTimeout) const { return WaitForWindow(Id(), "QuillbeeClass", timeoutMs); }
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
};

// Starts the program in a folder of its own on these preferences and events,
// waits for its `rows` rows and saves a picture of its main window as
// screenshots\NAME.bmp beside the driver, for a person to look at.
inline void PictureOfMainWindow(const PrefsLine& prefs, const std::string& events, int rows, const std::string& name) {
    Instance app("picture");
    app.Write("quillbee.prefs", PrefsFile(prefs));
    app.Write("quillbee.events", events);
    ASSERT_TRUE(app.Start());
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(window) == rows; }, 5000)) << RowCount(window);
    Sleep(300);  // let it paint
    EXPECT_TRUE(SaveWindowPicture(window, BesideDriver(("screenshots\\" + name + ".bmp").c_str())));
    ExitProgram(window);
    EXPECT_EQ(app.Exit(), 0u);
}
