#include "print/printer_list.h"

#include <memory>

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
    if (!finished.query->wait(kPrinterListTimeoutMs)) {
        return usePrinters({pdfPrinter()});
    }
    return usePrinters(std::move(*finished.found));
}

int discoverPrinters() {
    startPrinterDiscovery();
    return finishPrinterDiscovery();
}

int usePrinters(std::vector<PrinterEntry> list) {
    printers() = std::move(list);
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

int correctPrinterIndex(PageSettings& settings) {
    if (settings.printerIndex >= 0 && settings.printerIndex < printerCount()) {
        return 0;
    }
    settings.printerIndex = 0;
    return 1;
}

}  // namespace belvorine
