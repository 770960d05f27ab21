// The red cross that marks the Julia constant C on the Mandelbrot view.
#pragma once

#include "app/viewer_state.h"

struct MarkerPosition {
    int x;  // drawing coordinates: y counted upward from the bottom of the view
    int y;
};

// Where the cross of C stands on a Mandelbrot view of width x height pixels: the exact
// inverse of the pick of C, so a pick at pointer (px, py) puts it at (px, 2 x (h/2) - py)
// up to truncation.
MarkerPosition juliaCMarkerPosition(FractalView mandelView, PlanePoint c, int width, int height);

// Draws the cross into the current window, which is the Mandelbrot view; whatever lies
// outside the view is clipped by GL.
void drawJuliaCMarker();
