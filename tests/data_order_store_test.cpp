// The order history in memory: what a print appends, what a load reads,
// the pick lists and the row editing of the browser.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "data/order_file_format.h"
#include "data/order_session.h"
#include "order_test_support.h"

namespace belvorine {
namespace {

using test::fillLine;
using test::fixture;
using test::OrderHistoryTest;
using test::readFile;
using test::setOrderHeader;
using test::sj;
using test::writeFile;

std::vector<std::string> unitTexts() {
    return orderStore().units();
}

std::vector<std::string> sjList(std::initializer_list<const char*> texts) {
    std::vector<std::string> list;
    for (const char* text : texts) {
        list.push_back(sj(text));
    }
    return list;
}

// The rows of the working file as written.
std::vector<std::string> writtenRows(const QString& path) {
    std::string decoded;
    EXPECT_EQ(decodeHistory(readFile(path), decoded), 1);
    const std::vector<std::string_view> rows = historyRows(decoded);
    return std::vector<std::string>(rows.begin(), rows.end());
}

// --- a print appends the order -------------------------------------------

TEST_F(OrderHistoryTest, FirstRunOffersTheDefaultUnitsAndStoresTheFirstPrint) {
    ASSERT_EQ(openOrderData({}), 0);
    EXPECT_EQ(orderStore().rowCount(), 0);
    EXPECT_TRUE(orderStore().counterparties().empty());
    EXPECT_EQ(unitTexts(), sjList({"枚", "個", "式", "台", "kg", "組", "巻", "箱", "本"}));
    EXPECT_FALSE(QFile::exists(folder.file("tmp")));

    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "六角ボルト", "M8×30", "100", "本", "12.5", "本社工場");
    fillLine(2, "六角ナット", "", "2.5", "kg", "1200", "第二工場", "資材倉庫");
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(readFile(folder.file("tmp")), fixture("orders-first-print.ovd"));
    EXPECT_EQ(settings().initialData.rowCount, 0) << "counted only when committed";
}

TEST_F(OrderHistoryTest, PrintingRewritesTheOrdersNumbersAndBlanksInPlace) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("株式会社山田製作所　 ", "90");
    fillLine(0, "品名", "", "3", "個", "1200", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(std::string(currentOrder().lines[0].unitPrice), " 1200.00");
    EXPECT_EQ(std::string(currentOrder().counterparty), sj("株式会社山田製作所"));
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(fieldText(0, kStoreQuantity), "       3");
    EXPECT_EQ(fieldText(0, kStoreUnitPrice), " 1200.00");
}

TEST_F(OrderHistoryTest, NothingIsAppendedWithoutACounterpartyOrAName) {
    ASSERT_EQ(start(0), 1);
    fillLine(0, "品名", "", "1", "個", "100", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(readFile(folder.file("tmp")), fixture("orders-header-only.ovd"));

    setOrderHeader("　 ", "90");
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_TRUE(writtenRows(folder.file("tmp")).empty());

    setOrderHeader("相手先", "90");
    currentOrder().lines[0].nameLine1[0] = '\0';
    fillLine(1, "", "二行目だけ", "1", "個", "100", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_TRUE(writtenRows(folder.file("tmp")).empty());
}

TEST_F(OrderHistoryTest, PrintingTheSameOrderTwiceLeavesOneSetOfRows) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "六角ボルト", "", "100", "本", "12.5", "本社工場");
    fillLine(1, "六角ナット", "", "100", "本", "8", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    const std::string once = readFile(folder.file("tmp"));
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(readFile(folder.file("tmp")), once);
    EXPECT_EQ(writtenRows(folder.file("tmp")).size(), 2U);
}

TEST_F(OrderHistoryTest, SplitLinesStoreTheirTotalAndCollapseToOneRow) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("株式会社山田製作所", "90");
    for (int i = 0; i < 3; ++i) {
        fillLine(i, "六角ボルト", "", i == 0 ? "4" : "3", "本", "12.5", "本社工場");
        currentOrder().lines[i].splitFrom = 1;
        std::strcpy(currentOrder().lines[i].totalQuantity, "10");
    }
    ASSERT_EQ(appendCurrentOrder(), 1);
    ASSERT_EQ(loadStore(), 1);
    ASSERT_EQ(orderStore().rowCount(), 1);
    EXPECT_EQ(fieldText(0, kStoreQuantity), "      10");
}

TEST_F(OrderHistoryTest, RowsAreOrderedByTheirBytes) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "六角ボルト", "", "100", "本", "12.5", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    setOrderHeader("株式会社山田製作所", "120");
    ASSERT_EQ(appendCurrentOrder(), 1);
    setOrderHeader("ABC", "90");
    ASSERT_EQ(appendCurrentOrder(), 1);
    ASSERT_EQ(loadStore(), 1);
    ASSERT_EQ(orderStore().rowCount(), 3);
    EXPECT_EQ(fieldText(0, kStoreCounterparty), "ABC");
    EXPECT_EQ(fieldText(1, kStorePaymentText), "120");
    EXPECT_EQ(fieldText(2, kStorePaymentText), "90");
}

// Prints merge their rows into the sorted history, at its start, inside and
// at its end; a history found out of order or with a row twice is sorted
// whole by the first write.
TEST_F(OrderHistoryTest, EveryWriteLeavesTheRowsSortedOnceEach) {
    std::string decoded;
    ASSERT_EQ(decodeHistory(fixture("orders-basic.ovd"), decoded), 1);
    std::vector<std::string_view> shuffled = historyRows(decoded);
    std::reverse(shuffled.begin(), shuffled.end());
    shuffled.push_back(shuffled[2]);
    installHistory(buildHistoryFile(shuffled), 6);
    ASSERT_EQ(start(6), 1);

    std::set<std::string> expected(shuffled.begin(), shuffled.end());
    for (const char* counterparty :
         {"ABC", "熙", "株式会社山田製作所", "有限会社佐藤商店", "ABC", "00"}) {
        SCOPED_TRACE(counterparty);
        setOrderHeader(counterparty, "90");
        fillLine(0, "六角ボルト", "", "100", "本", "12.5", "本社工場");
        ASSERT_EQ(appendCurrentOrder(), 1);
        const std::vector<std::string> rows = writtenRows(folder.file("tmp"));
        EXPECT_TRUE(std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()) ==
                    rows.end());
        const std::set<std::string> written(rows.begin(), rows.end());
        EXPECT_TRUE(
            std::includes(written.begin(), written.end(), expected.begin(), expected.end()));
        EXPECT_LE(written.size(), expected.size() + 1);
        expected = written;
    }
    EXPECT_EQ(expected.size(), 10U);
}

// A rewrite copies the rows the working file already holds instead of
// encoding them again. Whatever path the data took (appends, a reload for
// data entry, the browser's edits, a file changed behind the program's
// back), the file must hold exactly the rows expected, each once, and be
// byte for byte the file a whole encoding gives.
TEST_F(OrderHistoryTest, RewritesCopyingKeptRowsEqualAWholeEncoding) {
    installHistory(fixture("orders-ibm-kanji.ovd"), 1);
    ASSERT_EQ(start(1), 1);
    std::set<std::string> expected;
    const auto checkFile = [&](const char* step) {
        SCOPED_TRACE(step);
        const std::string file = readFile(folder.file("tmp"));
        const std::vector<std::string> rows = writtenRows(folder.file("tmp"));
        ASSERT_EQ(std::set<std::string>(rows.begin(), rows.end()), expected);
        ASSERT_EQ(rows.size(), expected.size());
        const std::vector<std::string_view> views(rows.begin(), rows.end());
        EXPECT_EQ(file, buildHistoryFile(views));
    };
    const auto print = [&](const char* counterparty, const char* name, const char* step) {
        setOrderHeader(counterparty, "ﾘｰｽ");
        fillLine(0, name, "", "100", "本", "12.5", "本社工場");
        fillLine(1, name, "二", "3", "個", "8", "");
        ASSERT_EQ(appendCurrentOrder(), 1);
        for (int row = 0; row < orderStore().rowCount(); ++row) {
            expected.insert(std::string(orderStore().line(row)));
        }
        checkFile(step);
    };
    expected.insert(std::string(orderStore().line(0)));

    print("株式会社山田製作所", "六角ボルト", "first print: every row encoded");
    print("ABC", "ナット", "rows before the kept ones");
    print("熙", "座金", "rows after them");
    print("株式会社山田製作所", "六角ボルト", "the same rows again");
    ASSERT_EQ(loadStore(), 1);
    print("有限会社佐藤商店", "ワッシャー", "after a reload for data entry");

    // The browser changes a row; the next write sorts and encodes anew.
    const std::string before(orderStore().line(1));
    orderStore().setField(1, kStoreUnit, sj("箱"));
    expected.erase(before);
    expected.insert(std::string(orderStore().line(1)));
    ASSERT_EQ(writeStore(), 1);
    expected.clear();
    for (int row = 0; row < orderStore().rowCount(); ++row) {
        expected.insert(std::string(orderStore().line(row)));
    }
    checkFile("after the browser's edit");
    print("ABC", "スパナ", "after the browser's edit, a print");

    // Someone else put a row in front of the others: the rows the program
    // knows are no longer where it wrote them.
    const std::string& header = encodedHistoryHeader();
    const std::string extra = buildHistoryFile({"0\t0\tX\t\t       1\t\t    1.00\t\t\t0"});
    writeFile(folder.file("tmp"), extra + readFile(folder.file("tmp")).substr(header.size()));
    print("00", "ドライバー", "after the file changed behind the program's back");
}

TEST_F(OrderHistoryTest, HalfWidthKatakanaAreStoredRawAndReadBack) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("株式会社山田製作所", "ﾘｰｽ");
    fillLine(0, "複合機", "", "1", "台", "1200", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    const std::string file = readFile(folder.file("tmp"));
    EXPECT_NE(file.find("\x1B(B\t\xD8\xB0\xBD\t\x1B$B"), std::string::npos);
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(fieldText(0, kStorePaymentText), sj("ﾘｰｽ"));
}

TEST_F(OrderHistoryTest, AppendingNeedsALoadedStore) {
    ASSERT_EQ(start(0), 1);
    freeStore();
    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "六角ボルト", "", "100", "本", "12.5", "本社工場");
    EXPECT_EQ(appendCurrentOrder(), 0);
}

// --- a load reads the working file ---------------------------------------

TEST_F(OrderHistoryTest, LoadReadsRowsFieldsAndPickLists) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    ASSERT_EQ(orderStore().rowCount(), 5);
    EXPECT_EQ(rowText(0), sj("株式会社山田製作所\t120\t六角ナット\tM8\t      10\t箱\t  800.00\t"
                             "本社工場\t\t0"));
    EXPECT_EQ(fieldText(2, kStorePaymentText), sj("ﾘｰｽ"));
    EXPECT_EQ(fieldText(2, kStorePlaceLine2), sj("資材倉庫"));
    EXPECT_EQ(fieldText(3, kStoreQuantity), "    2.50");
    EXPECT_EQ(settings().initialData.counterpartyCount, 2);

    const auto& parties = orderStore().counterparties();
    ASSERT_EQ(parties.size(), 2u);
    EXPECT_EQ(parties[0].name, sj("株式会社山田製作所"));
    EXPECT_EQ(parties[0].formatIndex, 1);
    EXPECT_EQ(parties[1].name, sj("有限会社佐藤商店"));
    EXPECT_EQ(parties[1].formatIndex, 1);

    EXPECT_EQ(unitTexts(), sjList({"kg", "巻", "個", "式", "組", "台", "箱", "本", "枚", "ｹｰｽ"}));
}

TEST_F(OrderHistoryTest, CounterpartyEntryCarriesTheFormatOfItsLastRow) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("株式会社山田製作所", "90");
    fillLine(0, "A", "", "1", "本", "1", "本社工場");
    fillLine(1, "B", "", "1", "本", "1", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    currentOrder().lines[0].nameLine1[0] = '\0';
    currentOrder().lines[1].nameLine1[0] = '\0';
    fillLine(2, "C", "", "1", "本", "1", "本社工場");
    settings().initialData.formatIndex = 1;
    ASSERT_EQ(appendCurrentOrder(), 1);
    ASSERT_EQ(loadStore(), 1);
    ASSERT_EQ(orderStore().counterparties().size(), 1u);
    EXPECT_EQ(orderStore().counterparties()[0].formatIndex, 1);
    EXPECT_EQ(settings().initialData.counterpartyCount, 1);
}

TEST_F(OrderHistoryTest, RowWithFiveTabsPutsItsSixthFieldInTheFormatIndex) {
    installHistory(fixture("orders-five-tabs.ovd"), 1);
    ASSERT_EQ(start(1), 1);
    ASSERT_EQ(orderStore().rowCount(), 1);
    EXPECT_EQ(fieldText(0, kStoreQuantity), "      20");
    EXPECT_EQ(fieldText(0, kStoreUnit), "");
    EXPECT_EQ(fieldText(0, kStorePlaceLine2), "");
    EXPECT_EQ(fieldText(0, kStoreFormatIndex), "1");
}

TEST_F(OrderHistoryTest, LastLineWithoutCrLfIsNotLoaded) {
    installHistory(fixture("orders-no-final-crlf.ovd"), 4);
    ASSERT_EQ(start(4), 1);
    EXPECT_EQ(orderStore().rowCount(), 4);
    EXPECT_EQ(settings().initialData.rowCount, 4);
}

TEST_F(OrderHistoryTest, DamagedRunCostsOnlyItsOwnCharacters) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    std::vector<std::string> intact;
    for (int i = 0; i < 5; ++i) {
        intact.push_back(rowText(i));
    }
    freeStore();
    installHistory(fixture("orders-damaged-run.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    ASSERT_EQ(orderStore().rowCount(), 5);
    const std::string first = fieldText(0, kStoreCounterparty);
    EXPECT_EQ(first.substr(0, sj("株式会社山田").size()), sj("株式会社山田"));
    EXPECT_NE(first.find(sj("〓")), std::string::npos);
    EXPECT_EQ(fieldText(0, kStorePaymentText), "120");
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(rowText(i), intact[static_cast<std::size_t>(i)]);
    }
}

// What a load gives: rows in table order, the lists, the counts and the
// longest counterparties it makes (from their start values).
struct Loaded {
    std::vector<std::string> rows;
    bool inOrder = false;
    std::vector<std::pair<std::string, int>> counterparties;
    std::vector<std::string> units;
    int rowCount = 0;
    int counterpartyCount = 0;
    std::string longest[2];
};

Loaded load() {
    resetLongestCounterparties();
    Loaded loaded;
    if (loadStore() != 1) {
        return loaded;
    }
    const OrderStore& store = orderStore();
    for (int row = 0; row < store.rowCount(); ++row) {
        loaded.rows.emplace_back(store.line(row));
    }
    loaded.inOrder = store.inOrder();
    for (const CounterpartyEntry& entry : store.counterparties()) {
        loaded.counterparties.emplace_back(entry.name, entry.formatIndex);
    }
    loaded.units = store.units();
    loaded.rowCount = settings().initialData.rowCount;
    loaded.counterpartyCount = settings().initialData.counterpartyCount;
    loaded.longest[0] = longestCounterparty(0);
    loaded.longest[1] = longestCounterparty(1);
    return loaded;
}

// A load after this run's own reads and writes keeps the rows in memory
// instead of reading the working file again. Whatever happened since, it
// must give exactly what reading the file gives.
TEST_F(OrderHistoryTest, ALoadWithoutReadingGivesWhatReadingTheFileGives) {
    // Out of order, a row twice, and rows a load normalises (trailing
    // blanks, fewer fields).
    const std::vector<std::string> found = {
        sj("有限会社佐藤商店\t現金\tナット\t\t       5\t個\t   10.00\t本社工場\t\t1"),
        sj("株式会社山田製作所　\t90\tボルト \t\t      10\t本\t   12.50\t\t\t0"),
        sj("ABC\t30\tワッシャー\t\t       1\t箱"),
        sj("有限会社佐藤商店\t現金\tナット\t\t       5\t個\t   10.00\t本社工場\t\t1"),
    };
    installHistory(buildHistoryFile({found.begin(), found.end()}), 4);
    ASSERT_EQ(start(4), 1);
    const auto check = [](const char* step) {
        SCOPED_TRACE(step);
        const Loaded kept = load();
        freeStore();
        const Loaded read = load();
        EXPECT_FALSE(read.rows.empty());
        EXPECT_EQ(kept.rows, read.rows);
        EXPECT_EQ(kept.inOrder, read.inOrder);
        EXPECT_EQ(kept.counterparties, read.counterparties);
        EXPECT_EQ(kept.units, read.units);
        EXPECT_EQ(kept.rowCount, read.rowCount);
        EXPECT_EQ(kept.counterpartyCount, read.counterpartyCount);
        EXPECT_EQ(kept.longest[0], read.longest[0]);
        EXPECT_EQ(kept.longest[1], read.longest[1]);
    };
    check("after the start");

    setOrderHeader("株式会社山田製作所　金沢支店", "60");
    fillLine(0, "六角ボルト", "M8", "100", "本", "12.5", "本社工場");
    fillLine(1, "座金", "", "3", "ケース入り箱", "8", "");
    ASSERT_EQ(appendCurrentOrder(), 1);
    check("after a print");

    orderStore().emptyRow(0);
    check("after a deletion that a cancel drops");
    orderStore().setField(1, kStoreUnit, sj("箱"));
    check("after an edit that a cancel drops");

    orderStore().setField(2, kStoreNameLine2, std::string("A\0B", 3));
    ASSERT_EQ(writeStore(), 1);
    check("after a row with a NUL, which reads back as a space, was written");

    currentOrder().lines[1].nameLine1[0] = '\0';
    ASSERT_EQ(appendCurrentOrder(), 1);
    ASSERT_EQ(loadStore(), 1);
    writeFile(folder.file("tmp"), buildHistoryFile({found.begin(), found.end() - 1}));
    check("after the file changed behind the program's back");
}

// --- kanji without a JIS code --------------------------------------------

class IbmKanjiTest : public OrderHistoryTest {
protected:
    int findRow(const std::string& counterparty, const std::string& name) {
        for (int i = 0; i < orderStore().rowCount(); ++i) {
            if (fieldText(i, kStoreCounterparty) == counterparty &&
                fieldText(i, kStoreNameLine1) == name) {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(IbmKanjiTest, RowsWithThemReadBackWholeAndTheFileIsRewrittenUnchanged) {
    const std::string file = fixture("orders-ibm-kanji.ovd");
    installHistory(file, 602);
    ASSERT_EQ(start(602), 1);
    ASSERT_EQ(orderStore().rowCount(), 602);
    const int row = findRow(sj("株式会社髙橋製作所"), sj("山﨑式ポンプ"));
    ASSERT_GT(row, 100);
    ASSERT_LT(row, 500);
    EXPECT_EQ(fieldText(row, kStoreUnitPrice), "45000.00");
    for (int i = 0; i < orderStore().rowCount(); ++i) {
        ASSERT_EQ(fieldText(i, kStoreCounterparty).find(sj("〓")), std::string::npos) << i;
    }
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(readFile(folder.file("tmp")), file);
}

TEST_F(IbmKanjiTest, FilesOfTheEarlierWriterReadBackTheSameRows) {
    installHistory(fixture("orders-ibm-kanji.ovd"), 602);
    ASSERT_EQ(start(602), 1);
    std::vector<std::string> expected;
    for (int i = 0; i < orderStore().rowCount(); ++i) {
        expected.push_back(rowText(i));
    }
    freeStore();
    installHistory(fixture("orders-ibm-kanji-old.ovd"), 602);
    ASSERT_EQ(start(602), 1);
    ASSERT_EQ(orderStore().rowCount(), 602);
    for (int i = 0; i < 602; ++i) {
        ASSERT_EQ(rowText(i), expected[static_cast<std::size_t>(i)]) << i;
    }
}

TEST_F(IbmKanjiTest, PrintedOrderWithThemKeepsEveryRowAfterIt) {
    installHistory(fixture("orders-ibm-kanji.ovd"), 602);
    ASSERT_EQ(start(602), 1);
    const std::string lastRow = rowText(601);
    setOrderHeader("株式会社髙橋製作所", "60");
    fillLine(0, "山﨑様式バルブ", "髙耐圧", "3", "個", "2500", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    ASSERT_EQ(loadStore(), 1);
    ASSERT_EQ(orderStore().rowCount(), 603);
    const int row = findRow(sj("株式会社髙橋製作所"), sj("山﨑様式バルブ"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(fieldText(row, kStoreNameLine2), sj("髙耐圧"));
    EXPECT_EQ(rowText(602), lastRow);
}

// --- lists ---------------------------------------------------------------

TEST_F(OrderHistoryTest, LongestCounterpartyOnlyGrows) {
    const std::string start = sj("××　株式会社");
    EXPECT_EQ(std::string(longestCounterparty(0)), start);
    ASSERT_EQ(this->start(0), 1);
    setOrderHeader("北陸化成工業株式会社　金沢支店", "90");
    fillLine(0, "A", "", "1", "本", "1", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(std::string(longestCounterparty(0)), start);
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(std::string(longestCounterparty(0)), sj("北陸化成工業株式会社　金沢支店"));
    EXPECT_EQ(std::string(longestCounterparty(1)), start);

    orderStore().emptyRow(0);
    ASSERT_EQ(appendCurrentOrder(), 1);
    currentOrder().lines[0].nameLine1[0] = '\0';
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(std::string(longestCounterparty(0)), sj("北陸化成工業株式会社　金沢支店"));
}

TEST_F(OrderHistoryTest, UnitsFromRowsAreCutToNineBytesAndMerged) {
    ASSERT_EQ(start(0), 1);
    setOrderHeader("相手先", "90");
    fillLine(0, "A", "", "1", "ケース入り", "1", "本社工場");
    fillLine(1, "B", "", "1", "ケース入り箱", "1", "本社工場");
    fillLine(2, "C", "", "1", "本", "1", "本社工場");
    ASSERT_EQ(appendCurrentOrder(), 1);
    ASSERT_EQ(loadStore(), 1);
    std::vector<std::string> units = unitTexts();
    EXPECT_EQ(units.size(), 10u);
    EXPECT_NE(std::find(units.begin(), units.end(), sj("ケース入")), units.end());
    for (std::size_t i = 1; i < units.size(); ++i) {
        EXPECT_LT(units[i - 1], units[i]);
    }
}

// --- the browser's edits -------------------------------------------------

TEST_F(OrderHistoryTest, EditedFieldsRebuildTheLineAndEmptiedRowsAreDropped) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    OrderStore& store = orderStore();
    for (int i = 0; i < store.rowCount(); ++i) {
        if (store.field(i, kStoreCounterparty) == sj("有限会社佐藤商店")) {
            store.setField(i, kStorePaymentText, "30");
        }
    }
    StoreRow row = store.row(0);
    row[kStoreQuantity] = "      12  ";
    row[kStoreNameLine2] = "M8\tX";
    row.rebuildLine();
    EXPECT_EQ(row[kStoreLine], sj("株式会社山田製作所\t120\t六角ナット\tM8 X\t      12\t箱\t"
                                  "  800.00\t本社工場\t\t0"));
    store.setRow(0, row);
    EXPECT_EQ(rowText(0), row[kStoreLine]);
    store.emptyRow(1);
    EXPECT_TRUE(store.isEmptyRow(1));

    ASSERT_EQ(appendCurrentOrder(), 1);
    EXPECT_EQ(writtenRows(folder.file("tmp")).size(), 4U);
    ASSERT_EQ(loadStore(), 1);
    ASSERT_EQ(store.rowCount(), 4);
    EXPECT_EQ(fieldText(0, kStoreQuantity), "      12");
    EXPECT_EQ(fieldText(1, kStorePaymentText), sj("ﾘｰｽ"));
    EXPECT_EQ(fieldText(2, kStorePaymentText), "30");
    EXPECT_EQ(fieldText(3, kStorePaymentText), "30");
}

TEST_F(OrderHistoryTest, WritingTheBrowsersEditsLeavesTheCurrentOrderOut) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    setOrderHeader("ABC", "90");
    fillLine(0, "A", "", "1", "本", "1", "本社工場");
    orderStore().emptyRow(4);
    ASSERT_EQ(writeStore(), 1);
    ASSERT_EQ(loadStore(), 1);
    EXPECT_EQ(orderStore().rowCount(), 4);
    EXPECT_NE(fieldText(0, kStoreCounterparty), "ABC");
}

TEST_F(OrderHistoryTest, RowAccessOutsideTheTableIsHarmless) {
    installHistory(fixture("orders-basic.ovd"), 5);
    ASSERT_EQ(start(5), 1);
    EXPECT_EQ(orderStore().line(-1), "");
    EXPECT_EQ(orderStore().field(5, kStoreCounterparty), "");
    orderStore().setField(9, kStoreUnit, "x");
    orderStore().emptyRow(-3);
    orderStore().emptyRow(2);
    orderStore().setField(2, kStoreUnit, "x");
    EXPECT_TRUE(orderStore().isEmptyRow(2));
    EXPECT_EQ(orderStore().rowCount(), 5);
}

}  // namespace
}  // namespace belvorine
