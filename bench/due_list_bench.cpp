// The cost of the due list on generated events files of 1,000 to 100,000
// events, in three tables:
// - in the process: the first build of a list (nothing of a list before it
//   to use again), a rebuild, and a bare line-by-line read of the same file;
// - as a whole process, timed by hyperfine: quillbee-due against `wc -l` on
//   the same file;
// - the peak resident size of quillbee-due, by GNU time, against the file's
//   size and a trivial process.
// Each table gives the ratios and the targets they are held to.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
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

const int kSizes[] = {1000, 10000, 100000};
// The day every build is for, as quillbee-due takes it.
const char* const kNow = "2010-05-02 09:00";

fs::path benchRoot;

fs::path FolderOf(int events) { return benchRoot / std::to_string(events); }

void WriteEventsFile(const fs::path& folder, int events) {
    fs::create_directories(folder);
    WriteGeneratedEvents((folder / kEventsFileName).string().c_str(), events);
}

void EnterFolder(int events) { fs::current_path(FolderOf(events)); }

int CountRows(const DueItem* row) {
    int rows = 0;
    for (; row != nullptr; row = row->next) ++rows;
    return rows;
}

// Each build after the first takes the rows of the list before it.
void BM_Rebuild(benchmark::State& state) {
    EnterFolder(static_cast<int>(state.range(0)));
    int rows = 0;
    for (auto _ : state) {
        rows = CountRows(BuildDueList(nullptr));
        benchmark::DoNotOptimize(rows);
    }
    state.counters["due"] = rows;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The list before each build is freed, untimed, so that the build has
// nothing of it to use again, as the first build of a process. What stays is
// what the program keeps for all builds: its first block of rows and its
// line buffer, which a new process faults in once; the whole-process figures
// below include that.
void BM_FirstBuild(benchmark::State& state) {
    EnterFolder(static_cast<int>(state.range(0)));
    DueItem* head = BuildDueList(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        FreeDueList(head);
        state.ResumeTiming();
        head = BuildDueList(nullptr);
        benchmark::DoNotOptimize(head);
    }
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

BENCHMARK(BM_FirstBuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Rebuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

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
            const double ns =
                run.GetAdjustedCPUTime() * (run.time_unit == benchmark::kMicrosecond ? 1000.0 : 1.0);
            auto kept = nanoseconds.find(run.run_name.str());
            if (kept == nanoseconds.end() || ns < kept->second) nanoseconds[run.run_name.str()] = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

const char* Verdict(double ratio, double target) { return ratio <= target ? "met" : "MISSED"; }

void PrintInProcess(const RecordingReporter& reporter) {
    std::printf("\nIn the process (least processor time of the repetitions):\n");
    std::printf("%8s %11s %11s %11s %16s %16s\n", "events", "first (us)", "rebuild", "read", "first/rebuild",
                "rebuild/read");
    for (int events : kSizes) {
        const std::string arg = "/" + std::to_string(events);
        auto first = reporter.nanoseconds.find("BM_FirstBuild" + arg);
        auto rebuild = reporter.nanoseconds.find("BM_Rebuild" + arg);
        auto read = reporter.nanoseconds.find("BM_ReadLines" + arg);
        if (first == reporter.nanoseconds.end() || rebuild == reporter.nanoseconds.end() ||
            read == reporter.nanoseconds.end()) {
            continue;
        }
        const double firstRatio = first->second / rebuild->second;
        const double readRatio = rebuild->second / read->second;
        std::printf("%8d %11.1f %11.1f %11.1f %7.2f <= 1.3 %-6s %6.2f <= 2 %s\n", events,
                    first->second / 1000, rebuild->second / 1000, read->second / 1000, firstRatio,
                    Verdict(firstRatio, 1.3), readRatio, Verdict(readRatio, 2.0));
    }
}

// Runs a shell command and returns what it printed.
std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
    return text;
}

struct ProcessTimes {
    double median = 0, min = 0;  // seconds of wall-clock time
};

// hyperfine's figures for each command, in order, from its CSV export.
std::vector<ProcessTimes> TimeProcesses(const std::vector<std::string>& commands) {
    const fs::path csv = benchRoot / "hyperfine.csv";
    std::string line = "hyperfine -N --style none --warmup 20 --runs 200 --export-csv '" + csv.string() + "'";
    for (const std::string& command : commands) line += " '" + command + "'";
    std::vector<ProcessTimes> times;
    if (std::system((line + " >/dev/null").c_str()) != 0) return times;
    std::ifstream in(csv);
    std::string row;
    std::getline(in, row);  // command,mean,stddev,median,user,system,min,max
    while (std::getline(in, row)) {
        // The command may hold commas; the figures are the last seven fields.
        std::vector<std::string> fields;
        std::stringstream split(row);
        for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
        if (fields.size() < 8) continue;
        ProcessTimes t;
        t.median = std::atof(fields[fields.size() - 5].c_str());
        t.min = std::atof(fields[fields.size() - 2].c_str());
        times.push_back(t);
    }
    return times;
}

std::string DueCommand() { return std::string(QB_DUE_PROGRAM) + " --now \"" + kNow + "\""; }

void PrintWholeProcess() {
    std::printf(
        "\nWhole process (hyperfine, wall-clock time of 200 runs; the ratio of the least times is held "
        "to the target):\n");
    std::printf("%8s %10s %22s %22s %15s %12s\n", "events", "file (KB)", "quillbee-due min/med",
                "wc -l min/med", "ratio (min)", "ratio (med)");
    for (int events : {10000, 100000}) {
        EnterFolder(events);
        const std::vector<ProcessTimes> t = TimeProcesses({DueCommand(), "wc -l quillbee.events"});
        if (t.size() != 2) {
            std::printf("%8d hyperfine did not run (is it installed? tools/bootstrap.sh installs it)\n",
                        events);
            return;
        }
        const double target = events <= 10000 ? 2.0 : 3.0;
        const double ratio = t[0].min / t[1].min;
        std::printf("%8d %10.0f %10.2f /%6.2f ms %10.2f /%6.2f ms %6.2f <= %.0f %s %11.2f\n", events,
                    static_cast<double>(fs::file_size(kEventsFileName)) / 1024, t[0].min * 1000,
                    t[0].median * 1000, t[1].min * 1000, t[1].median * 1000, ratio, target,
                    Verdict(ratio, target), t[0].median / t[1].median);
    }
}

// GNU time's peak resident size of a command, in KB; 0 when it did not run.
long PeakResidentKb(const std::string& command) {
    const std::string report = Output("/usr/bin/time -v " + command + " 2>&1 >/dev/null");
    const std::string key = "Maximum resident set size (kbytes): ";
    const size_t at = report.find(key);
    return at == std::string::npos ? 0 : std::atol(report.c_str() + at + key.size());
}

void PrintMemory() {
    const int events = 100000;
    EnterFolder(events);
    long due = 0, trivial = 0;
    // The least of a few runs, like the times.
    for (int run = 0; run < 5; ++run) {
        const long d = PeakResidentKb(DueCommand()), t = PeakResidentKb("true");
        if (run == 0 || d < due) due = d;
        if (run == 0 || t < trivial) trivial = t;
    }
    if (due == 0 || trivial == 0) {
        std::printf("\nPeak memory: /usr/bin/time did not run (tools/bootstrap.sh installs GNU time)\n");
        return;
    }
    const double file = static_cast<double>(fs::file_size(kEventsFileName)) / 1024;
    const double limit = 2 * file + static_cast<double>(trivial);
    std::printf(
        "\nPeak resident size at %d events (GNU time): quillbee-due %ld KB; file %.0f KB, trivial process "
        "(true) %ld KB; limit 2 x file + trivial = %.0f KB; ratio %.2f <= 1 %s\n",
        events, due, file, trivial, limit, static_cast<double>(due) / limit,
        Verdict(static_cast<double>(due) / limit, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    // Blocks of the C library's heap that are freed and asked for again are
    // kept for reuse once the library has seen a few, and a first build would
    // find its pages already in memory. A fixed threshold keeps every large
    // block fresh from the system, as in a process that has just started.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);

    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
    std::sscanf(kNow, "%d-%d-%d %d:%d", &year, &month, &day, &hour, &minute);
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
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

    PrintInProcess(reporter);
    PrintWholeProcess();
    PrintMemory();

    fs::current_path(start);
    std::error_code ignored;
    fs::remove_all(benchRoot, ignored);
    return 0;
}
