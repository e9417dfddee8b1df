#include "bench/bench_support.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "data/order_file_format.h"
#include "data/order_record.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"
#include "bench/process_setup.h"
#include "data/order_files.h"
#include "platform/safe_file.h"
#include "print/device_geometry.h"

namespace belvorine {

std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

namespace {

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

}  // namespace

std::string bigSupplier() {
    return sj("株式会社大山精密工業");
}

std::string generateHistory(int rows, int bigSupplierRows) {
    const std::string big = bigSupplier();
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
        const bool ofBig = i < bigSupplierRows;
        const std::string& party = random.pick(parties);
        const std::string_view fields[] = {ofBig ? std::string_view(big) : std::string_view(party),
                                           random.pick(payments),
                                           random.pick(items),
                                           model,
                                           quantity,
                                           random.pick(units),
                                           price,
                                           random.pick(places),
                                           "",
                                           ofBig || i % 3 ? "0" : "1"};
        texts.push_back(composeRow(fields, kRowFieldCount, false));
    }
    std::vector<std::string_view> views(texts.begin(), texts.end());
    std::sort(views.begin(), views.end());
    return buildHistoryFile(views);
}


void fillFiveLineOrder() {
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
        copySjis(line.amount, "         1250");
        copySjis(line.deliveryPlaceLine1, sj("本社工場"));
    }
}


int prepareProgramFolder(int rows) {
    loadSettings();
    makeLiveCopies();
    settings().initialData.rowCount = rows;
    printerSettings(0).makeAcknowledgement = 1;
    if (!saveSettings()) {
        return 0;
    }
    const std::string history = generateHistory(rows);
    return replaceFileSafely(dataFilePath(), history, 0444) &&
           replaceFileSafely(backupFilePath(), history, 0444);
}

int startWithoutWindow() {
    if (!readScreenMetrics()) {
        return 0;
    }
    loadSettings();
    makeLiveCopies();
    resetLongestCounterparties();
    if (!checkPrintersAtStartup()) {
        return 0;
    }
    prepareAllLayouts();
    return 1;
}

}  // namespace belvorine
