// BuildDueList against a bare line-by-line read of the same events file, for
// files of 100 to 100,000 events. After the runs a table gives each build's
// cost as a multiple of the read, and per event.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/load_str.h"
#include "app/state.h"
#include "bench/generated_events.h"
#include "cli/platform_console.h"
#include "model/due_list.h"
#include "model/duty.h"
#include "storage/events_file.h"

namespace fs = std::filesystem;

namespace {

const int kSizes[] = {100, 1000, 10000, 100000};

fs::path benchRoot;

fs::path FolderOf(int events) { return benchRoot / std::to_string(events); }

void WriteEventsFile(const fs::path& folder, int events) {
    fs::create_directories(folder);
    WriteGeneratedEvents((folder / kEventsFileName).string().c_str(), events);
}

void EnterFolder(int events) { fs::current_path(FolderOf(events)); }

void BM_BuildDueList(benchmark::State& state) {
    EnterFolder(static_cast<int>(state.range(0)));
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const DueItem* r = BuildDueList(nullptr); r != nullptr; r = r->next) ++rows;
        benchmark::DoNotOptimize(rows);
    }
    state.counters["due"] = rows;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadLines(benchmark::State& state) {
    EnterFolder(static_cast<int>(state.range(0)));
    static char line[kDueLineBufferSize];
    for (auto _ : state) {
        FILE* file = std::fopen(kEventsFileName, "rb");
        long lines = 0;
        while (std::fgets(line, sizeof line, file) != nullptr) ++lines;
        std::fclose(file);
        benchmark::DoNotOptimize(lines);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_BuildDueList)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadLines)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Keeps the least processor time per iteration of each benchmark over its
// repetitions, while printing as usual: other load on the machine only ever
// adds time, to wall-clock time most of all.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    RecordingReporter() : ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> nanoseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const double ns = run.GetAdjustedCPUTime() * (run.time_unit == benchmark::kMicrosecond ? 1000.0 : 1.0);
            auto kept = nanoseconds.find(run.run_name.str());
            if (kept == nanoseconds.end() || ns < kept->second) nanoseconds[run.run_name.str()] = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // A fixed day: 2 May 2010, with the default limits of 10 and 3 days.
    struct tm local = {};
    local.tm_year = 110;
    local.tm_mon = 4;
    local.tm_mday = 2;
    local.tm_hour = 9;
    local.tm_isdst = -1;
    ConsoleSetNow(std::mktime(&local));

    const fs::path start = fs::current_path();
    benchRoot = fs::temp_directory_path() / ("quillbee-bench-" + std::to_string(std::random_device()()));
    for (int events : kSizes) WriteEventsFile(FolderOf(events), events);

    // Three repetitions unless the command line asks otherwise.
    std::vector<char*> args(argv, argv + argc);
    bool repetitionsGiven = false;
    for (char* a : args) repetitionsGiven |= std::string(a).rfind("--benchmark_repetitions", 0) == 0;
    static char threeRepetitions[] = "--benchmark_repetitions=3";
    if (!repetitionsGiven) args.push_back(threeRepetitions);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%8s %14s %14s %8s %16s\n", "events", "build (us)", "read (us)", "ratio", "build/event (ns)");
    for (int events : kSizes) {
        const std::string arg = "/" + std::to_string(events);
        auto build = reporter.nanoseconds.find("BM_BuildDueList" + arg);
        auto read = reporter.nanoseconds.find("BM_ReadLines" + arg);
        if (build == reporter.nanoseconds.end() || read == reporter.nanoseconds.end()) continue;
        std::printf("%8d %14.1f %14.1f %8.2f %16.1f\n", events, build->second / 1000, read->second / 1000,
                    build->second / read->second, build->second / events);
    }

    fs::current_path(start);
    std::error_code ignored;
    fs::remove_all(benchRoot, ignored);
    return 0;
}
