// The event list editor on files of 1,000 and 10,000 events, in-process under
// Wine: opening it (every event loaded into its rows, then painted), the load
// of the rows alone and a save of every row, beside a due-list build of the
// same file. The best of several runs counts: other load on the machine only
// ever adds time. More sizes may be given on the command line.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win_state.h"
#include "bench/generated_events.h"
#include "dialogs/duty_rows.h"
#include "dialogs/list_editor.h"
#include "model/due_list.h"
#include "model/duty.h"
#include "resources/list_editor_ids.h"
#include "storage/events_file.h"
#include "tests/e2e/driver.h"

namespace {

constexpr int kRuns = 5;

double NowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The least time of `kRuns` runs of `timed`, each after an untimed `prepare`.
template <typename Prepare, typename Timed>
double Best(Prepare prepare, Timed timed) {
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        const double start = NowMs();
        timed();
        best = std::min(best, NowMs() - start);
    }
    return best;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

struct Times {
    int due;
    double build, open, load, save;
};

Times Measure(int events, HWND owner) {
    WriteGeneratedEvents(kEventsFileName, events);
    Times times;
    times.build = Best([] {},
                       [&] {
                           times.due = 0;
                           for (const DueItem* row = BuildDueList(nullptr); row != nullptr; row = row->next)
                               ++times.due;
                       });
    HWND editor = nullptr;
    auto close = [&] {
        if (editor != nullptr) SendMessageA(editor, WM_COMMAND, IDCANCEL, 0);
        editor = nullptr;
        Pump();
    };
    times.open = Best(close, [&] {
        editor = OpenListEditor(owner, nullptr);
        UpdateWindow(editor);
    });
    Pump();
    HWND list = GetDlgItem(editor, IDC_LIST_EVENTS);
    times.load = Best([&] { DeleteAllDutyRows(list); }, [&] { LoadDutiesIntoList(list); });
    if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != events) std::printf("rows missing!\n");
    times.save = Best([] {}, [&] { SaveDutiesFromList(list); });
    close();
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    appInstance = GetModuleHandleA(nullptr);
    std::vector<int> sizes = {1000, 10000};
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));

    const std::string root = MakeScratchFolder("list-bench");
    HWND owner =
        CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, appInstance, nullptr);

    std::printf("%8s %6s %12s %12s %12s %12s %11s %15s\n", "events", "due", "build (ms)", "open (ms)",
                "load (ms)", "save (ms)", "load/build", "load/event (us)");
    for (int events : sizes) {
        const std::string folder = root + "\\" + std::to_string(events);
        CreateDirectoryA(folder.c_str(), nullptr);
        SetCurrentDirectoryA(folder.c_str());
        const Times t = Measure(events, owner);
        std::printf("%8d %6d %12.1f %12.1f %12.1f %12.1f %11.2f %15.1f\n", events, t.due, t.build, t.open,
                    t.load, t.save, t.load / t.build, 1000.0 * t.load / events);
        std::fflush(stdout);
    }
    DestroyWindow(owner);
    SetCurrentDirectoryA(root.c_str());
    SetCurrentDirectoryA("..");
    RemoveFolder(root);
    return 0;
}
