// Pointer tracking and the zoom about the pointer, through the recording toolkit fake.
#include "input/pointer_zoom.h"
#include "render/escape_time.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Calls = std::vector<std::string>;

class PointerZoomTest : public ViewerTest {
protected:
    // The pointer recorded as a passive motion in window at (x, y); flags cleared so
    // that the zoom's own marking shows.
    void pointAt(int window, int x, int y)
    {
        fakeToolkit.current = window;
        onPointerMove(x, y);
        viewer.mandelDirty = false;
        viewer.juliaDirty = false;
        resetFakeToolkit(MAIN_WINDOW);
    }
};

TEST_F(PointerZoomTest, PointerMoveRecordsTheReportingWindowAndPostsNothing)
{
    const int windows[] = {MANDEL_WINDOW, JULIA_WINDOW, HELP_WINDOW};
    for (const int window : windows) {
        resetFakeToolkit(window);
        onPointerMove(17 + window, 401 - window);
        EXPECT_EQ(viewer.pointerWindow, window);
        EXPECT_EQ(viewer.pointerX, 17 + window);
        EXPECT_EQ(viewer.pointerY, 401 - window);
        EXPECT_EQ(fakeToolkit.calls, Calls{});
    }
}

// The Mandelbrot start view, 500 x 500, pointer at (350, 100): ox = 100, oy = -150.
struct ZoomCase {
    int direction;
    double scale;
    double centerX;
    double centerY;
};

TEST_F(PointerZoomTest, ZoomAboutThePointerKeepsThePointUnderItInPlace)
{
    const ZoomCase cases[] = {
        {ZOOM_IN, 0.8, -445.0, 120.0},
        {ZOOM_OUT, 1.25, -625.0, -150.0},
    };
    for (const ZoomCase &c : cases) {
        SCOPED_TRACE(c.direction);
        startViewer();
        pointAt(MANDEL_WINDOW, 350, 100);
        const FractalView julia = viewer.juliaView;

        zoomAtPointer(c.direction);

        EXPECT_DOUBLE_EQ(viewer.mandelView.scale, c.scale);
        EXPECT_DOUBLE_EQ(viewer.mandelView.centerX, c.centerX);
        EXPECT_DOUBLE_EQ(viewer.mandelView.centerY, c.centerY);
        // Column 350, bottom-up row 400 shows the view-unit point (-125, 600) before and after.
        const FractalView &v = viewer.mandelView;
        EXPECT_NEAR(planeCoordinate(v.centerX, 350, 250, v.scale), -125.0 / 700.0, 1e-12);
        EXPECT_NEAR(planeCoordinate(v.centerY, 400, 250, v.scale), 600.0 / 700.0, 1e-12);
        // Only the pointer's view changes; both are marked, only the pointer's window posted.
        EXPECT_EQ(viewer.juliaView.centerX, julia.centerX);
        EXPECT_EQ(viewer.juliaView.scale, julia.scale);
        EXPECT_TRUE(viewer.mandelDirty);
        EXPECT_TRUE(viewer.juliaDirty);
        EXPECT_EQ(fakeToolkit.calls, Calls{"post 2"});
    }
    // The start state itself shows the same point there.
    EXPECT_EQ(planeCoordinate(-525.0, 350, 250, 1.0), -125.0 / 700.0);
    EXPECT_EQ(planeCoordinate(0.0, 400, 250, 1.0), 600.0 / 700.0);
}

TEST_F(PointerZoomTest, InThenOutRestoresTheViewAndTheCentrePixelOnlyScales)
{
    pointAt(JULIA_WINDOW, 123, 456);
    zoomAtPointer(ZOOM_IN);
    zoomAtPointer(ZOOM_OUT);
    EXPECT_NEAR(viewer.juliaView.centerX, 0.0, 1e-12);
    EXPECT_NEAR(viewer.juliaView.centerY, 0.0, 1e-12);
    EXPECT_NEAR(viewer.juliaView.scale, 1.0, 1e-15);
    EXPECT_EQ(fakeToolkit.calls, (Calls{"post 3", "post 3"}));

    startViewer();
    pointAt(JULIA_WINDOW, 250, 250);
    zoomAtPointer(ZOOM_IN);
    EXPECT_EQ(viewer.juliaView.centerX, 0.0);
    EXPECT_EQ(viewer.juliaView.centerY, 0.0);
    EXPECT_EQ(viewer.juliaView.scale, 0.8);
    zoomAtPointer(ZOOM_OUT);
    zoomAtPointer(ZOOM_OUT);
    EXPECT_EQ(viewer.juliaView.centerX, 0.0);
    EXPECT_DOUBLE_EQ(viewer.juliaView.scale, 1.25);
}

TEST_F(PointerZoomTest, NoViewUnderThePointerChangesNoViewButMarksBoth)
{
    struct {
        int pointerWindow;
        Calls calls;
    } const cases[] = {
        {0, {}},                  // the pointer never moved over a view: nothing posted
        {HELP_WINDOW, {"post 4"}},  // over the help card: the card is posted
    };
    for (const auto &c : cases) {
        for (const int direction : {ZOOM_IN, ZOOM_OUT}) {
            SCOPED_TRACE(c.pointerWindow);
            startViewer();
            if (c.pointerWindow != 0) {
                pointAt(c.pointerWindow, 350, 100);
            } else {
                viewer.mandelDirty = false;
                viewer.juliaDirty = false;
            }
            zoomAtPointer(direction);
            EXPECT_EQ(viewer.mandelView.centerX, -525.0);
            EXPECT_EQ(viewer.mandelView.centerY, 0.0);
            EXPECT_EQ(viewer.mandelView.scale, 1.0);
            EXPECT_EQ(viewer.juliaView.centerX, 0.0);
            EXPECT_EQ(viewer.juliaView.scale, 1.0);
            EXPECT_TRUE(viewer.mandelDirty);
            EXPECT_TRUE(viewer.juliaDirty);
            EXPECT_EQ(fakeToolkit.calls, c.calls);
        }
    }
}
