// A seeded storm of toolkit events through the real callbacks (with the recording
// toolkit fake): keys, special keys, buttons and the wheel in every window, drags,
// reshapes to any size, iteration bursts, zoom runs, full screen and displays, with
// the viewer's invariants checked after every event.
//
//   event_soak [--seed N] [--events N]
//
// It prints the seed and the number of events; a broken invariant prints the seed,
// the event's number and the event, and exits 1.
#include "app/viewer_state.h"
#include "app/window_shell.h"
#include "fake_toolkit.h"
#include "input/drag_pick.h"
#include "input/keyboard.h"
#include "input/pointer_zoom.h"
#include "overlay/help_window.h"
#include "viewer_fixture.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

std::mt19937_64 rng;
unsigned long long seed = 1;
long eventNumber = 0;
std::string eventText;

// The view size of the last reshape that was accepted: both buffers must hold it.
int acceptedWidth = 500;
int acceptedHeight = 500;

int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
bool chance(int percent) { return uniform(0, 99) < percent; }

void fail(const char *what)
{
    std::printf("soak: FAILED after event %ld (seed %llu): %s\n  event: %s\n", eventNumber, seed,
                what, eventText.c_str());
    std::exit(1);
}

void describe(const char *format, long a = 0, long b = 0, long c = 0, long d = 0)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    eventText = text;
}

int anyWindow() { return uniform(MAIN_WINDOW, HELP_WINDOW); }
int viewWindow() { return chance(50) ? MANDEL_WINDOW : JULIA_WINDOW; }

// Coordinates mostly inside a view, sometimes far outside it.
int coordinate()
{
    if (chance(90)) {
        return uniform(-5, 70);
    }
    return chance(50) ? uniform(-100000, 100000) : (chance(50) ? INT_MAX / 2 : INT_MIN / 2);
}

void checkInvariants()
{
    const size_t length = size_t(acceptedWidth) * size_t(acceptedHeight) * 3u;
    if (viewer.mandelPixels.length != length || viewer.juliaPixels.length != length) {
        fail("a buffer's length does not match the last accepted view size");
    }
    if (viewer.maxIterations < 1 || viewer.maxIterations > MAX_ITERATIONS_CAP) {
        fail("the iteration limit left 1..2^30");
    }
    if (viewer.paletteIndex > 9) {
        fail("the palette left 0..9");
    }
    if (viewer.helpVisible != fakeWindowShown(HELP_WINDOW)) {
        fail("helpVisible does not match the help card's shown state");
    }
    if (viewer.dragMode != DRAG_NONE && viewer.dragMode != DRAG_PAN && viewer.dragMode != DRAG_PICK) {
        fail("dragMode is not a drag mode");
    }
}

// Renders cost little while views stay small and limits low; a burst of '+' is
// always followed by enough '-' to bring the limit back.
void keyEvent()
{
    unsigned char key;
    if (chance(60)) {
        const char common[] = "0123456789+-,.FfIiRrSs";
        key = static_cast<unsigned char>(common[uniform(0, int(sizeof common) - 2)]);
    } else {
        key = static_cast<unsigned char>(uniform(0, 255));
    }
    if (key == '+' && viewer.maxIterations >= 1024) {
        key = '-';
    }
    if (key == KEY_ESCAPE && !viewer.helpVisible && !viewer.fullscreen) {
        return;  // that Escape would end the program; the end-to-end tests check it
    }
    const int window = anyWindow();
    describe("key %ld in window %ld", key, window);
    resetFakeToolkit(window);
    onKeyboard(key, coordinate(), coordinate());
}

void iterationBurst()
{
    describe("forty '+' then '-' back to 128");
    for (int i = 0; i < 40; ++i) {
        resetFakeToolkit(anyWindow());
        onKeyboard('+', 0, 0);
        checkInvariants();
    }
    if (viewer.maxIterations != MAX_ITERATIONS_CAP) {
        fail("forty doublings did not end at the cap");
    }
    while (viewer.maxIterations > 128) {
        onKeyboard('-', 0, 0);
    }
}

void zoomRun()
{
    const int steps = uniform(1, 3000);
    const int direction = chance(50) ? ZOOM_IN : ZOOM_OUT;
    describe("%ld zoom steps in direction %ld", steps, direction);
    for (int i = 0; i < steps; ++i) {
        resetFakeToolkit(anyWindow());
        if (chance(50)) {
            onKeyboard(direction == ZOOM_IN ? ',' : '.', 0, 0);
        } else {
            onMouseButton(direction == ZOOM_IN ? 3 : 4, 0, coordinate(), coordinate());
        }
    }
}

void reshapeEvent()
{
    int width, height;
    const int kind = uniform(0, 99);
    if (kind < 70) {
        width = uniform(28, 150);
        height = uniform(18, 80);
    } else if (kind < 80) {
        width = 32, height = 21;  // 1 x 1 views
    } else if (kind < 85) {
        width = 0, height = 0;
    } else if (kind < 90) {
        width = uniform(-50, 31), height = uniform(-50, 20);  // refused, negative sizes
    } else if (kind < 92) {
        width = 1, height = 1;
    } else if (kind < 93) {
        width = uniform(1000, 1400), height = uniform(500, 900);  // large, rare
    } else {
        width = uniform(INT_MIN, INT_MAX), height = uniform(INT_MIN, INT_MAX);
    }
    describe("reshape to %ld x %ld", width, height);
    resetFakeToolkit(MAIN_WINDOW);
    onReshape(width, height);
    if (viewer.viewWidth > 0 && viewer.viewHeight > 0 &&
        viewer.mandelPixels.length == size_t(viewer.viewWidth) * size_t(viewer.viewHeight) * 3u) {
        acceptedWidth = viewer.viewWidth;
        acceptedHeight = viewer.viewHeight;
    }
    // Far too large a size leaves the views empty; bring them back to something cheap.
    if (!viewHasImage(viewer.mandelPixels) && viewer.viewWidth > 2000) {
        onReshape(130, 70);
        acceptedWidth = 50;
        acceptedHeight = 50;
    }
}

void displayEvent()
{
    const int window = anyWindow();
    describe("display of window %ld", window);
    resetFakeToolkit(window);
    if (window == HELP_WINDOW) {
        displayHelp();
        return;
    }
    displayView();
    if (window == MANDEL_WINDOW && viewer.mandelDirty) {
        fail("a display left the Mandelbrot view dirty");
    }
    if (window == JULIA_WINDOW && viewer.juliaDirty) {
        fail("a display left the Julia view dirty");
    }
}

void mouseEvent()
{
    const int button = chance(90) ? uniform(0, 4) : uniform(-3, 9);
    const int state = chance(95) ? uniform(0, 1) : uniform(-2, 5);
    const int window = anyWindow();
    const int x = coordinate(), y = coordinate();
    describe("button %ld state %ld in window %ld at x %ld", button, state, window, x);
    resetFakeToolkit(window);
    onMouseButton(button, state, x, y);
}

void dragEvent()
{
    const int window = viewWindow();
    const int x = coordinate(), y = coordinate();
    describe("drag in window %ld to %ld, %ld", window, x, y);
    resetFakeToolkit(window);
    onMouseDrag(x, y);
}

void pointerEvent()
{
    const int window = chance(90) ? viewWindow() : HELP_WINDOW;
    const int x = coordinate(), y = coordinate();
    describe("pointer in window %ld at %ld, %ld", window, x, y);
    resetFakeToolkit(window);
    onPointerMove(x, y);
}

void specialEvent()
{
    const int key = chance(30) ? SPECIAL_KEY_F1 : uniform(-5, 200);
    const int window = anyWindow();
    describe("special key %ld in window %ld", key, window);
    resetFakeToolkit(window);
    onSpecialKey(key, coordinate(), coordinate());
}

void escapeEvent()
{
    if (!viewer.helpVisible && !viewer.fullscreen) {
        return;
    }
    describe("Escape with help %ld, full screen %ld", viewer.helpVisible, viewer.fullscreen);
    const bool helpWasVisible = viewer.helpVisible;
    const bool wasFullscreen = viewer.fullscreen;
    resetFakeToolkit(anyWindow());
    onKeyboard(KEY_ESCAPE, 0, 0);
    if (helpWasVisible ? (viewer.helpVisible || viewer.fullscreen != wasFullscreen)
                       : viewer.fullscreen) {
        fail("Escape did not take the first step of its cascade");
    }
}

}  // namespace

int main(int argc, char **argv)
{
    long events = 100000;
    seed = (unsigned long long)std::time(nullptr);
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seed") == 0) {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--events") == 0) {
            events = std::strtol(argv[i + 1], nullptr, 10);
        }
    }
    rng.seed(seed);
    std::printf("soak: seed %llu, %ld events\n", seed, events);
    std::fflush(stdout);

    // Snapshots go to a folder of the soak's own.
    char folder[] = "/tmp/mandeljulia-soak-XXXXXX";
    if (mkdtemp(folder) == nullptr || chdir(folder) != 0) {
        std::printf("soak: cannot make a working folder\n");
        return 1;
    }

    startViewer(130, 70);
    acceptedWidth = viewer.viewWidth;
    acceptedHeight = viewer.viewHeight;
    viewer.maxIterations = 128;

    for (eventNumber = 1; eventNumber <= events; ++eventNumber) {
        const int kind = uniform(0, 999);
        if (kind < 250) {
            keyEvent();
        } else if (kind < 400) {
            mouseEvent();
        } else if (kind < 550) {
            dragEvent();
        } else if (kind < 650) {
            pointerEvent();
        } else if (kind < 800) {
            displayEvent();
        } else if (kind < 860) {
            reshapeEvent();
        } else if (kind < 920) {
            specialEvent();
        } else if (kind < 960) {
            escapeEvent();
        } else if (kind < 962) {
            iterationBurst();
        } else if (kind < 964) {
            zoomRun();
        } else {
            dragEvent();
        }
        checkInvariants();
    }

    releaseViewerBuffers();
    std::printf("soak: %ld events passed (seed %llu)\n", events, seed);
    if (chdir("/") != 0) {
        return 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
