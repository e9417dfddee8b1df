#pragma once
// The display's resolution, read once at start-up and used by the form view,
// the preview, the renderer and the status bar.

namespace belvorine {

struct ScreenMetrics {
    int dpiX = 96;  // logical pixels per inch, horizontally
    int dpiY = 96;
    int width = 0;  // resolution in pixels
    int height = 0;
};

// The process-wide metrics; tests may set them directly.
ScreenMetrics& screenMetrics();

// Reads the primary screen. Returns 0 when there is no screen or it reports
// a resolution of 0 pixels per inch.
int readScreenMetrics();

}  // namespace belvorine
