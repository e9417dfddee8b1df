#include "data/settings_state.h"

namespace belvorine {

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

}  // namespace belvorine
