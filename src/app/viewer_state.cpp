// The single viewer state instance, its start values and the navigation reset.
#include "app/viewer_state.h"

constinit ViewerState viewer = startViewerState();

void resetViews()
{
    viewer.mandelView = {-525.0, 0.0, 1.0};
    viewer.juliaView = {0.0, 0.0, 1.0};
    viewer.maxIterations = 128;
    viewer.mandelDirty = true;
    viewer.juliaDirty = true;
}

bool viewHasImage(const PixelBuffer &pixels)
{
    if (viewer.viewWidth <= 0 || viewer.viewHeight <= 0) {
        return false;
    }
    const size_t needed = size_t(viewer.viewWidth) * size_t(viewer.viewHeight) * 3u;
    return pixels.bytes != nullptr && pixels.length >= needed;
}

PointedView viewUnderPointer()
{
    if (viewer.pointerWindow != 0 && viewer.pointerWindow == viewer.mandelWindow) {
        return {&viewer.mandelView, &viewer.mandelPixels};
    }
    if (viewer.pointerWindow != 0 && viewer.pointerWindow == viewer.juliaWindow) {
        return {&viewer.juliaView, &viewer.juliaPixels};
    }
    return {nullptr, nullptr};
}

void releaseViewerBuffers()
{
    releasePixelBuffer(viewer.mandelPixels);
    releasePixelBuffer(viewer.juliaPixels);
}
