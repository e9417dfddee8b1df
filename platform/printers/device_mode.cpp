#include "platform/printers/device_mode.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/printers/paper_lists.h"
#include "platform/printers/printer_query.h"

namespace belvorine {
namespace {

// The property that carries extra CUPS job options ("name", "value", ...) to
// Qt's CUPS engine; Qt's own print dialog sets the input slot through it.
constexpr auto kCupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// A paper name without a parenthesised suffix such as " (210 x 297 mm)".
QString bareName(const QString& name) {
    const qsizetype cut = name.indexOf(QStringLiteral(" ("));
    return (cut >= 0 ? name.left(cut) : name).trimmed();
}

QPageSize pageSizeFor(const PrinterEntry& entry, const DeviceMode& mode) {
    const QPageSize::PageSizeId id = QPageSize::id(mode.paperCode);
    if (mode.paperCode > 0 && id != QPageSize::Custom) {
        return QPageSize(id);
    }
    const QString wanted = bareName(mode.formName);
    if (wanted.isEmpty()) {
        return QPageSize();
    }
    QList<QPageSize> sizes;
    if (entry.pdf) {
        for (const PaperEntry& paper : paperList(entry)) {
            sizes.append(QPageSize(QPageSize::id(paper.code)));
        }
    } else {
        sizes = QPrinterInfo::printerInfo(entry.name).supportedPageSizes();
    }
    for (const QPageSize& size : sizes) {
        if (bareName(size.name()).compare(wanted, Qt::CaseInsensitive) == 0 ||
            size.key().compare(wanted, Qt::CaseInsensitive) == 0) {
            return size;
        }
    }
    return QPageSize();
}

void applySource(QPrinter& printer, const PrinterEntry& entry, int source) {
    if (entry.pdf) {
        return;
    }
    for (const SourceEntry& slot : sourceList(entry)) {
        if (slot.code == source && !slot.option.isEmpty()) {
            printer.printEngine()->setProperty(
                kCupsOptionsProperty,
                QStringList{QString::fromUtf8(slot.option), QString::fromUtf8(slot.keyword)});
            return;
        }
    }
}

QPageLayout::Orientation orientationOf(const DeviceMode& mode) {
    return mode.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// A page's smallest borders in landscape from those in portrait, the page
// turned as a printer turns it for landscape (a quarter turn counter-
// clockwise): the portrait's bottom border becomes the left one, its left
// the top, its top the right and its right the bottom.
QMarginsF turnedToLandscape(const QMarginsF& portrait) {
    return QMarginsF(portrait.bottom(), portrait.left(), portrait.top(), portrait.right());
}

// setUpPrinter(), the source only where it is wanted: it does not change
// the page, and asking a queue for its sources costs round trips.
int setUpQueue(QPrinter& printer, const PrinterEntry& entry, const DeviceMode& mode,
               bool withSource, DeviceCaps* caps) {
    if (entry.pdf || entry.name.isEmpty()) {
        return 0;
    }
    // A name the system does not know leaves the printer on another one,
    // which the check below tells.
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(entry.name);
    if (printer.printerName() != entry.name) {
        return 0;
    }
    const QPageSize size = pageSizeFor(entry, mode);
    if (size.isValid()) {
        printer.setPageSize(size);
    }
    printer.setFullPage(false);
    printer.setPageOrientation(QPageLayout::Portrait);
    const QMarginsF portrait = printer.pageLayout().minimumMargins();
    printer.setPageOrientation(orientationOf(mode));
    const QPageLayout page = printer.pageLayout();
    QMarginsF borders = page.minimumMargins();
    if (mode.orientation == 2 && borders == portrait) {
        // The printing system gives a paper's borders as they are in
        // portrait, whatever the orientation.
        borders = turnedToLandscape(portrait);
    }
    // The painter's origin is the paper's corner, so that what is drawn
    // never depends on the margins the print engine itself keeps; the page
    // geometry places the printable area with `caps`.
    printer.setFullPage(true);
    if (caps &&
        !readDeviceCaps(QPageLayout(page.pageSize(), page.orientation(), borders, page.units()),
                        printer.resolution(), *caps)) {
        return 0;
    }
    if (withSource) {
        applySource(printer, entry, mode.source);
    }
    return 1;
}

}  // namespace

int setUpPrinter(QPrinter& printer, const PrinterEntry& entry, const DeviceMode& mode,
                 DeviceCaps* caps) {
    return setUpQueue(printer, entry, mode, true, caps);
}

QPageLayout pdfPageLayout(const DeviceMode& mode) {
    QPageSize size = pageSizeFor(pdfPrinter(), mode);
    if (!size.isValid()) {
        size = QPageSize(QPageSize::A4);
    }
    return QPageLayout(size, orientationOf(mode), QMarginsF(), QPageLayout::Point);
}

void setUpPdfWriter(QPdfWriter& writer, const DeviceMode& mode, DeviceCaps* caps) {
    const QPageLayout layout = pdfPageLayout(mode);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(layout);
    if (caps) {
        readDeviceCaps(layout, kPdfResolution, *caps);
    }
}

int readDeviceCaps(const QPageLayout& layout, int resolution, DeviceCaps& caps) {
    if (resolution <= 0) {
        return 0;
    }
    // The page as the device has it (Qt keeps page sizes in whole points),
    // so that the geometry matches what a painter on it can reach.
    const QRect paper = layout.fullRectPixels(resolution);
    const QRect printable = layout.paintRectPixels(resolution);
    caps.resolutionX = resolution;
    caps.resolutionY = resolution;
    caps.paperWidth = paper.width();
    caps.paperHeight = paper.height();
    caps.printableWidth = printable.width();
    caps.printableHeight = printable.height();
    caps.offsetX = printable.left() - paper.left();
    caps.offsetY = printable.top() - paper.top();
    return 1;
}

int queryDeviceCaps(const PrinterEntry& entry, const DeviceMode& mode, DeviceCaps& caps) {
    if (entry.pdf) {
        return readDeviceCaps(pdfPageLayout(mode), kPdfResolution, caps);
    }
    const auto answer = askPrintingSystem(
        [entry, mode]() -> std::optional<DeviceCaps> {
            QPrinter printer(QPrinter::HighResolution);
            DeviceCaps asked;
            if (!setUpQueue(printer, entry, mode, false, &asked)) {
                return std::nullopt;
            }
            return asked;
        },
        kPrinterQueryTimeoutMs);
    if (!answer || !*answer) {
        return 0;
    }
    caps = **answer;
    return 1;
}

}  // namespace belvorine
