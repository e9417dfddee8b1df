#pragma once
// The main area's mode flags: the shell's commands set them; the views,
// the layout editor and the print run read them.

namespace belvorine {

struct ModeState {
    int previewMode = 0;   // the print preview is shown
    int layoutMode = 0;    // layout-change mode is on
    int previewPage = 1;   // document kind the preview shows
    int toolbarVisible = 1;
    int statusBarVisible = 1;
};

ModeState& modeState();

}  // namespace belvorine
