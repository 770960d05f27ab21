// The information overlay of a fractal view: translucent boxes, title, scale and
// centre, and on the Julia view also C, the iteration limit and the palette's name.
#pragma once

#include "app/viewer_state.h"

constexpr int OVERLAY_TITLE_SIZE = 16;
constexpr int OVERLAY_LINE_SIZE = 68;

// Everything the overlay of one view shows, formatted; each line is cut to fit its
// buffer, terminator included.
struct OverlayText {
    char title[OVERLAY_TITLE_SIZE];
    char scale[OVERLAY_LINE_SIZE];
    char position[OVERLAY_LINE_SIZE];
    char juliaC[OVERLAY_LINE_SIZE];  // Julia view only, else empty
    char limits[OVERLAY_LINE_SIZE];  // Julia view only, else empty: two lines, "\n" between
    int titleBoxWidth;
    int bandHeight;                  // of the translucent band at the bottom
};

void formatOverlayText(const ViewerState &state, bool juliaView, OverlayText &text);

// window is mandelWindow or juliaWindow, the current window.
void drawInfoOverlay(int window);
