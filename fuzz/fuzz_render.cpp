// Template filling and page rendering on the recording surface with any
// layout items: the items come in as raw records, go through a layout file
// and the start-up as a user's damaged file would, and every document of
// both formats is drawn for the printer and for the form view.
//
// Input: raw LayoutItem records (312 bytes each; a short input leaves the
// rest of the items at their factory values), a form feed, then texts
// separated by form feeds for the counterparty, the payment text, the
// order's date and the item lines.

#include <cstring>
#include <string>

#include "data/factory_values.h"
#include "data/order_record.h"
#include "data/profile_file.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/page_geometry.h"
#include "form/page_renderer.h"
#include "fuzz_support.h"
#include "platform/recording_device_context.h"
#include "platform/sjis_text.h"
#include "tests/page_geometries.h"

using namespace belvorine;
using namespace belvorine::fuzz;

namespace {

constexpr std::size_t kItemBytes = sizeof(LayoutItem);
constexpr std::size_t kItemsBytes = kItemBytes * kLayoutItemCount;

// The layout file of one format holding `raw` over the factory items.
// Item `index` as the input gives it: the factory item overwritten with as
// many raw bytes as there are.
LayoutItem itemFrom(std::string_view raw, int index) {
    LayoutItem item = factoryLayout()[index];
    const std::size_t at = static_cast<std::size_t>(index) * kItemBytes;
    if (at < raw.size()) {
        std::memcpy(&item, raw.data() + at, std::min(kItemBytes, raw.size() - at));
    }
    return item;
}

std::string layoutFile(int format, std::string_view raw) {
    ProfileWriter writer;
    writer.section("LAYOUT DATA");
    for (int i = 0; i < kLayoutItemCount; ++i) {
        writer.record(layoutKey(format, i), itemFrom(raw, i));
    }
    return writer.text();
}

void fillOrder(std::string_view texts) {
    std::string_view parts[9];
    splitInput(reinterpret_cast<const std::uint8_t*>(texts.data()), texts.size(), parts);
    OrderRecord& order = currentOrder();
    order = OrderRecord();
    initialiseCurrentOrder();
    copySjis(order.counterparty, parts[0]);
    copySjis(order.paymentText, parts[1]);
    copySjis(order.year, parts[2]);
    copySjis(order.approvalNo, parts[3]);
    for (int i = 0; i < 5; ++i) {
        OrderLine& line = order.lines[i];
        const std::string_view text = parts[4 + i];
        copySjis(line.nameLine1, text);
        copySjis(line.nameLine2, text.substr(std::min<std::size_t>(text.size(), 40)));
        copySjis(line.quantity, text);
        copySjis(line.unit, text);
        copySjis(line.unitPrice, text);
        copySjis(line.amount, text);
        copySjis(line.deliveryDateLine1, text);
        copySjis(line.deliveryPlaceLine1, text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    programFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = std::min(input.find('\f'), std::min(input.size(), kItemsBytes));
    const std::string_view raw = input.substr(0, cut);
    const std::string_view texts = input.substr(std::min(input.size(), cut + 1));
    const std::string_view second = raw.size() > kItemBytes ? raw.substr(kItemBytes) : raw;

    putFile("dat", {});
    putFile("da1", layoutFile(0, raw));
    putFile("da2", layoutFile(1, second));
    resetSettingsStateForTesting();
    loadSettings();
    makeLiveCopies();
    prepareAllLayouts();
    fillOrder(texts);

    // Template filling with the texts as template and value.
    char filled[256];
    std::string templateText(texts.substr(0, 300));
    templateText.resize(256);
    std::string value(texts.substr(std::min<std::size_t>(texts.size(), 300)));
    value.resize(256);
    fillTemplate(filled, templateText.data(), value.data());
    FUZZ_CHECK(sjisView(filled).size() < sizeof filled);

    for (int format = 0; format < kFormatCount; ++format) {
        settings().initialData.formatIndex = format;
        printerGeometry(format) = test::a4At600();
        for (int kind = kDocumentOrder; kind <= kDocumentAcknowledgement; ++kind) {
            RecordingDeviceContext printer;
            drawFormPage(printer, printerGeometry(format), printerSettings(format), 100, kind);
        }
        RecordingDeviceContext screen;
        FormViewPass pass{16, 16, 0, 0, {}};
        drawFormPage(screen, test::screenAt96(), displaySettings(format), 100, kDocumentOrder,
                     &pass);
    }
    return 0;
}
