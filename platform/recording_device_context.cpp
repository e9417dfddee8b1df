#include "platform/recording_device_context.h"

#include <algorithm>
#include <cstdlib>

#include "platform/log_font_qt.h"

namespace belvorine {

RecordedCall& RecordingDeviceContext::record(RecordedCall::Kind kind) {
    RecordedCall call;
    call.kind = kind;
    call.font = font_;
    call.justification = justification_;
    call.penWidth = penWidth_;
    call.dottedPen = dotted_;
    calls_.push_back(std::move(call));
    return calls_.back();
}

std::vector<RecordedCall> RecordingDeviceContext::callsOf(RecordedCall::Kind kind) const {
    std::vector<RecordedCall> result;
    for (const RecordedCall& call : calls_) {
        if (call.kind == kind) {
            result.push_back(call);
        }
    }
    return result;
}

int RecordingDeviceContext::characterHeight() const {
    // Cut like the painter's fonts, so that no width can overflow.
    return static_cast<int>(
        std::min<long long>(std::llabs(static_cast<long long>(font_.height)), kMaximumFontPixels));
}

int RecordingDeviceContext::lineWidth(std::string_view text, std::vector<int>* runStarts) const {
    const long long h = characterHeight();
    const auto width = [h](std::size_t bytes) {
        return static_cast<int>(static_cast<long long>(bytes) * h / 2);
    };
    std::vector<int> widths;
    if (justification_.breakCount > 0) {
        // Spaced-out text: the runs are its characters.
        for (const std::string_view character : spacedCharacters(text)) {
            widths.push_back(width(character.size()));
        }
    } else {
        std::size_t start = 0;
        while (true) {
            const std::size_t space = text.find(' ', start);
            const std::size_t end = space == std::string_view::npos ? text.size() : space;
            widths.push_back(width(end - start));
            if (space == std::string_view::npos) {
                break;
            }
            start = space + 1;
        }
    }
    return layoutRuns(widths, static_cast<int>(h / 2), justification_, runStarts);
}

void RecordingDeviceContext::selectFont(const LogFont& font) {
    font_ = font;
    record(RecordedCall::Kind::SelectFont);
}

QSize RecordingDeviceContext::textExtent(std::string_view text) {
    const QSize extent(lineWidth(text, nullptr), characterHeight());
    RecordedCall& call = record(RecordedCall::Kind::TextExtent);
    call.text = std::string(text);
    call.extent = extent;
    return extent;
}

TextMetrics RecordingDeviceContext::textMetrics() {
    record(RecordedCall::Kind::TextMetrics);
    const int h = characterHeight();
    return TextMetrics{h, h / 2};
}

void RecordingDeviceContext::setTextJustification(int extra, int breakCount) {
    justification_ = Justification{extra, breakCount};
    record(RecordedCall::Kind::SetJustification);
}

void RecordingDeviceContext::drawText(const QRect& rect, std::string_view text, TextAlign align) {
    std::vector<int> starts;
    const int width = lineWidth(text, &starts);
    const int height = characterHeight();
    const QPoint corner = placeLine(rect, width, height, align);
    for (int& start : starts) {
        start += corner.x();
    }
    RecordedCall& call = record(RecordedCall::Kind::DrawText);
    call.text = std::string(text);
    call.rect = rect;
    call.align = align;
    call.color = textColor_;
    call.drawnLine = QRect(corner, QSize(width, height));
    call.runStarts = std::move(starts);
}

void RecordingDeviceContext::setTextColor(const QColor& color) {
    textColor_ = color;
    record(RecordedCall::Kind::SetTextColor).color = color;
}

void RecordingDeviceContext::setSolidPen(int width, const QColor& color) {
    penWidth_ = width;
    penColor_ = color;
    dotted_ = false;
    record(RecordedCall::Kind::SetSolidPen).color = color;
}

void RecordingDeviceContext::setDottedPen(const QColor& color) {
    penWidth_ = 1;
    penColor_ = color;
    dotted_ = true;
    record(RecordedCall::Kind::SetDottedPen).color = color;
}

void RecordingDeviceContext::moveTo(int x, int y) {
    position_ = QPoint(x, y);
    record(RecordedCall::Kind::MoveTo).to = position_;
}

void RecordingDeviceContext::lineTo(int x, int y) {
    RecordedCall& call = record(RecordedCall::Kind::LineTo);
    call.from = position_;
    call.to = QPoint(x, y);
    call.color = penColor_;
    position_ = call.to;
}

void RecordingDeviceContext::fillRect(const QRect& rect, const QColor& color) {
    RecordedCall& call = record(RecordedCall::Kind::FillRect);
    call.rect = rect;
    call.color = color;
}

void RecordingDeviceContext::drawRectangle(const QRect& rect, const QColor& fill) {
    RecordedCall& call = record(RecordedCall::Kind::DrawRectangle);
    call.rect = rect;
    call.color = fill;
}

}  // namespace belvorine
