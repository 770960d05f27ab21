// Palette, iteration limit, zoom, overlay, full screen, reset, snapshot and Escape.
#include "input/keyboard.h"

#include "app/toolkit.h"
#include "app/viewer_state.h"
#include "app/window_shell.h"
#include "export/tga_snapshot.h"
#include "input/pointer_zoom.h"
#include "overlay/help_window.h"
#include "render/escape_time.h"

#include <cstdlib>

static void markBothDirtyAndPost()
{
    viewer.juliaDirty = true;
    viewer.mandelDirty = true;
    postWindowRedisplay(viewer.mandelWindow);
    postWindowRedisplay(viewer.juliaWindow);
}

static void selectPalette(unsigned digit)
{
    // The only command that computes inside the handler: both views at once, Julia first.
    viewer.paletteIndex = digit;
    renderJulia(FULL_RENDER);
    postWindowRedisplay(viewer.juliaWindow);
    renderMandelbrot(FULL_RENDER);
    postWindowRedisplay(viewer.mandelWindow);
}

static void fullscreenAndPost()
{
    toggleFullscreen();
    postWindowRedisplay(viewer.mainWindow);
    postWindowRedisplay(viewer.mandelWindow);
    postWindowRedisplay(viewer.juliaWindow);
}

static void escape()
{
    if (viewer.helpVisible) {
        hideHelp();
        return;
    }
    if (viewer.fullscreen) {
        fullscreenAndPost();
        return;
    }
    // The exit handlers release the buffers; the main loop is never left.
    std::exit(0);
}

void onKeyboard(unsigned char key, int, int)
{
    if (key >= '0' && key <= '9') {
        selectPalette(unsigned(key - '0'));
        return;
    }
    switch (key) {
    case '+':
        // Doubling past 2^30 would leave the int range; at the cap the limit stays.
        if (viewer.maxIterations <= MAX_ITERATIONS_CAP / 2) {
            viewer.maxIterations = viewer.maxIterations * 2;
        }
        markBothDirtyAndPost();
        break;
    case '-':
        if (viewer.maxIterations > 1) {
            viewer.maxIterations = viewer.maxIterations / 2;
        }
        markBothDirtyAndPost();
        break;
    case ',':
        zoomAtPointer(ZOOM_IN);
        break;
    case '.':
        zoomAtPointer(ZOOM_OUT);
        break;
    case 'F':
    case 'f':
        fullscreenAndPost();
        break;
    case 'I':
    case 'i':
        viewer.infoVisible = !viewer.infoVisible;
        postWindowRedisplay(viewer.mandelWindow);
        postWindowRedisplay(viewer.juliaWindow);
        break;
    case 'R':
    case 'r':
        resetViews();
        postWindowRedisplay(viewer.mandelWindow);
        postWindowRedisplay(viewer.juliaWindow);
        break;
    case 'S':
    case 's':
        saveSnapshot();
        break;
    case KEY_ESCAPE:
        escape();
        break;
    default:
        break;
    }
}
