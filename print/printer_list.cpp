#include "print/printer_list.h"

#include <memory>

#include "data/settings_state.h"
#include "platform/printers/printer_query.h"
#include "widgets/message_box.h"

namespace belvorine {
namespace {

std::vector<PrinterEntry>& printers() {
    static std::vector<PrinterEntry> list;
    return list;
}

struct Discovery {
    std::shared_ptr<std::vector<PrinterEntry>> found;
    std::unique_ptr<PrinterQuery> query;
};

bool& timedOut() {
    static bool value = false;
    return value;
}

Discovery& discovery() {
    static Discovery running;
    return running;
}

}  // namespace

void startPrinterDiscovery() {
    auto found = std::make_shared<std::vector<PrinterEntry>>();
    discovery().found = found;
    discovery().query = std::make_unique<PrinterQuery>([found]() { *found = installedPrinters(); });
}

int finishPrinterDiscovery() {
    Discovery finished = std::move(discovery());
    discovery() = Discovery();
    if (!finished.query) {
        return 1;
    }
    const bool answered = finished.query->wait(kPrinterListTimeoutMs);
    const int used = usePrinters(answered ? std::move(*finished.found)
                                          : std::vector<PrinterEntry>{pdfPrinter()});
    timedOut() = !answered;
    return used;
}

int discoverPrinters() {
    startPrinterDiscovery();
    return finishPrinterDiscovery();
}

int usePrinters(std::vector<PrinterEntry> list) {
    printers() = std::move(list);
    timedOut() = false;
    if (printers().empty()) {
        showError(nullptr, QStringLiteral("Ｅｒｒｏｒ"), kNoPrinterMessage);
        return 0;
    }
    return 1;
}

const std::vector<PrinterEntry>& printerList() {
    return printers();
}

int printerCount() {
    return static_cast<int>(printers().size());
}

const PrinterEntry& printerEntry(int index) {
    static const PrinterEntry none;
    if (printers().empty()) {
        return none;
    }
    if (index < 0 || index >= printerCount()) {
        return printers().front();
    }
    return printers()[static_cast<std::size_t>(index)];
}

bool printerListTimedOut() {
    return timedOut();
}

namespace {

int pdfPrinterIndex() {
    for (int i = 0; i < printerCount(); ++i) {
        if (printers()[static_cast<std::size_t>(i)].pdf) {
            return i;
        }
    }
    return 0;
}

// The index of the printer `choice` names; -1 when it is not listed.
int indexOf(const PrinterChoice& choice) {
    for (int i = 0; i < printerCount(); ++i) {
        const PrinterEntry& entry = printers()[static_cast<std::size_t>(i)];
        if (choice.builtIn ? entry.pdf : !entry.pdf && entry.name == choice.name) {
            return i;
        }
    }
    return -1;
}

PrinterChoice choiceOf(int index) {
    const PrinterEntry& entry = printerEntry(index);
    PrinterChoice choice;
    choice.builtIn = entry.pdf;
    choice.name = entry.pdf ? QString() : entry.name;
    return choice;
}

}  // namespace

std::vector<MissingPrinter> findStoredPrinters() {
    std::vector<MissingPrinter> missing;
    for (int format = 0; format < kFormatCount; ++format) {
        PrinterChoice& choice = printerChoice(format);
        PageSettings& live = printerSettings(format);
        int found = -1;
        if (!choice.isEmpty()) {
            found = indexOf(choice);
        } else if (!timedOut() && live.printerIndex >= 0 && live.printerIndex < printerCount()) {
            found = live.printerIndex;  // an older settings file: its place
        }
        if (found >= 0) {
            choice = choiceOf(found);
            live.printerIndex = found;
        } else {
            choice.kept = true;
            choice.storedIndex = live.printerIndex;
            live.printerIndex = pdfPrinterIndex();
            missing.push_back(MissingPrinter{format, choice.name});
        }
        settings().startupPrinterSettings[format].printerIndex = live.printerIndex;
        settings().startupPrinterChoice[format] = choice;
    }
    return missing;
}

void notePrinterChosen(int format, int index) {
    printerChoice(format) = choiceOf(index);
}

int correctPrinterIndex(PageSettings& settings) {
    if (settings.printerIndex >= 0 && settings.printerIndex < printerCount()) {
        return 0;
    }
    settings.printerIndex = 0;
    return 1;
}

}  // namespace belvorine
