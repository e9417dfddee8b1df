#include "data/factory_values.h"

#include <QString>

#include "data/settings_fonts.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

struct FactoryItem {
    const char* text;  // UTF-8
    Rect mmRect;
    std::int32_t sizeRule;
    std::int32_t pointSize;
    std::int32_t weight;
    std::uint8_t underline;
    std::int32_t alignment;
};

// Item 17 to 19 begin with six full-width spaces.
#define INDENT "　　　　　　"

// clang-format off
constexpr FactoryItem kFactoryItems[kLayoutItemCount] = {
    {"",                                      {0, 0, 0, 0},              0, 1, 400, 1, 1},
    {"注　文　書",                            {7000, 1000, 14000, 2000}, 0, 27, 900, 1, 1},
    {"注　文　書　控",                        {7000, 1000, 14000, 2000}, 0, 27, 900, 1, 1},
    {"注　文　請　書",                        {7000, 1000, 14000, 2000}, 0, 27, 900, 1, 1},
    {" 8888年 88月 88日",                     {15600, 2200, 19600, 2600}, 0, 10, 700, 1, 1},
    {"×△◇株式会社",                         {14700, 2800, 20000, 3400}, 0, 17, 700, 0, 1},
    {"△△部　◇◇課",                         {15200, 3500, 19400, 3900}, 0, 11, 700, 0, 1},
    {"〒000-0000",                            {14800, 4000, 16700, 4300}, 0, 8, 700, 0, 1},
    {"××県△△市◇◇町０－００",             {14900, 4400, 19900, 4700}, 0, 8, 700, 0, 1},
    {"TEL (000)000-0000",                     {15800, 4800, 19000, 5100}, 0, 8, 700, 0, 1},
    {"FAX (000)000-0000",                     {15800, 5100, 19000, 5400}, 0, 8, 700, 0, 1},
    {" %s　御中",                             {500, 2400, 7500, 3200},   1, 14, 700, 1, 0},
    {"下 記 の 通 り 注 文 致 し ま す。",    {900, 3300, 7200, 3600},   0, 8, 400, 0, 0},
    {"下 記 の 通 り 注 文 御 請 け 致 し ま す。", {900, 3300, 7800, 3600}, 0, 8, 400, 0, 0},
    {"○支払条件：当月末締翌月末起算 %s 日手形", {600, 3800, 11100, 4100}, 0, 8, 400, 0, 0},
    {"○支払条件：リース扱い",                 {600, 3800, 11100, 4100},  0, 8, 400, 0, 0},
    {"○支払条件：現金",                       {600, 3800, 11100, 4100},  0, 8, 400, 0, 0},
    {INDENT "但し、支払総額10万円未満は現金",  {600, 4200, 11100, 4500},  0, 8, 400, 0, 0},
    {INDENT "但し、当社指定リース会社より支払", {600, 4200, 11100, 4500}, 0, 8, 400, 0, 0},
    {INDENT "但し、貴社指定の銀行へ振り込み",  {600, 4200, 11100, 4500},  0, 8, 400, 0, 0},
    {"○検収方法：×△◇（株）検査規格に依る。", {600, 4600, 11100, 4900}, 0, 8, 400, 0, 0},
    {"　本注文書の単価・金額は消費税抜き価格です。", {600, 5000, 11100, 5300}, 0, 8, 400, 0, 0},
    {"　支払期日には、消費税額分を加算してお支払い致します。", {600, 5400, 11100, 5700}, 0, 8, 400, 0, 0},
    {"　本体金額及び消費税の端数は四捨五入して、円単位とさせて頂きます。", {600, 5800, 11100, 6100}, 0, 8, 400, 0, 0},
    {"　（伝票１枚につき消費税額表示）",       {600, 6200, 11100, 6500},  0, 8, 400, 0, 0},
    {"",                                      {15600, 5400, 19200, 6900}, 0, 0, 400, 0, 0},
    {"",                                      {500, 7000, 20400, 13000}, 0, 0, 400, 0, 0},
    {"     年   月   日",                     {15000, 3000, 18600, 3400}, 0, 9, 700, 1, 1},
    {"",                                      {19000, 1000, 20400, 2600}, 0, 0, 400, 0, 0},
    {"",                                      {11000, 6500, 19000, 6800}, 0, 0, 400, 0, 0},
};
// clang-format on

#undef INDENT

void copyProgramText(char* dest, std::size_t size, const char* utf8) {
    copySjis(dest, size, toSjisLossy(QString::fromUtf8(utf8)));
}

template <std::size_t N>
void copyProgramText(char (&dest)[N], const char* utf8) {
    copyProgramText(dest, N, utf8);
}

FormLayout buildFactoryLayout() {
    FormLayout layout;
    for (int i = 0; i < kLayoutItemCount; ++i) {
        const FactoryItem& source = kFactoryItems[i];
        LayoutItem& item = layout[i];
        item = LayoutItem();
        item.itemId = i;
        copyProgramText(item.text, source.text);
        item.mmRect = source.mmRect;
        item.sizeRule = source.sizeRule;
        item.pointSize = source.pointSize;
        item.weight = source.weight;
        item.underline = source.underline;
        item.alignment = source.alignment;
    }
    return layout;
}

}  // namespace

const FormLayout& factoryLayout() {
    static const FormLayout layout = buildFactoryLayout();
    return layout;
}

InitialData factoryInitialData() {
    InitialData data;
    data.showState = kShowRestored;
    data.windowX = kDefaultWindowPosition;
    data.windowY = kDefaultWindowPosition;
    data.windowWidth = 800;
    data.windowHeight = 700;
    data.zoomPercent = 100;
    data.formatIndex = 0;
    copyProgramText(data.reservedText, "×　株式会社");
    return data;
}

ListDialogSettings factoryListDialogSettings() {
    return ListDialogSettings{kShowRestored, 870, 400, {500, 40, 90, 90, 150, 30}};
}

PageSettings makeFactoryPageSettings(int format) {
    PageSettings page;
    copyProgramText(page.formatName, format == 1 ? "書式２" : "書式１");
    page.printerIndex = 0;
    page.reserved260 = 1;
    page.paperSize = 9;
    copyProgramText(page.paperName, "A4");
    page.paperSource = 7;
    copyProgramText(page.paperSourceName, "自動");
    page.orientation = 1;
    for (Margin* margin :
         {&page.marginLeft, &page.marginRight, &page.marginTop, &page.marginBottom}) {
        *margin = Margin{0, 500, 5000};
    }
    page.orderAndCopyOnOneSheet = format == 1 ? 1 : 0;
    makeFontFromFace(page.font, toSjisLossy(QStringLiteral("ＭＳ 明朝")));
    return page;
}

}  // namespace belvorine
