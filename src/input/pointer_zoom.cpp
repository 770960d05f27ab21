// Pointer tracking and the zoom about the pointer.
#include "input/pointer_zoom.h"

#include "app/toolkit.h"
#include "app/viewer_state.h"

void onPointerMove(int x, int y)
{
    viewer.pointerWindow = currentWindow();
    viewer.pointerX = x;
    viewer.pointerY = y;
}

void zoomAtPointer(int direction)
{
    // Offset from the centre pixel; oy grows downward like the pointer's y.
    const int ox = viewer.pointerX - viewer.viewWidth / 2;
    const int oy = viewer.pointerY - viewer.viewHeight / 2;

    if (FractalView *view = viewUnderPointer().view) {
        // Both orders keep the plane point under the pointer in place: zooming in
        // moves the centre by the offset times the new scale, zooming out by the
        // offset times the old one.
        if (direction > 0) {
            view->scale = view->scale * 4.0 / 5.0;
            view->centerX = view->centerX + double(ox) * view->scale;
            view->centerY = view->centerY - double(oy) * view->scale;
        } else {
            view->centerX = view->centerX - double(ox) * view->scale;
            view->centerY = view->centerY + double(oy) * view->scale;
            view->scale = view->scale * 5.0 * 0.25;
        }
    }

    viewer.juliaDirty = true;
    viewer.mandelDirty = true;
    if (viewer.pointerWindow != 0) {
        postWindowRedisplay(viewer.pointerWindow);
    }
}
