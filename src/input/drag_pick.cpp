// Mouse handling apart from passive tracking: drag pan, pick of C, wheel, help click.
#include "input/drag_pick.h"

#include "app/toolkit.h"
#include "app/viewer_state.h"
#include "input/pointer_zoom.h"
#include "overlay/help_window.h"

#include <cstdint>
#include <cstring>

// How freeglut reports the mouse: the wheel comes as buttons 3 (up) and 4 (down),
// each step as a press followed by a release, so only the press zooms. Shift (with a
// key or a button) arrives first as a special key of its own, which onSpecialKey ignores.
void onMouseButton(int button, int state, int x, int y)
{
    const int window = currentWindow();
    const bool press = state == MOUSE_PRESS;
    switch (button) {
    case MOUSE_LEFT_BUTTON:
        if (press) {
            viewer.dragMode = DRAG_PAN;
            viewer.dragLastX = x;
            viewer.dragLastY = y;
            if (window == viewer.helpWindow) {
                hideHelp();
            }
        } else {
            viewer.dragMode = DRAG_NONE;
        }
        break;
    case MOUSE_RIGHT_BUTTON:
        if (window != viewer.mandelWindow) {
            break;
        }
        if (press) {
            viewer.dragMode = DRAG_PICK;
            pickJuliaC(x, y);
        } else {
            // The Mandelbrot picture did not change; its next display only redraws
            // the buffer with the marker at the new C.
            viewer.dragMode = DRAG_NONE;
            viewer.mandelDirty = false;
        }
        break;
    case MOUSE_WHEEL_UP:
        if (press) {
            zoomAtPointer(ZOOM_IN);
        }
        break;
    case MOUSE_WHEEL_DOWN:
        if (press) {
            zoomAtPointer(ZOOM_OUT);
        }
        break;
    default:  // the middle button and any other number
        break;
    }
}

ExposedStrips panStrips(int dx, int dy, int width, int height)
{
    ExposedStrips strips;
    if (dx >= 0) {
        strips.columnSign = +1;
        strips.columnLimit = dx;
    } else {
        strips.columnSign = -1;
        strips.columnLimit = width + dx - 1;
    }
    // Rows count from the bottom, so moving down exposes the top rows.
    if (dy >= 0) {
        strips.rowSign = -1;
        strips.rowLimit = height - dy - 1;
    } else {
        strips.rowSign = +1;
        strips.rowLimit = -dy;
    }
    return strips;
}

void shiftPixels(PixelBuffer &pixels, int dx, int dy, int width)
{
    // Rows are stored bottom-up, so a move down by dy is a move toward the start.
    const int64_t k = 3 * (int64_t(dx) - int64_t(dy) * int64_t(width));
    const uint64_t distance = k >= 0 ? uint64_t(k) : uint64_t(-k);
    // A move this long shifts no byte into the view; the strips of such a step cover
    // every pixel anyway.
    if (distance >= pixels.length) {
        return;
    }
    const size_t kept = pixels.length - size_t(distance);
    if (k >= 0) {
        std::memmove(pixels.bytes + distance, pixels.bytes, kept);
    } else {
        std::memmove(pixels.bytes, pixels.bytes + distance, kept);
    }
}

// One pan step of one view. An empty view (refused reshape, buffer not grown) has no
// picture to move: its centre, buffer and dirty flag stay as they are, so a later
// reshape recomputes the navigation the user last saw.
static void panView(FractalView &view, PixelBuffer &pixels, void (*render)(ExposedStrips),
                    int dx, int dy)
{
    if (!viewHasImage(pixels)) {
        return;
    }
    const double s = view.scale;
    view.centerX = view.centerX - double(dx) * s * 4.0;
    view.centerY = view.centerY + double(dy) * s * 4.0;
    shiftPixels(pixels, dx, dy, viewer.viewWidth);
    render(panStrips(dx, dy, viewer.viewWidth, viewer.viewHeight));
}

void onMouseDrag(int x, int y)
{
    const int window = currentWindow();
    if (viewer.dragMode == DRAG_PAN) {
        const int dx = x - viewer.dragLastX;
        const int dy = y - viewer.dragLastY;
        viewer.dragDeltaX = dx;
        viewer.dragDeltaY = dy;
        if (window == viewer.juliaWindow) {
            panView(viewer.juliaView, viewer.juliaPixels, renderJulia, dx, dy);
        }
        if (window == viewer.mandelWindow) {
            panView(viewer.mandelView, viewer.mandelPixels, renderMandelbrot, dx, dy);
        }
        viewer.dragLastX = x;
        viewer.dragLastY = y;
        postWindowRedisplay(window);
        return;
    }
    if (viewer.dragMode == DRAG_PICK && window == viewer.mandelWindow) {
        pickJuliaC(x, y);
        // Only the marker moved on the Mandelbrot view: redraw, do not recompute.
        viewer.mandelDirty = false;
        postWindowRedisplay(viewer.mandelWindow);
    }
}

void pickJuliaC(int x, int y)
{
    const FractalView &m = viewer.mandelView;
    const int halfWidth = viewer.viewWidth / 2;
    const int halfHeight = viewer.viewHeight / 2;
    // y is taken as it comes, growing downward: C is the conjugate of the point shown.
    viewer.juliaC.re = 4.0 * (double(x - halfWidth) * m.scale / VIEW_UNITS_PER_PLANE_UNIT +
                              m.centerX * 0.25 / VIEW_UNITS_PER_PLANE_UNIT);
    viewer.juliaC.im = 4.0 * (double(y - halfHeight) * m.scale / VIEW_UNITS_PER_PLANE_UNIT -
                              m.centerY * 0.25 / VIEW_UNITS_PER_PLANE_UNIT);
    viewer.juliaView = {0.0, 0.0, 1.0};
    viewer.juliaDirty = true;
    postWindowRedisplay(viewer.juliaWindow);
}
