// The existing data browser with a long history: filling its list with the
// rows of one counterparty, sorting the list by a column, a bulk change of
// payment terms, and the whole opening of the dialog (fill, sort by name, first paint), for 1 000,
// 10 000 and 100 000 rows of the listed counterparty (the worst case: the
// whole history is one counterparty's).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <QApplication>

#include "bench/bench_support.h"
#include "data/factory_values.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/bulk_payment_dialog.h"
#include "entry/existing_data_browser.h"
#include "entry/existing_data_list.h"

namespace belvorine {
namespace {

const std::string& counterparty() {
    static const std::string name = sj("株式会社山田製作所");
    return name;
}

// `rows` rows of one counterparty with varied names, terms, quantities and
// places, in store order (sorted, as a loaded history is).
void makeStore(int rows) {
    static const char* const kItems[] = {"六角ボルト", "ナット",   "ワッシャー", "スパナ",
                                         "ベアリング", "Ｖベルト", "コピー用紙", "トナー"};
    static const char* const kTerms[] = {"30", "60", "90", "120", "現金", "ﾘｰｽ"};
    static const char* const kUnits[] = {"個", "本", "箱", "kg", "式"};
    OrderStore& store = orderStore();
    store.clear();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        char numbers[64];
        std::snprintf(numbers, sizeof numbers, "\t%8d\t", (i * 7919) % 100000 + 1);
        char price[32];
        std::snprintf(price, sizeof price, "\t%8.2f\t", ((i * 104729) % 99999) / 10.0);
        lines.push_back(counterparty() + "\t" + sj(kTerms[i % 6]) + "\t" + sj(kItems[i % 8]) +
                        "\t" + "M" + std::to_string(i) + numbers + sj(kUnits[i % 5]) + price +
                        sj("本社工場") + "\t\t" + std::to_string(i % 2));
    }
    for (const std::string& line : lines) {
        store.addRow(line);
    }
    store.sortUnique();
    store.buildLists();
    store.markLoaded();
}

void fillBench(benchmark::State& state) {
    makeStore(static_cast<int>(state.range(0)));
    ExistingDataList list(orderStore());
    for (auto _ : state) {
        list.fill(counterparty());
    }
    state.counters["rows"] = list.rowCount();
}

void sortBench(benchmark::State& state) {
    makeStore(static_cast<int>(state.range(0)));
    ExistingDataList list(orderStore());
    list.fill(counterparty());
    const int column = static_cast<int>(state.range(1));
    bool descending = false;
    for (auto _ : state) {
        descending = !descending;
        list.sortBy(column, descending ? kDescending : kAscending);
    }
}

// What the user waits for: the dialog built, filled, sorted by name and
// painted once.
void openBrowserBench(benchmark::State& state) {
    makeStore(static_cast<int>(state.range(0)));
    settings().listDialog = factoryListDialogSettings();
    selectedCounterparty() = counterparty();
    for (auto _ : state) {
        ExistingDataBrowser browser(nullptr, BrowserMode::Edit);
        browser.show();
        QApplication::processEvents();
        browser.grab();
    }
}

// The bulk change of payment terms of every row (alternating between two
// terms, so that each run changes every row).
void bulkChangeBench(benchmark::State& state) {
    makeStore(static_cast<int>(state.range(0)));
    bool cash = false;
    for (auto _ : state) {
        cash = !cash;
        benchmark::DoNotOptimize(
            changePaymentTerms(orderStore(), counterparty(), cash ? sj("現金") : "60"));
    }
}

BENCHMARK(fillBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(sortBench)
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({100000, 2})
    ->Args({100000, 3})
    ->Args({100000, 4})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(bulkChangeBench)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(openBrowserBench)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
