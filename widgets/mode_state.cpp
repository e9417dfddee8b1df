#include "widgets/mode_state.h"

namespace belvorine {

ModeState& modeState() {
    static ModeState state;
    return state;
}

}  // namespace belvorine
