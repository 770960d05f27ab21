// The one record of all viewer state, shared by every toolkit callback
// (callbacks carry no context), and the reset of the navigation.
#pragma once

#include "app/pixel_buffer.h"

#include <cstdint>

// 700 view units are 1.0 in the complex plane; one pixel spans PIXEL_STEP x scale view units.
constexpr double VIEW_UNITS_PER_PLANE_UNIT = 700.0;
constexpr double PIXEL_STEP = 4.0;

// The iteration limit stays within 1..MAX_ITERATIONS_CAP: doubling past 2^30 would
// leave the signed 32-bit range.
constexpr int MAX_ITERATIONS_CAP = 1 << 30;

struct FractalView {
    double centerX;  // view units
    double centerY;  // view units
    double scale;    // 1 at the start zoom, smaller when zoomed in
};

struct PlanePoint {
    double re;
    double im;
};

enum DragMode : int { DRAG_NONE = 0, DRAG_PAN = 1, DRAG_PICK = 2 };

struct ViewerState {
    // windows (toolkit identifiers, 0 = none)
    int mainWindow;
    int mandelWindow;
    int juliaWindow;
    int helpWindow;

    // geometry
    int windowWidth;
    int windowHeight;
    int viewWidth;
    int viewHeight;
    int borderWidth;

    // navigation and computation
    FractalView mandelView;
    FractalView juliaView;
    PlanePoint juliaC;
    int maxIterations;
    uint32_t paletteIndex;

    // flags
    bool mandelDirty;
    bool juliaDirty;
    bool infoVisible;
    bool helpVisible;
    bool fullscreen;

    // full-screen memory
    int savedWindowX;
    int savedWindowY;
    int savedWindowWidth;
    int savedWindowHeight;

    // pointer and drag tracking
    int pointerWindow;
    int pointerX;
    int pointerY;
    int dragMode;
    int dragLastX;
    int dragLastY;
    int dragDeltaX;
    int dragDeltaY;

    // images
    PixelBuffer mandelPixels;
    PixelBuffer juliaPixels;
};

extern ViewerState viewer;

// The values the program starts with, before any window exists (constant, so the
// instance holds them from the first instruction on).
constexpr ViewerState startViewerState()
{
    ViewerState s{};
    s.windowWidth = 1030;
    s.windowHeight = 520;
    s.viewWidth = 500;
    s.viewHeight = 500;
    s.mandelView = {-525.0, 0.0, 1.0};
    s.juliaView = {0.0, 0.0, 1.0};
    s.juliaC = {-0.188, 0.666};
    s.maxIterations = 128;
    s.paletteIndex = 0;
    s.mandelDirty = true;
    s.juliaDirty = true;
    s.infoVisible = true;
    s.helpVisible = false;
    s.fullscreen = false;
    s.dragMode = DRAG_NONE;
    return s;
}

// Puts both views' navigation and the iteration limit back to their start values
// and marks both views dirty; C, the palette, the switches and the buffers stay.
void resetViews();

// A view is drawable and computable only while both sizes are positive and its
// buffer holds the whole image (a refused reshape, a display before the first
// reshape or a buffer that could not grow all leave it empty).
bool viewHasImage(const PixelBuffer &pixels);

// The navigation and image of the view the pointer last moved over; both null while
// that is the help card or no view yet. Zoom and snapshot act on it.
struct PointedView {
    FractalView *view;
    PixelBuffer *pixels;
};
PointedView viewUnderPointer();

// Releases both buffers; the program runs it at exit.
void releaseViewerBuffers();
