#include "form/page_renderer.h"

#include <cstring>
#include <string>
#include <string_view>

#include "data/layout_model.h"
#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/amount_format.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

// Layout items by role.
constexpr int kItemDate = 4;
constexpr int kItemCompanyFirst = 5;
constexpr int kItemCompanyLast = 10;
constexpr int kItemAddressee = 11;
constexpr int kItemOrderOpening = 12;
constexpr int kItemAcknowledgementOpening = 13;
constexpr int kItemPaymentNote = 14;
constexpr int kItemPaymentLease = 15;
constexpr int kItemPaymentCash = 16;
constexpr int kItemProvisoNote = 17;
constexpr int kItemProvisoLease = 18;
constexpr int kItemProvisoCash = 19;
constexpr int kItemInspection = 20;
constexpr int kItemTaxNoteLast = 24;
constexpr int kItemStampBox = 25;
constexpr int kItemTable = 26;
constexpr int kItemAcknowledgementDate = 27;
constexpr int kItemRevenueStamp = 28;
constexpr int kItemRuleLine = 29;

// Table cells are frames the renderer makes for itself.
constexpr int kCellItemId = 50;
constexpr int kTableColumns = 111;

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

// Column edges of one cell kind, in table column positions.
struct Column {
    int first;
    int last;
    TextAlign align;
};
constexpr Column kNameColumn{1, 41, TextAlign::Left};
constexpr Column kQuantityColumn{43, 55, TextAlign::Right};
constexpr Column kUnitPriceColumn{57, 69, TextAlign::Right};
constexpr Column kAmountColumn{71, 86, TextAlign::Right};
constexpr Column kDateColumn{88, 96, TextAlign::Centre};
constexpr Column kPlaceColumn{98, 110, TextAlign::Centre};
constexpr int kRuleColumns[] = {42, 56, 70, 87, 97};

// The geometry of the item table, in screen pixels from the margin box.
struct Table {
    int left = 0;
    int top = 0;
    int right = 0;
    int width = 0;
    int off = 0;  // room for the total box above the heading
    int heightPercent = 100;
    int cellPointSize = 9;

    int columnX(int column) const {
        return clampToInt(left + static_cast<long long>(width) * column / kTableColumns);
    }
    int y(int units) const {
        return clampToInt(top + static_cast<long long>(units) * heightPercent / 100);
    }
    int headingTop() const { return y(off); }
    int headingBottom() const { return y(off + 18); }
    int firstLineTop(int line) const { return y(off - 22 + 44 * line); }
    int secondLineTop(int line) const { return y(off - 3 + 44 * line); }
    int ruleBelow(int line) const { return y(off + 18 + 44 * line); }
    int totalRowTop() const { return y(off + 238); }
    int totalRowBottom() const { return y(off + 272); }
};

Table measureTable(const LayoutItem& tableItem, int showTotal) {
    Table table;
    const Rect& r = tableItem.screenRect;
    table.left = r.left;
    table.top = r.top;
    table.right = r.right;
    table.width = clampToInt(static_cast<long long>(r.right) - r.left);
    table.off = showTotal == 1 ? 30 : 0;
    const int fullHeight = showTotal == 1 ? 302 : 238;
    const int widthPercent =
        clampToInt((static_cast<long long>(table.width) * 1000 / 750 + 5) / 10);
    table.heightPercent =
        clampToInt(((static_cast<long long>(r.bottom) - r.top) * 1000 / fullHeight + 5) / 10);
    int size = 9;
    if (widthPercent <= 100) {
        size = widthPercent * 9 / 100;
    }
    if (table.heightPercent <= 100) {
        size = table.heightPercent * size / 100;
    }
    table.cellPointSize = size;
    return table;
}

// The drawing state of one page.
class PageDrawer {
public:
    PageDrawer(DeviceContext& dc, const PageGeometry& geometry, const PageSettings& settings,
               int scale)
        : dc_(dc),
          settings_(settings),
          scale_(scale),
          ox_((geometry.marginBoxLeft + 50) / 100),
          oy_((geometry.marginBoxTop + 50) / 100) {}

    int ox() const { return ox_; }
    int oy() const { return oy_; }

    void frame(const LayoutItem& item, int fitSize = -1) {
        drawFrame(dc_, item, settings_, scale_, -ox_, -oy_, fitSize);
    }

    // A frame the renderer builds: fixed size rule, no underline.
    void textFrame(const Rect& rect, std::string_view text, int pointSize, int weight,
                   TextAlign align) {
        LayoutItem item;
        item.itemId = kCellItemId;
        copySjis(item.text, text);
        item.screenRect = rect;
        item.sizeRule = kSizeFixed;
        item.pointSize = pointSize;
        item.weight = weight;
        item.underline = 0;
        item.alignment = static_cast<std::int32_t>(align);
        frame(item);
    }

    void cell(const Table& table, const Column& column, int top, int bottom, std::string_view text,
              int weight, TextAlign align) {
        textFrame(Rect{table.columnX(column.first), top, table.columnX(column.last), bottom}, text,
                  table.cellPointSize, weight, align);
    }

    void thinPen() { dc_.setSolidPen(scale_ / 100); }
    void thickPen() { dc_.setSolidPen(2 * scale_ / 100); }
    void dottedPen() { dc_.setDottedPen(); }

    void moveTo(int x, int y) { dc_.moveTo(deviceX(x), deviceY(y)); }
    void lineTo(int x, int y) { dc_.lineTo(deviceX(x), deviceY(y)); }
    void line(int x1, int y1, int x2, int y2) {
        moveTo(x1, y1);
        lineTo(x2, y2);
    }

private:
    int deviceX(int x) const { return clampToInt(static_cast<long long>(x) * scale_ / 100 + ox_); }
    int deviceY(int y) const { return clampToInt(static_cast<long long>(y) * scale_ / 100 + oy_); }

    DeviceContext& dc_;
    const PageSettings& settings_;
    int scale_;
    int ox_;
    int oy_;
};

// The one size a fit-to-width group prints at, taken from the layout's own
// texts (before a template is filled), or -1 for a frame fitted alone.
int groupSize(const FormLayout& layout, int item) {
    const ItemGroup group = groupOf(item);
    if (group.first == group.last || layout[group.first].sizeRule != kSizeFitWidth) {
        return -1;
    }
    return groupFitPointSize(layout, item);
}

// Right-aligns `value` in `width` characters with `pad`; a longer value
// stays whole.
std::string padLeft(std::string_view value, std::size_t width, char pad) {
    std::string out;
    if (value.size() < width) {
        out.assign(width - value.size(), pad);
    }
    out.append(value);
    return out;
}

// Lines through `corners` in turn, with the pen selected.
void polyline(PageDrawer& page, std::initializer_list<std::pair<int, int>> corners) {
    bool first = true;
    for (const auto& [x, y] : corners) {
        first ? page.moveTo(x, y) : page.lineTo(x, y);
        first = false;
    }
}

void drawStampBox(PageDrawer& page, const Rect& box) {
    page.thinPen();
    polyline(page, {{box.left, box.top},
                    {box.right, box.top},
                    {box.right, box.bottom},
                    {box.left, box.bottom},
                    {box.left, box.top}});
    const int width = box.right - box.left;
    page.line(box.left + width / 3, box.top, box.left + width / 3, box.bottom);
    page.line(box.left + 2 * width / 3, box.top, box.left + 2 * width / 3, box.bottom);
}

void drawRevenueStamp(PageDrawer& page, const Rect& box) {
    const int s = (box.bottom - box.top) / 7;
    const int xm = (box.left + box.right) / 2;
    const int upperTop = (2 * box.top + box.bottom - 24) / 3;
    page.textFrame(Rect{xm - 10, upperTop, xm + 10, upperTop + s + 2}, sjis("印"), s, 400,
                   TextAlign::Centre);
    const int lowerTop = (box.top + 2 * box.bottom - 12) / 3;
    page.textFrame(Rect{xm - 10, lowerTop, xm + 10, lowerTop + s + 2}, sjis("紙"), s, 400,
                   TextAlign::Centre);
    page.dottedPen();
    polyline(page, {{box.left, box.top},
                    {box.left, box.bottom},
                    {box.right, box.bottom},
                    {box.right, box.top},
                    {box.left, box.top}});
}

// The order's date, company profile, openings, payment terms, notes and
// addressee of the order and the order copy.
void drawOrderHeader(PageDrawer& page, FormLayout& layout, const OrderRecord& order,
                     const char* addressee) {
    formatOrderDate(layout[kItemDate].text, order.year, order.month, order.day);
    page.frame(layout[kItemDate]);
    for (int item = kItemCompanyFirst; item <= kItemCompanyLast; ++item) {
        page.frame(layout[item]);
    }
    page.frame(layout[kItemOrderOpening]);

    const int provisoSize = groupSize(layout, kItemProvisoNote);
    const int paymentSize = groupSize(layout, kItemPaymentNote);
    char sentence[256];
    if (order.paymentKind == kPaymentNote) {
        page.frame(layout[kItemProvisoNote], provisoSize);
        fillTemplate(sentence, layout[kItemPaymentNote].text, order.paymentText);
    } else if (order.paymentKind == kPaymentLease) {
        page.frame(layout[kItemProvisoLease], provisoSize);
        copySjis(sentence, sjisView(layout[kItemPaymentLease].text));
    } else {
        page.frame(layout[kItemProvisoCash], provisoSize);
        copySjis(sentence, sjisView(layout[kItemPaymentCash].text));
    }
    // Every payment sentence is drawn in the note's frame with its rule.
    copySjis(layout[kItemPaymentNote].text, sentence);
    page.frame(layout[kItemPaymentNote], paymentSize);

    for (int item = kItemInspection; item <= kItemTaxNoteLast; ++item) {
        page.frame(layout[item]);
    }
    copySjis(layout[kItemAddressee].text, addressee);
    page.frame(layout[kItemAddressee]);
    drawStampBox(page, layout[kItemStampBox].screenRect);
}

void drawHeading(PageDrawer& page, const Table& table) {
    const int top = table.headingTop();
    const int bottom = table.headingBottom();
    const std::pair<const Column*, const char*> headings[] = {
        {&kNameColumn, "品　　　　名"},  {&kQuantityColumn, "数　　量"},
        {&kUnitPriceColumn, "単　　価"}, {&kAmountColumn, "金　　額"},
        {&kDateColumn, "納品期日"},      {&kPlaceColumn, "納品場所"},
    };
    for (const auto& [column, text] : headings) {
        page.cell(table, *column, top, bottom, sjis(text), 400, TextAlign::Centre);
    }
}

// Draws the five lines; returns the last line that counts for the table's
// bottom.
int drawLines(PageDrawer& page, const Table& table, const OrderRecord& order, int showTotal) {
    int last = 0;
    for (int r = 1; r <= kOrderLineCount; ++r) {
        const OrderLine& line = order.lines[r - 1];
        if (line.nameLine1[0] == '\0') {
            if (showTotal == 1) {
                page.thinPen();
                page.line(table.left, table.ruleBelow(r), table.right, table.ruleBelow(r));
                last = r;
            }
            continue;
        }
        const int top1 = table.firstLineTop(r);
        const int top2 = table.secondLineTop(r);
        auto cell = [&](const Column& column, int top, std::string_view text) {
            page.cell(table, column, top, top + 18, text, 500, column.align);
        };
        cell(kNameColumn, top1, sjisView(line.nameLine1));
        cell(kNameColumn, top2, sjisView(line.nameLine2));
        cell(kQuantityColumn, top1, quantityCellText(line));
        cell(kUnitPriceColumn, top1, unitPriceCellText(line));
        cell(kAmountColumn, top1, amountCellText(line));
        cell(kDateColumn, top1, sjisView(line.deliveryDateLine1));
        cell(kDateColumn, top2, sjisView(line.deliveryDateLine2));
        cell(kPlaceColumn, top1, sjisView(line.deliveryPlaceLine1));
        cell(kPlaceColumn, top2, sjisView(line.deliveryPlaceLine2));
        page.thinPen();
        page.line(table.left, table.ruleBelow(r), table.right, table.ruleBelow(r));
        last = r;
    }
    return last;
}

// The total box above the heading and the total row; returns the table's
// new bottom.
int drawTotals(PageDrawer& page, const Table& table, long long total, int linesBottom) {
    const int size = table.heightPercent * 16 / 100;
    const int boxLeft = table.left + 20 * table.width / kTableColumns;
    page.textFrame(Rect{boxLeft, table.top, boxLeft + 500, table.headingTop()}, totalBoxText(total),
                   size, 700, TextAlign::Left);
    page.thickPen();
    page.line(table.left, table.top, table.right, table.top);

    const int rowTop = table.totalRowTop();
    const int rowBottom = table.totalRowBottom();
    page.textFrame(
        Rect{table.columnX(kNameColumn.first), rowTop, table.columnX(kNameColumn.last), rowBottom},
        sjis("合       計"), size, 700, TextAlign::Centre);
    page.textFrame(Rect{table.columnX(kAmountColumn.first), rowTop,
                        table.columnX(kAmountColumn.last), rowBottom},
                   totalRowText(total), table.heightPercent * 10 / 100, 700, TextAlign::Right);
    page.thickPen();
    page.line(table.left, linesBottom, table.right, linesBottom);
    return rowBottom;
}

void drawTableRules(PageDrawer& page, const Table& table, int bottom) {
    page.thickPen();
    page.line(table.left, table.headingTop(), table.right, table.headingTop());
    page.line(table.left, table.headingBottom(), table.right, table.headingBottom());
    page.line(table.left, bottom, table.right, bottom);
    for (int column : kRuleColumns) {
        const int x = table.columnX(column);
        page.line(x, table.headingTop(), x, bottom);
    }
}

}  // namespace

void fillTemplate(char (&out)[256], const char* templateText, const char* value) {
    const std::string_view text = sjisView(templateText, 256);
    std::string filled;
    const std::size_t at = text.find("%s");
    if (at == std::string_view::npos) {
        filled.assign(text);
    } else {
        filled.assign(text.substr(0, at));
        filled.append(sjisView(value, 256));
        filled.append(text.substr(at + 2));
    }
    copySjis(out, filled);
}

void formatOrderDate(char (&out)[256], const char* year, const char* month, const char* day) {
    std::string date = " " + padLeft(sjisView(year, 6), 4, ' ') + sjis("年") + " " +
                       padLeft(sjisView(month, 4), 2, '0') + sjis("月") + " " +
                       padLeft(sjisView(day, 4), 2, '0') + sjis("日");
    copySjis(out, date);
}

void drawFormPage(DeviceContext& dc, const PageGeometry& geometry, const PageSettings& settings,
                  int scale, int kind, FormViewPass* formView, const char* addresseeText) {
    const int format = currentFormat();
    FormLayout layout = liveLayout(format);
    const OrderRecord& order = currentOrder();
    PageDrawer page(dc, geometry, settings, scale);
    const Table table = measureTable(layout[kItemTable], settings.showTotal);

    if (formView) {
        LogFont systemFont;
        systemFont.height = -12;
        systemFont.weight = 700;
        systemFont.charSet = kShiftJisCharSet;
        copySjis(systemFont.faceName, sjis("ＭＳ Ｐゴシック"));
        dc.selectFont(systemFont);
        const std::string_view name = sjisView(settings.formatName);
        const QSize extent = dc.textExtent(name);
        dc.setTextColor(QColor(255, 0, 0));
        formView->formatNameRect =
            QRect(page.ox() + 1, page.oy() + 1, extent.width(), extent.height());
        dc.drawText(formView->formatNameRect, name, TextAlign::Left);
        dc.setTextColor(Qt::black);
    }

    char addressee[256];
    if (addresseeText) {
        copySjis(addressee, sjisView(addresseeText, 256));
    } else {
        fillTemplate(addressee, layout[kItemAddressee].text, order.counterparty);
    }

    if (kind >= kDocumentOrder && kind <= kDocumentAcknowledgement) {
        page.frame(layout[kind], groupSize(layout, kind));
    }
    if (kind == kDocumentOrder || kind == kDocumentOrderCopy) {
        drawOrderHeader(page, layout, order, addressee);
    } else if (kind == kDocumentAcknowledgement) {
        page.frame(layout[kItemAcknowledgementDate]);
        // The acknowledgement is addressed to the issuer of the order.
        const std::string acknowledgementTemplate = sjis(" %s　御中");
        char issuerTemplate[256];
        copySjis(issuerTemplate, acknowledgementTemplate);
        fillTemplate(addressee, issuerTemplate, layout[kItemCompanyFirst].text);
        page.frame(layout[kItemAcknowledgementOpening]);
        copySjis(layout[kItemAddressee].text, addressee);
        page.frame(layout[kItemAddressee]);
    }

    drawHeading(page, table);
    const int last = drawLines(page, table, order, settings.showTotal);
    const int linesBottom = table.ruleBelow(last);
    int tableBottom = linesBottom;
    if (settings.showTotal == 1) {
        tableBottom = drawTotals(page, table, orderTotal(order), linesBottom);
    }
    drawTableRules(page, table, tableBottom);

    if (kind == kDocumentOrderCopy && order.approvalNo[0] != '\0') {
        const std::string text = sjis("決裁No. ") + std::string(sjisView(order.approvalNo));
        page.textFrame(Rect{20, tableBottom + 30, 220, tableBottom + 42}, text, 10, 400,
                       TextAlign::Left);
    }
    if (kind == kDocumentAcknowledgement) {
        const Rect& rule = layout[kItemRuleLine].screenRect;
        page.thickPen();
        const int y = (rule.top + rule.bottom) / 2;
        page.line(rule.left, y, rule.right, y);
        drawRevenueStamp(page, layout[kItemRevenueStamp].screenRect);
    }

    if (formView && formView->horizontalUnit != 0 && formView->verticalUnit != 0) {
        const PageSettings& print = printerSettings(format);
        const int margins =
            toPixels(print.marginLeft.value + print.marginRight.value, geometry.resolutionX);
        formView->horizontalExtent = (geometry.paperWidth - margins) / formView->horizontalUnit + 1;
        formView->verticalExtent = tableBottom / formView->verticalUnit + 1;
    }
}

}  // namespace belvorine
