#pragma once
// The PDF that keeps a paper print: the pages the print job drew, drawn
// again by the same page renderer with the same geometry, settings and
// scale on a PDF page laid out as the printer's, held in memory until the
// print is done.

#include <memory>

#include <QBuffer>
#include <QByteArray>
#include <QPainter>

#include "form/page_geometry.h"
#include "platform/printers/device_mode.h"
#include "records/records.h"

class QPageLayout;
class QPdfWriter;

namespace belvorine {

class ArchivePdf {
public:
    // `title` and `creator` as the print job names them.
    ArchivePdf(const QString& title, const QString& creator);
    ~ArchivePdf();
    ArchivePdf(const ArchivePdf&) = delete;
    ArchivePdf& operator=(const ArchivePdf&) = delete;

    // Draws document `kind` of the current order as the job drew it on a
    // sheet of `paper`'s size and orientation, at the resolution and from
    // the printable origin of `caps` (the printer's). `newSheet` false
    // draws it on the sheet drawn last (order and copy on one sheet).
    // Returns false when the page could not be made.
    bool addPage(const QPageLayout& paper, const DeviceCaps& caps, const PageGeometry& geometry,
                 const PageSettings& settings, int scale, int kind, bool newSheet);

    // Ends the document: its bytes, or empty when nothing was drawn or a
    // page failed.
    QByteArray finish();

    int sheets() const { return sheets_; }

private:
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    int sheets_ = 0;
    bool failed_ = false;
};

}  // namespace belvorine
