// Layout, display pass and full screen of the viewer's windows.
#include "app/window_shell.h"

#include "app/toolkit.h"
#include "app/viewer_state.h"
#include "overlay/info_overlay.h"
#include "overlay/julia_c_marker.h"
#include "render/escape_time.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

void formatWindowTitle(char *title, int size, int processors)
{
    std::snprintf(title, size_t(size), "Mandelbrot & Julia sets - %i processors/cores", processors);
}

void setPixelProjection(int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
}

// The toolkit never reports sizes near the int limits, but the layout arithmetic
// must not overflow if it did.
static int saturatedInt(int64_t value)
{
    return int(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void onReshape(int width, int height)
{
    viewer.windowWidth = width;
    viewer.windowHeight = height;
    viewer.viewWidth = saturatedInt((int64_t(width) - 30) / 2);
    viewer.viewHeight = saturatedInt(int64_t(height) - 20);
    if (viewer.viewWidth <= 0 || viewer.viewHeight <= 0) {
        return;
    }
    const int w = viewer.viewWidth;
    const int h = viewer.viewHeight;
    const int border = viewer.borderWidth;

    setPixelProjection(width, height);

    setCurrentWindow(viewer.mandelWindow);
    positionCurrentWindow(border + 10, border + 10);
    resizeCurrentWindow(w, h);
    setPixelProjection(w, h);

    setCurrentWindow(viewer.juliaWindow);
    positionCurrentWindow(border + w + 20, border + 10);
    resizeCurrentWindow(w, h);
    setPixelProjection(w, h);

    // A buffer that cannot grow keeps its old, shorter length: the view then counts
    // as empty (nothing computed or drawn) until a later reshape succeeds.
    const size_t length = size_t(w) * size_t(h) * 3u;
    resizePixelBuffer(viewer.juliaPixels, length);
    resizePixelBuffer(viewer.mandelPixels, length);

    viewer.juliaDirty = true;
    viewer.mandelDirty = true;

    setCurrentWindow(viewer.helpWindow);
    positionCurrentWindow((viewer.windowWidth - 400) / 2, (viewer.windowHeight - 300) / 2);
    setPixelProjection(400, 300);

    postWindowRedisplay(viewer.mandelWindow);
    postWindowRedisplay(viewer.juliaWindow);
}

static void drawPixels(const PixelBuffer &pixels)
{
    if (viewHasImage(pixels)) {
        glDrawPixels(viewer.viewWidth, viewer.viewHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.bytes);
    }
}

void displayView()
{
    const int window = currentWindow();
    if (window == viewer.mainWindow) {
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glFlush();
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2i(0, 0);
    if (window == viewer.juliaWindow) {
        if (viewer.juliaDirty) {
            renderJulia(FULL_RENDER);
        }
        drawPixels(viewer.juliaPixels);
        if (viewer.infoVisible && viewHasImage(viewer.juliaPixels)) {
            drawInfoOverlay(window);
        }
    }
    if (window == viewer.mandelWindow) {
        if (viewer.mandelDirty) {
            renderMandelbrot(FULL_RENDER);
        }
        drawPixels(viewer.mandelPixels);
        // The cross of C shows with or without the overlay, under its boxes; an empty
        // view shows neither.
        if (viewHasImage(viewer.mandelPixels)) {
            drawJuliaCMarker();
            if (viewer.infoVisible) {
                drawInfoOverlay(window);
            }
        }
    }
    glFlush();
}

void toggleFullscreen()
{
    setCurrentWindow(viewer.mainWindow);
    if (viewer.fullscreen) {
        positionCurrentWindow(viewer.savedWindowX, viewer.savedWindowY);
        resizeCurrentWindow(viewer.savedWindowWidth, viewer.savedWindowHeight);
        viewer.fullscreen = false;
    } else {
        viewer.savedWindowX = toolkitQuery(QUERY_WINDOW_X) - viewer.borderWidth;
        viewer.savedWindowY = toolkitQuery(QUERY_WINDOW_Y) - viewer.borderWidth -
                              toolkitQuery(QUERY_WINDOW_HEADER_HEIGHT);
        viewer.savedWindowWidth = viewer.windowWidth;
        viewer.savedWindowHeight = viewer.windowHeight;
        fullScreenCurrentWindow();
        viewer.fullscreen = true;
    }
    viewer.mandelDirty = true;
    viewer.juliaDirty = true;
}
