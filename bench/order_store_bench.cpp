// Loading, appending to and committing order histories of 1 000, 10 000 and
// 100 000 rows. The "peak_kb" counter is the growth of the process's peak
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

std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

// A small deterministic generator, so every run sees the same history.
struct Random {
    std::uint64_t state;
    std::size_t below(std::size_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>(state >> 33) % n;
    }
    template <typename T>
    const T& pick(const std::vector<T>& list) {
        return list[below(list.size())];
    }
};

std::vector<std::string> list(std::initializer_list<const char*> texts) {
    std::vector<std::string> result;
    for (const char* text : texts) {
        result.push_back(sj(text));
    }
    return result;
}

// Counterparties made of a company form, a family name and a trade.
std::vector<std::string> counterparties() {
    const auto forms = list({"株式会社", "有限会社", "合同会社"});
    const auto names = list({"山田", "佐藤", "鈴木", "髙橋", "田中", "渡辺", "伊藤", "中村", "小林",
                             "山﨑", "加藤", "吉田", "山口", "松本", "井上", "木村"});
    const auto trades =
        list({"製作所", "商店", "工業", "電機", "精機", "化成", "鉄工所", "産業", "計器", "物産"});
    std::vector<std::string> result;
    for (const auto& form : forms) {
        for (const auto& name : names) {
            for (const auto& trade : trades) {
                result.push_back(form + name + trade);
            }
        }
    }
    return result;
}

std::string generateHistory(int rows) {
    Random random{static_cast<std::uint64_t>(rows)};
    const auto parties = counterparties();
    const auto items = list({"六角ボルト", "六角ナット", "平座金", "ばね座金", "軸受ユニット",
                             "油圧ホース", "配電盤用端子", "ステンレス鋼板", "アルミ角パイプ",
                             "梱包用テープ", "安全手袋", "ｶｯﾄｿｰ", "切削油"});
    const auto units = list({"本", "個", "枚", "箱", "組", "巻", "式", "台", "kg", "ｾｯﾄ"});
    const auto payments = list({"30", "60", "90", "120", "ﾘｰｽ", "現金"});
    const auto places = list({"本社工場", "第二工場", "資材倉庫", "物流センター"});
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        char quantity[16];
        char price[16];
        char model[16];
        std::snprintf(quantity, sizeof quantity, "%8d", static_cast<int>(random.below(500)) + 1);
        std::snprintf(price, sizeof price, "%8.2f",
                      static_cast<double>(random.below(9999900) + 100) / 100.0);
        std::snprintf(model, sizeof model, "TYPE-%06d", i);
        const std::string_view fields[] = {random.pick(parties),
                                           random.pick(payments),
                                           random.pick(items),
                                           model,
                                           quantity,
                                           random.pick(units),
                                           price,
                                           random.pick(places),
                                           "",
                                           i % 3 ? "0" : "1"};
        texts.push_back(composeRow(fields, kRowFieldCount, false));
    }
    std::vector<std::string_view> views(texts.begin(), texts.end());
    std::sort(views.begin(), views.end());
    return buildHistoryFile(views);
}

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

void fillOrder() {
    OrderRecord& order = currentOrder();
    initialiseCurrentOrder();
    copySjis(order.counterparty, sj("株式会社山田製作所"));
    copySjis(order.paymentText, "90");
    for (int i = 0; i < kOrderLineCount; ++i) {
        OrderLine& line = order.lines[i];
        copySjis(line.nameLine1, sj("六角ボルト"));
        copySjis(line.nameLine2, "M8x" + std::to_string(20 + i * 5));
        copySjis(line.quantity, "     100");
        copySjis(line.unit, sj("本"));
        copySjis(line.unitPrice, "   12.50");
        copySjis(line.deliveryPlaceLine1, sj("本社工場"));
    }
}

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

void loadStoreBench(benchmark::State& state) {
    HistoryFolder folder(static_cast<int>(state.range(0)));
    folder.startRun();
    freeStore();
    resetPeakMemory();
    const double baseKb = statusKb("VmRSS:");
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadStore());
    }
    report(state, folder, baseKb);
    const double loadedKb = heapKb();
    freeStore();
    state.counters["store_kb"] = loadedKb - heapKb();
}

void appendCurrentOrderBench(benchmark::State& state) {
    HistoryFolder folder(static_cast<int>(state.range(0)));
    folder.startRun();
    loadStore();
    fillOrder();
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
