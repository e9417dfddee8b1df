// Loading (reading the working file, or keeping the rows in memory),
// appending to and committing order histories of 1 000, 10 000 and 100 000
// rows. The "peak_kb" counter is the growth of the process's peak
// resident size while the benchmark ran (the peak is reset after the history
// is made), only meaningful with BELVORINE_BENCH_MEMORY=1, which maps every
// large buffer on its own (and so slows the timings down); "store_kb" is the
// heap the loaded store holds.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "bench/bench_support.h"
#include "data/order_file_format.h"
#include "data/order_files.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "platform/module_path.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

// A program folder holding a history of `rows` rows as data file and backup.
class HistoryFolder {
public:
    explicit HistoryFolder(int rows) : rows_(rows), content_(generateHistory(rows)) {
        setModulePathForTesting(dir_.path() + QStringLiteral("/belvorine"));
    }
    ~HistoryFolder() {
        freeStore();
        resetOrderFilesForTesting();
        setModulePathForTesting(QString());
    }

    // A program start: the data file in place, the working file prepared.
    void startRun() {
        replaceFileSafely(dataFilePath(), content_, 0444);
        settings().initialData.rowCount = rows_;
        prepareDataFiles({});
    }
    std::size_t bytes() const { return content_.size(); }

private:
    QTemporaryDir dir_;
    int rows_;
    std::string content_;
};

// Linux: "5" in clear_refs resets the peak resident size (VmHWM). Freed
// heap memory is handed back first, so the peak is the benchmark's own.
void resetPeakMemory() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

double statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stod(line.substr(key.size()));
        }
    }
    return 0;
}

double heapKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1024.0;
}

void report(benchmark::State& state, const HistoryFolder& folder, double baseKb) {
    state.counters["file_kb"] = static_cast<double>(folder.bytes()) / 1024.0;
    state.counters["peak_kb"] = statusKb("VmHWM:") - baseKb;
}

// A load that reads and decodes the working file (the store was freed).
void loadStoreBench(benchmark::State& state) {
    HistoryFolder folder(static_cast<int>(state.range(0)));
    folder.startRun();
    loadStore();  // the start-up's own load, which takes the text decoded already
    freeStore();
    resetPeakMemory();
    const double baseKb = statusKb("VmRSS:");
    for (auto _ : state) {
        state.PauseTiming();
        freeStore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(loadStore());
    }
    report(state, folder, baseKb);
    const double loadedKb = heapKb();
    freeStore();
    state.counters["store_kb"] = loadedKb - heapKb();
}

// A load for data entry or the browser while the rows in memory are the
// working file's: only the lists are made again.
void reloadUnchangedBench(benchmark::State& state) {
    HistoryFolder folder(static_cast<int>(state.range(0)));
    folder.startRun();
    loadStore();
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadStore());
    }
}

void appendCurrentOrderBench(benchmark::State& state) {
    HistoryFolder folder(static_cast<int>(state.range(0)));
    folder.startRun();
    loadStore();
    fillFiveLineOrder();
    resetPeakMemory();
    const double baseKb = statusKb("VmRSS:");
    for (auto _ : state) {
        benchmark::DoNotOptimize(appendCurrentOrder());
    }
    report(state, folder, baseKb);
}

void commitDataFilesBench(benchmark::State& state) {
    HistoryFolder folder(static_cast<int>(state.range(0)));
    resetPeakMemory();
    const double baseKb = statusKb("VmRSS:");
    for (auto _ : state) {
        state.PauseTiming();
        folder.startRun();
        loadStore();
        freeStore();
        state.ResumeTiming();
        benchmark::DoNotOptimize(commitDataFiles());
    }
    report(state, folder, baseKb);
}

BENCHMARK(loadStoreBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(reloadUnchangedBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(appendCurrentOrderBench)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(commitDataFilesBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    // A fixed threshold: large buffers are mapped and unmapped on their own,
    // so the resident size follows what the code really holds.
    if (qEnvironmentVariableIntValue("BELVORINE_BENCH_MEMORY") == 1) {
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
