#include "data/settings_state.h"

#include "data/factory_values.h"
#include "data/layout_model.h"

namespace belvorine {
namespace {

void restoreFormat(int format, const PageSettings& printer, const PrinterChoice& choice,
                   const FormLayout& layout) {
    printerSettings(format) = printer;
    printerChoice(format) = choice;
    liveLayout(format) = layout;
    numberItems(liveLayout(format));
}

}  // namespace

SettingsState& settings() {
    static SettingsState state;
    return state;
}

void resetSettingsStateForTesting() {
    settings() = SettingsState();
}

int currentFormat() {
    const int index = settings().initialData.formatIndex;
    return index == 1 ? 1 : 0;
}

void makeLiveCopies() {
    SettingsState& state = settings();
    state.initialData = state.startupInitialData;
    for (int format = 0; format < kFormatCount; ++format) {
        state.printerSettings[format] = state.startupPrinterSettings[format];
        state.displaySettings[format] = state.startupDisplaySettings[format];
        state.liveLayout[format] = state.startupLayout[format];
        numberItems(state.liveLayout[format]);
        state.printerChoice[format] = state.startupPrinterChoice[format];
    }
}

void restoreStartupState(int format) {
    if (isFormatIndex(format)) {
        restoreFormat(format, settings().startupPrinterSettings[format],
                      settings().startupPrinterChoice[format], settings().startupLayout[format]);
    }
}

void restoreFactoryState(int format) {
    if (isFormatIndex(format)) {
        restoreFormat(format, settings().factoryPrinterSettings[format], PrinterChoice(),
                      factoryLayout());
    }
}

}  // namespace belvorine
