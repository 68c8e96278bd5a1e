// Start-up time of quillbee.exe with 1,000 events, from CreateProcess to the
// end of its first list rebuild, beside a minimal window program measured
// the same way: quillbee_startup_bench.exe quillbee.exe minimal_window.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/commands.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/quillbee_files.h"

namespace {

constexpr int kRuns = 7;

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// 1,000 events across the year, about one in twenty-five due today, some with notes.
std::string ThousandEvents(int* dueCount) {
    std::string lines;
    *dueCount = 0;
    for (int i = 0; i < 1000; ++i) {
        int offset = (i * 37) % 365 - 182;
        if (offset >= -3 && offset <= 10) ++*dueCount;
        char message[64];
        snprintf(message, sizeof message, "Event number %d", i);
        lines += EventLine(offset, message, i % 5 == 0 ? "A note\x1E\x1Ewith two lines" : "");
    }
    return EventsFile(lines);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int RowCount(HWND window) {
    HWND list = FindWindowExA(window, nullptr, "ListBox", nullptr);
    DWORD_PTR count = 0;
    SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    return static_cast<int>(count);
}

// One timed start; the window counts as ready when `ready` says so.
template <typename Ready>
double TimeOneStart(const std::string& exe, const std::string& folder, const char* className, Ready ready,
                    UINT closeMessage, WPARAM closeParam) {
    RunningProgram program;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!StartProgram(exe, "", folder, &program)) return -1;
    HWND window = nullptr;
    bool ok = WaitUntil(
        [&] {
            if (!window) window = WaitForWindow(program.process.dwProcessId, className, 0);
            return window && ready(window);
        },
        20000);
    QueryPerformanceCounter(&end);
    if (window) PostMessageA(window, closeMessage, closeParam, 0);
    WaitForExit(&program, 10000);
    StopProgram(&program);
    return ok ? Milliseconds(start, end) : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: quillbee_startup_bench quillbee.exe minimal_window.exe\n");
        return 2;
    }
    _putenv("TZ=");
    std::string quillbee = WindowsPath(argv[1]);
    std::string minimal = WindowsPath(argv[2]);
    std::string folder = MakeScratchFolder("bench");
    int due = 0;
    WriteWholeFile(folder + "\\quillbee.events", ThousandEvents(&due));

    std::vector<double> quillbeeTimes, minimalTimes;
    for (int run = 0; run < kRuns; ++run) {
        double q = TimeOneStart(
            quillbee, folder, "QuillbeeClass",
            [&](HWND w) { return IsWindowVisible(w) && RowCount(w) == due && WindowText(w).find(" - ") != std::string::npos; },
            WM_COMMAND, CMD_EXIT);
        double m = TimeOneStart(
            minimal, folder, "MinimalClass",
            [](HWND w) { return IsWindowVisible(w) && WindowText(w) == "Minimal - ready"; }, WM_CLOSE, 0);
        if (q < 0 || m < 0) {
            fprintf(stderr, "a start did not finish (quillbee %.0f ms, minimal %.0f ms)\n", q, m);
            RemoveFolder(folder);
            return 1;
        }
        quillbeeTimes.push_back(q);
        minimalTimes.push_back(m);
    }
    RemoveFolder(folder);

    WIN32_FILE_ATTRIBUTE_DATA attributes;
    GetFileAttributesExA(quillbee.c_str(), GetFileExInfoStandard, &attributes);
    double q = Median(quillbeeTimes);
    double m = Median(minimalTimes);
    printf("start-up to the first rebuild, median of %d runs under Wine:\n", kRuns);
    printf("  quillbee.exe with 1,000 events (%d due): %7.1f ms\n", due, q);
    printf("  minimal window program:                 %7.1f ms\n", m);
    printf("  ratio: %.2f (target at most 1.5)\n", q / m);
    printf("size of quillbee.exe: %lu bytes (%.0f KB, target at most 300 KB)\n",
           static_cast<unsigned long>(attributes.nFileSizeLow), attributes.nFileSizeLow / 1024.0);
    return 0;
}
