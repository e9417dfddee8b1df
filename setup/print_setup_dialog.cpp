#include "setup/print_setup_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/margins.h"
#include "data/name_compare.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "print/page_notices.h"
#include "print/printer_list.h"
#include "setup/setup_controls.h"
#include "widgets/sjis_input.h"
#include "widgets/up_down_control.h"

namespace belvorine {
namespace {

using setup::control;
using setup::label;

// Bytes a record keeps of a paper name and a source name.
constexpr std::size_t kPaperNameBytes = 63;
constexpr std::size_t kSourceNameBytes = 23;

// A typed margin is read from at most this many characters.
constexpr int kTypedMarginLength = 9;
// "140.00", a third of an A3 height, fits; the original's five characters
// cut every margin of 100 mm or more.
constexpr int kMarginEditLength = 6;

std::string_view beforeParenthesis(std::string_view name) {
    const std::size_t cut = name.find(" (");
    return cut == std::string_view::npos ? name : name.substr(0, cut);
}

// The last entry whose name denotes `storedSjis`; -1 when none does, so
// that a list never shows a paper or source the record does not hold.
template <typename Entry>
int matchingEntry(const std::vector<Entry>& entries, std::string_view storedSjis) {
    for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i) {
        if (samePaperName(entries[static_cast<std::size_t>(i)].name, storedSjis)) {
            return i;
        }
    }
    return -1;
}

template <typename Entry>
void fillList(QComboBox* list, const std::vector<Entry>& entries, std::string_view storedSjis) {
    list->clear();
    for (const Entry& entry : entries) {
        list->addItem(entry.name);
    }
    list->setCurrentIndex(matchingEntry(entries, storedSjis));
}

template <typename Entry>
const Entry* entryAt(const std::vector<Entry>& entries, int index) {
    return index >= 0 && index < static_cast<int>(entries.size())
               ? &entries[static_cast<std::size_t>(index)]
               : nullptr;
}

}  // namespace

QString millimetreText(int hundredths) {
    const long long value = hundredths;
    const long long magnitude = value < 0 ? -value : value;
    const QString text = QStringLiteral("%1%2.%3")
                             .arg(value < 0 ? QStringLiteral("-") : QString())
                             .arg(magnitude / 100)
                             .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return text.rightJustified(5);
}

long long typedHundredths(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    auto digit = [&](qsizetype at) {
        return at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };
    long long value = 0;
    for (; digit(i); ++i) {
        value = std::min(value * 10 + (text[i].unicode() - '0'), 1'000'000'000'000LL);
    }
    value *= 100;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        if (digit(i)) {
            value += (text[i].unicode() - '0') * 10;
            if (digit(i + 1)) {
                value += text[i + 1].unicode() - '0';
            }
        }
    }
    return negative ? -value : value;
}

bool samePaperName(const QString& entry, std::string_view storedSjis) {
    const std::string entrySjis = toSjisLossy(entry);
    return sameNameIgnoringCase(beforeParenthesis(entrySjis), beforeParenthesis(storedSjis));
}

PrintSetupDialog::PrintSetupDialog(QWidget* owner, int format)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 10),
      format_(format),
      work_(printerSettings(format)),
      geometry_(printerGeometry(format)),
      chosenPaper_{work_.paperSize, fromSjisBuffer(work_.paperName)},
      chosenSource_{work_.paperSource, fromSjisBuffer(work_.paperSourceName), {}, {}} {
    setWindowTitle(QStringLiteral("印刷設定"));
    setHelpTopic(QStringLiteral("::/printset.html"));

    printers_ = control<QComboBox>(print_setup::kPrinters);
    for (const PrinterEntry& entry : printerList()) {
        printers_->addItem(entry.name);
    }
    printers_->setCurrentIndex(work_.printerIndex < printers_->count() ? work_.printerIndex : -1);
    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(label(QStringLiteral("プリンタの選択 ："), print_setup::kPrinterCaption));
    printerRow->addWidget(printers_, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildPaperBox(), 1);
    middle->addWidget(buildOrientationBox());

    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("notice"));
    notice_->setWordWrap(true);
    QPalette warning = notice_->palette();
    warning.setColor(QPalette::WindowText, QColor(160, 0, 0));
    notice_->setPalette(warning);
    notice_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(printerRow);
    layout->addLayout(middle);
    layout->addWidget(buildMarginBox());
    layout->addWidget(notice_);
    layout->addLayout(setup::okCancelHelp(this, print_setup::kOk));

    connect(printers_, &QComboBox::activated, this, &PrintSetupDialog::choosePrinter);
    connect(papers_, &QComboBox::activated, this, &PrintSetupDialog::choosePaper);
    connect(sources_, &QComboBox::activated, this, &PrintSetupDialog::chooseSource);
    connect(portrait_, &QRadioButton::clicked, this, [this] { chooseOrientation(1); });
    connect(landscape_, &QRadioButton::clicked, this, [this] { chooseOrientation(2); });

    fillPaperLists();
    (work_.orientation == 1 ? portrait_ : landscape_)->setChecked(true);
    // The limits stored in the record; the printer is not asked on opening.
    showMargins();
}

QWidget* PrintSetupDialog::buildPaperBox() {
    auto* box = control<QGroupBox>(print_setup::kPaperBox, QStringLiteral("　用紙　"));
    papers_ = control<QComboBox>(print_setup::kPapers);
    sources_ = control<QComboBox>(print_setup::kSources);
    auto* grid = new QGridLayout(box);
    grid->addWidget(label(QStringLiteral("サイズ ："), print_setup::kPaperCaption), 0, 0);
    grid->addWidget(papers_, 0, 1);
    grid->addWidget(label(QStringLiteral("給紙方法："), print_setup::kSourceCaption), 1, 0);
    grid->addWidget(sources_, 1, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* PrintSetupDialog::buildOrientationBox() {
    auto* box = control<QGroupBox>(print_setup::kOrientationBox, QStringLiteral(" 印刷の向き "));
    portrait_ = control<QRadioButton>(print_setup::kPortrait, QStringLiteral("縦"));
    landscape_ = control<QRadioButton>(print_setup::kLandscape, QStringLiteral("横"));
    auto* column = new QVBoxLayout(box);
    column->addWidget(portrait_);
    column->addWidget(landscape_);
    return box;
}

QWidget* PrintSetupDialog::buildMarginBox() {
    auto* box = control<QGroupBox>(print_setup::kMarginBox, QStringLiteral("　余白（ミリ）　"));
    auto* grid = new QGridLayout(box);
    const struct {
        const char* caption;
        Margin PageSettings::*margin;
    } sides[] = {
        {"左 ：", &PageSettings::marginLeft},
        {"右 ：", &PageSettings::marginRight},
        {"上 ：", &PageSettings::marginTop},
        {"下 ：", &PageSettings::marginBottom},
    };
    int id = print_setup::kFirstMargin;
    int row = 0;
    for (const auto& side : sides) {
        MarginRow margin{side.margin, nullptr, nullptr, nullptr, nullptr};
        margin.millimetres = control<QLineEdit>(id + print_setup::kMarginMillimetres);
        margin.millimetres->setAlignment(Qt::AlignCenter);
        margin.millimetres->setMaxLength(kMarginEditLength);
        margin.millimetres->setFixedWidth(
            margin.millimetres->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 12);
        useNumericInput(margin.millimetres, false);
        margin.millimetres->installEventFilter(this);
        margin.hundredths = control<QLineEdit>(id + print_setup::kMarginHundredths, box);
        margin.hundredths->setReadOnly(true);
        margin.hundredths->hide();
        margin.upDown = new UpDownControl(margin.hundredths, 0, 0, box);
        setControlId(margin.upDown, id + print_setup::kMarginUpDown);
        margin.range = label(QString(), id + print_setup::kMarginRange);
        grid->addWidget(label(QString::fromUtf8(side.caption), id + print_setup::kMarginCaption),
                        row, 0);
        grid->addWidget(margin.millimetres, row, 1);
        grid->addWidget(margin.upDown, row, 2);
        grid->addWidget(margin.range, row, 3);
        margins_.push_back(margin);
        id += print_setup::kMarginControls;
        ++row;
    }
    grid->setColumnStretch(3, 1);
    for (std::size_t i = 0; i < margins_.size(); ++i) {
        connect(margins_[i].hundredths, &QLineEdit::textChanged, this,
                [this, i] { takeHundredths(margins_[i]); });
    }
    return box;
}

const PrintSetupDialog::PrinterLists& PrintSetupDialog::listsOf(int printerIndex) {
    auto found = lists_.find(printerIndex);
    if (found == lists_.end()) {
        // A slow queue is asked on a thread, with the wait cursor shown.
        const PrinterEntry& entry = printerEntry(printerIndex);
        found =
            lists_.emplace(printerIndex, PrinterLists{paperList(entry), sourceList(entry)}).first;
    }
    return found->second;
}

void PrintSetupDialog::fillPaperLists() {
    const PrinterLists& lists = listsOf(work_.printerIndex);
    fillList(papers_, lists.papers, sjisView(work_.paperName));
    fillList(sources_, lists.sources, sjisView(work_.paperSourceName));
}

void PrintSetupDialog::showMargins() {
    for (MarginRow& row : margins_) {
        showMargin(row);
    }
}

void PrintSetupDialog::showMargin(MarginRow& row) {
    const Margin& margin = work_.*row.margin;
    row.upDown->setRange(margin.minimum, margin.maximum);
    row.hundredths->setText(QString::number(clampedMargin(margin)));
    // The text may not have changed while the value did.
    takeHundredths(row);
    row.range->setText(QStringLiteral("(%1 ～ %2)")
                           .arg(millimetreText(margin.minimum), millimetreText(margin.maximum)));
}

void PrintSetupDialog::takeHundredths(MarginRow& row) {
    bool isNumber = false;
    const int value = row.hundredths->text().toInt(&isNumber);
    if (!isNumber) {
        return;
    }
    (work_.*row.margin).value = value;
    row.millimetres->setText(millimetreText(value));
    showNotice();
}

void PrintSetupDialog::takeTypedMargin(MarginRow& row) {
    const Margin& margin = work_.*row.margin;
    const QString text = row.millimetres->text().left(kTypedMarginLength);
    const long long typed = text.trimmed().isEmpty() ? margin.minimum : typedHundredths(text);
    row.hundredths->setText(QString::number(clampToMargin(typed, margin)));
    takeHundredths(row);
}

bool PrintSetupDialog::eventFilter(QObject* watched, QEvent* event) {
    for (MarginRow& row : margins_) {
        if (watched != row.millimetres) {
            continue;
        }
        if (event->type() == QEvent::FocusOut) {
            takeTypedMargin(row);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                takeTypedMargin(row);
                row.upDown->step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return BelvorineDialog::eventFilter(watched, event);
}

void PrintSetupDialog::runPrinterCheck() {
    // A printer that cannot be asked leaves the limits as they were.
    checkPrinter(work_, geometry_);
    showMargins();
}

// A paper or source that the new printer does not offer would print on
// whatever the printer takes instead: its first one is taken, and the user
// is told. A printer that lists none keeps the record's.
void PrintSetupDialog::keepOfferedPaper() {
    const PrinterLists& lists = listsOf(work_.printerIndex);
    QStringList changed;
    auto take = [&](const auto& entries, const auto& chosen, auto& name, std::size_t bytes,
                    std::int16_t& code, const char* what) {
        if (entries.empty()) {
            return;
        }
        const std::string chosenName = toSjisLossy(chosen.name);
        const int offered = matchingEntry(entries, chosenName);
        const auto& taken = entries[static_cast<std::size_t>(std::max(offered, 0))];
        if (offered < 0) {
            changed.append(QStringLiteral("%1「%2」を「%3」に")
                               .arg(QString::fromUtf8(what), chosen.name, taken.name));
        }
        storeRecordText(name, offered < 0 ? taken.name : chosen.name, bytes);
        // A source's code is the printer's own (a tray without a standard
        // code is numbered by its place in that printer's list).
        code = static_cast<std::int16_t>(taken.code);
    };
    take(lists.papers, chosenPaper_, work_.paperName, kPaperNameBytes, work_.paperSize, "用紙");
    take(lists.sources, chosenSource_, work_.paperSourceName, kSourceNameBytes, work_.paperSource,
         "給紙方法");
    paperNotice_ = changed.isEmpty() ? QString()
                                     : QStringLiteral("このプリンタにないため、%1変えました。")
                                           .arg(changed.join(QStringLiteral("、")));
}

void PrintSetupDialog::showNotice() {
    if (!notice_) {
        return;  // still being built
    }
    const FormLayout& frames = liveLayout(format_);
    QStringList lines;
    const PrinterChoice& stored = printerChoice(format_);
    if (stored.kept && !printerChosen_) {
        lines.append(
            QStringLiteral("前回のプリンタ%1が見つからないため、今回は「%2」に印刷します。")
                .arg(stored.name.isEmpty() ? QString() : QStringLiteral("「%1」").arg(stored.name),
                     printerEntry(work_.printerIndex).name));
    }
    for (const QString& line : {paperNotice_, halfSheetNotice(frames, work_, geometry_),
                                framesMovedNotice(frames, work_, geometry_)}) {
        if (!line.isEmpty()) {
            lines.append(line);
        }
    }
    notice_->setText(lines.join(QLatin1Char('\n')));
    notice_->setVisible(!lines.isEmpty());
    // The dialog grows (or shrinks back) to show every line.
    if (isVisible()) {
        layout()->activate();
        adjustSize();
    }
}

void PrintSetupDialog::choosePrinter(int index) {
    if (index < 0) {
        return;
    }
    work_.printerIndex = index;
    printerChosen_ = true;
    keepOfferedPaper();
    runPrinterCheck();
    fillPaperLists();
}

void PrintSetupDialog::choosePaper(int index) {
    if (const PaperEntry* paper = entryAt(listsOf(work_.printerIndex).papers, index)) {
        paperNotice_.clear();
        chosenPaper_ = *paper;
        storeRecordText(work_.paperName, paper->name, kPaperNameBytes);
        work_.paperSize = static_cast<std::int16_t>(paper->code);
        runPrinterCheck();
    }
}

void PrintSetupDialog::chooseSource(int index) {
    if (const SourceEntry* source = entryAt(listsOf(work_.printerIndex).sources, index)) {
        paperNotice_.clear();
        chosenSource_ = *source;
        storeRecordText(work_.paperSourceName, source->name, kSourceNameBytes);
        work_.paperSource = static_cast<std::int16_t>(source->code);
        runPrinterCheck();
    }
}

void PrintSetupDialog::chooseOrientation(int orientation) {
    work_.orientation = orientation;
    runPrinterCheck();
}

void PrintSetupDialog::accept() {
    // Enter on the default button leaves the margin being typed in its edit.
    for (MarginRow& row : margins_) {
        takeTypedMargin(row);
    }
    PageSettings& live = printerSettings(format_);
    live = work_;
    if (printerChosen_) {
        // A printer kept for a missing one is given up only for a choice.
        notePrinterChosen(format_, work_.printerIndex);
    }
    refreshPrinterMetrics(live, format_);
    for (int format = 0; format < kFormatCount; ++format) {
        prepareLayout(format, liveLayout(format));
    }
    BelvorineDialog::accept();
}

int runPrintSetupDialog(QWidget* owner) {
    PrintSetupDialog dialog(owner, currentFormat());
    return dialog.exec() == QDialog::Accepted ? 1 : 2;
}

}  // namespace belvorine
