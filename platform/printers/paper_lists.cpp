#include "platform/printers/paper_lists.h"

#include <unistd.h>

#include <memory>

#include <QPageSize>
#include <QPrinterInfo>
#include <QSet>

#include "platform/printers/cups_library.h"
#include "platform/printers/printer_query.h"

namespace belvorine {
namespace {

// Sizes the built-in PDF printer offers.
constexpr QPageSize::PageSizeId kPdfSizes[] = {
    QPageSize::A3,    QPageSize::A4,     QPageSize::A5,   QPageSize::JisB4,
    QPageSize::JisB5, QPageSize::Letter, QPageSize::Legal};

// Classic bin codes of the input slot and media source keywords.
int classicSourceCode(const QByteArray& keyword) {
    static const std::pair<const char*, int> kCodes[] = {
        {"auto", 7},         {"autoselect", 7},     {"default", 7},         {"upper", 1},
        {"top", 1},          {"main", 1},           {"onlyone", 1},         {"lower", 2},
        {"bottom", 2},       {"middle", 3},         {"manual", 4},          {"manualfeed", 4},
        {"envelope", 5},     {"envmanual", 6},      {"tractor", 8},         {"smallformat", 9},
        {"largeformat", 10}, {"largecapacity", 11}, {"large-capacity", 11}, {"cassette", 14},
        {"formsource", 15},
    };
    const QByteArray lower = keyword.toLower();
    for (const auto& [name, code] : kCodes) {
        if (lower == name) {
            return code;
        }
    }
    return 0;
}

// The InputSlot choices of the queue's printer description.
std::vector<std::pair<QByteArray, QString>> ppdInputSlots(const CupsCalls& cups,
                                                          const QByteArray& queue) {
    std::vector<std::pair<QByteArray, QString>> choices;
    const char* file = cups.getPPD(queue.constData());
    if (!file) {
        return choices;
    }
    const QByteArray path(file);
    ppd_file_t* ppd = cups.ppdOpen(path.constData());
    unlink(path.constData());
    if (!ppd) {
        return choices;
    }
    if (ppd_option_t* option = cups.ppdFind(ppd, "InputSlot")) {
        for (int i = 0; i < option->num_choices; ++i) {
            const ppd_choice_t& choice = option->choices[i];
            choices.emplace_back(QByteArray(choice.choice), QString::fromUtf8(choice.text));
        }
    }
    cups.ppdFree(ppd);
    return choices;
}

// The media sources a queue without a printer description reports.
std::vector<std::pair<QByteArray, QString>> ippMediaSources(const CupsCalls& cups,
                                                            const QByteArray& queue) {
    std::vector<std::pair<QByteArray, QString>> choices;
    cups_dest_t* dest = cups.getNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest) {
        return choices;
    }
    if (cups_dinfo_t* info = cups.copyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t* attribute =
                cups.findDestSupported(CUPS_HTTP_DEFAULT, dest, info, "media-source")) {
            for (int i = 0; i < cups.count(attribute); ++i) {
                const char* value = cups.string(attribute, i, nullptr);
                if (!value) {
                    continue;
                }
                const char* name =
                    cups.localizeDestValue(CUPS_HTTP_DEFAULT, dest, info, "media-source", value);
                choices.emplace_back(QByteArray(value), QString::fromUtf8(name ? name : value));
            }
        }
        cups.freeDestInfo(info);
    }
    cups.freeDests(1, dest);
    return choices;
}

// Asks a queue through `ask`; nothing when it does not answer in time.
template <typename Entries>
Entries askQueue(Entries (*ask)(const PrinterEntry&), const PrinterEntry& printer) {
    return askPrintingSystem([ask, printer]() { return ask(printer); }, kPrinterQueryTimeoutMs)
        .value_or(Entries());
}

}  // namespace

std::vector<SourceEntry> sourceEntries(const QByteArray& option,
                                       const std::vector<std::pair<QByteArray, QString>>& choices) {
    std::vector<SourceEntry> entries;
    QSet<int> used;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const auto& [keyword, name] = choices[i];
        int code = classicSourceCode(keyword);
        if (code == 0 || used.contains(code)) {
            code = kFirstUserCode + static_cast<int>(i);
        }
        used.insert(code);
        entries.push_back(SourceEntry{
            code, code == kAutomaticSource ? QStringLiteral("自動") : name, option, keyword});
    }
    return entries;
}

namespace {

// Codes for `sizes` in their order: classic ones where Qt knows them.
std::vector<PaperEntry> paperEntries(const QList<QPageSize>& sizes) {
    std::vector<PaperEntry> papers;
    QSet<int> used;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        int code = sizes[i].windowsId();
        if (code <= 0 || code >= kFirstUserCode || used.contains(code)) {
            code = kFirstUserCode + static_cast<int>(i);
        }
        used.insert(code);
        papers.push_back(PaperEntry{code, sizes[i].name()});
    }
    return papers;
}

std::vector<PaperEntry> queuePapers(const PrinterEntry& printer) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer.name);
    if (info.isNull()) {
        return {};
    }
    return paperEntries(info.supportedPageSizes());
}

std::vector<SourceEntry> queueSources(const PrinterEntry& printer) {
    const QByteArray queue = printer.name.toUtf8();
    const CupsCalls* calls = cups();
    if (queue.isEmpty() || !calls) {
        return {};
    }
    auto choices = ppdInputSlots(*calls, queue);
    if (!choices.empty()) {
        return sourceEntries(QByteArrayLiteral("InputSlot"), choices);
    }
    return sourceEntries(QByteArrayLiteral("media-source"), ippMediaSources(*calls, queue));
}

}  // namespace

std::vector<PaperEntry> paperList(const PrinterEntry& printer) {
    if (printer.pdf) {
        QList<QPageSize> sizes;
        for (QPageSize::PageSizeId id : kPdfSizes) {
            sizes.append(QPageSize(id));
        }
        return paperEntries(sizes);
    }
    return askQueue(queuePapers, printer);
}

std::vector<SourceEntry> sourceList(const PrinterEntry& printer) {
    if (printer.pdf) {
        return sourceEntries(QByteArray(), {{QByteArrayLiteral("auto"), QString()}});
    }
    return askQueue(queueSources, printer);
}

}  // namespace belvorine
