#include "archive/archive_pdf.h"

#include <QPageLayout>
#include <QPdfWriter>

#include "form/page_renderer.h"
#include "platform/painter_device_context.h"

namespace belvorine {

ArchivePdf::ArchivePdf(const QString& title, const QString& creator) {
    buffer_.open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setTitle(title);
    writer_->setCreator(creator);
}

ArchivePdf::~ArchivePdf() {
    if (painter_.isActive()) {
        painter_.end();
    }
}

bool ArchivePdf::addPage(const QPageLayout& paper, const DeviceCaps& caps,
                         const PageGeometry& geometry, const PageSettings& settings, int scale,
                         int kind, bool newSheet) {
    if (failed_) {
        return false;
    }
    // The painter starts at the paper's corner and is moved to the printable
    // origin, as the job's painter was, so the same geometry draws the same
    // page.
    const QPageLayout sheet(paper.pageSize(), paper.orientation(), QMarginsF());
    if (!painter_.isActive()) {
        writer_->setResolution(caps.resolutionX);
        writer_->setPageLayout(sheet);
        failed_ = !painter_.begin(writer_.get());
        sheets_ = failed_ ? 0 : 1;
    } else if (newSheet) {
        writer_->setPageLayout(sheet);
        failed_ = !writer_->newPage();
        sheets_ += failed_ ? 0 : 1;
    }
    if (failed_) {
        return false;
    }
    painter_.resetTransform();
    painter_.translate(caps.offsetX, caps.offsetY);
    PainterDeviceContext dc(painter_);
    dc.setTextColor(Qt::black);
    drawFormPage(dc, geometry, settings, scale, kind);
    return true;
}

QByteArray ArchivePdf::finish() {
    if (!painter_.isActive()) {
        return QByteArray();
    }
    const bool ended = painter_.end();
    if (failed_ || !ended) {
        return QByteArray();
    }
    return buffer_.data();
}

}  // namespace belvorine
