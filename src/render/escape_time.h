// The escape-time renderer: the plane mapping, the escape loop, and the parallel
// render of a whole view or of the strips a pan exposed.
#pragma once

#include "app/viewer_state.h"

#include <cstdint>

// A retained corner rectangle of a view: pixel (i, r) is left untouched exactly when
// its column and its row are both retained. A sign > 0 retains indices >= the limit,
// < 0 retains indices <= the limit, 0 retains none.
struct ExposedStrips {
    int columnLimit;
    int rowLimit;
    int columnSign;
    int rowSign;
};

constexpr ExposedStrips FULL_RENDER = {-1, -1, -1, -1};

// Everything one render reads, as plain values: the renderer, the benchmark and the
// tests all go through renderImage.
struct RenderJob {
    int width;
    int height;
    FractalView view;
    bool julia;           // false: Mandelbrot (z0 = 0, c = pixel); true: Julia (z0 = pixel)
    PlanePoint c;         // the Julia constant
    int maxIterations;
    uint32_t paletteIndex;
};

// (center + (index - half) x 4 x scale) / 700, in exactly that order of operations.
inline double planeCoordinate(double center, int index, int half, double scale)
{
    return (double(index - half) * PIXEL_STEP * scale + center) / VIEW_UNITS_PER_PLANE_UNIT;
}

// Iterations of z <- z^2 + c from z0 before |z|^2 > 4, at most maxIterations
// (0 when the limit is 0 or less). Unrolled eight-fold; the count is that of the
// plain loop for every limit.
int escapeCount(PlanePoint z0, PlanePoint c, int maxIterations);

// The columns [first, end) of row r that a request computes.
struct ColumnSpan {
    int first;
    int end;
};
ColumnSpan computedColumns(ExposedStrips strips, int row, int width);

// How a row's counts are computed: the vector kernel, or the plain loop that defines
// the counts (kept for the tests and the benchmark).
enum RenderKernel : int { KERNEL_FAST = 0, KERNEL_PLAIN = 1 };

// Renders the requested pixels of a width x height image (3 bytes a pixel, bottom
// row first) on all worker threads, one row at a time.
void renderImage(const RenderJob &job, ExposedStrips strips, unsigned char *pixels,
                 RenderKernel kernel = KERNEL_FAST);

// The job of each view as the viewer state describes it now.
RenderJob mandelbrotJob();
RenderJob juliaJob();

// Render into the view's buffer, then clear its dirty flag (also for an empty view,
// which gets nothing computed).
void renderMandelbrot(ExposedStrips strips);
void renderJulia(ExposedStrips strips);
