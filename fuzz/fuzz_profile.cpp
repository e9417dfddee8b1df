// The settings file and the two layout files as the start-up reads them,
// every key the program reads: whatever they hold, the start-up takes it
// without a fault, every text ends inside its buffer, and what the exit
// writes reads back as the same settings (after the first start, an exit
// writes the bytes it read).
//
// Input: the settings file, a form feed, the layout file of format 1, a form
// feed, the layout file of format 2.

#include <string>

#include "data/settings_file.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/page_geometry.h"
#include "fuzz_support.h"
#include "platform/sjis_text.h"
#include "tests/page_geometries.h"

using namespace belvorine;
using namespace belvorine::fuzz;

namespace {

template <std::size_t N>
void checkTerminated(const char (&text)[N]) {
    FUZZ_CHECK(sjisView(text).size() < N);
}

void checkPage(const PageSettings& page) {
    checkTerminated(page.formatName);
    checkTerminated(page.paperName);
    checkTerminated(page.paperSourceName);
    checkTerminated(page.font.faceName);
}

// The start-up and the exit: read, make the live copies, prepare the
// layouts, save. Returns the three files as saved.
std::string startAndExit() {
    resetSettingsStateForTesting();
    // A4 on a 600 dpi printer, as printer discovery leaves it.
    for (int format = 0; format < kFormatCount; ++format) {
        printerGeometry(format) = test::a4At600();
    }
    loadSettings();
    makeLiveCopies();
    prepareAllLayouts();
    const SettingsState& state = settings();
    checkTerminated(state.initialData.reservedText);
    for (int format = 0; format < kFormatCount; ++format) {
        checkPage(state.printerSettings[format]);
        checkPage(state.displaySettings[format]);
        for (const LayoutItem& item : state.liveLayout[format].items) {
            checkTerminated(item.text);
        }
    }
    FUZZ_CHECK(saveSettings() == 1);
    return fileContent("dat") + '\f' + fileContent("da1") + '\f' + fileContent("da2");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    programFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view parts[3];
    splitInput(data, size, parts);
    putFile("dat", parts[0]);
    putFile("da1", parts[1]);
    putFile("da2", parts[2]);
    // A frame outside the margin box is moved into it by the first start;
    // from then on every start and exit keeps the files as they are.
    startAndExit();
    const std::string second = startAndExit();
    const std::string third = startAndExit();
    FUZZ_CHECK(second == third);
    return 0;
}
