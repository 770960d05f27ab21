// Mouse buttons, drag pan and the pick of C, through the recording toolkit fake.
#include "app/window_shell.h"
#include "input/drag_pick.h"
#include "input/pointer_zoom.h"
#include "overlay/julia_c_marker.h"
#include "render/escape_time.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

namespace {

constexpr int RELEASE = 1;

void clickIn(int window, int button, int state, int x, int y)
{
    fakeToolkit.current = window;
    onMouseButton(button, state, x, y);
}

void dragIn(int window, int x, int y)
{
    fakeToolkit.current = window;
    onMouseDrag(x, y);
}

enum Effect { NOTHING, HIDES_HELP, PICKS, ENDS_PICK, ZOOMS_IN, ZOOMS_OUT };

struct ButtonCase {
    int button;
    int state;
    int window;
    int mode;  // dragMode afterwards; it starts as DRAG_PAN for releases and right presses,
               // else as DRAG_PICK, so that every change shows
    Effect effect;
};

}  // namespace

TEST_F(ViewerTest, MouseButtonTable)
{
    const int P = MOUSE_PRESS;
    const int R = RELEASE;
    std::vector<ButtonCase> cases;
    for (const int w : {MAIN_WINDOW, MANDEL_WINDOW, JULIA_WINDOW, HELP_WINDOW}) {
        const bool mandel = w == MANDEL_WINDOW;
        cases.push_back({MOUSE_LEFT_BUTTON, P, w, DRAG_PAN, w == HELP_WINDOW ? HIDES_HELP : NOTHING});
        cases.push_back({MOUSE_LEFT_BUTTON, R, w, DRAG_NONE, NOTHING});
        cases.push_back({MOUSE_LEFT_BUTTON, 7, w, DRAG_NONE, NOTHING});  // any non-press releases
        cases.push_back({MOUSE_MIDDLE_BUTTON, P, w, DRAG_PICK, NOTHING});
        cases.push_back({MOUSE_MIDDLE_BUTTON, R, w, DRAG_PAN, NOTHING});
        cases.push_back({MOUSE_RIGHT_BUTTON, P, w, mandel ? DRAG_PICK : DRAG_PAN, mandel ? PICKS : NOTHING});
        cases.push_back({MOUSE_RIGHT_BUTTON, R, w, mandel ? DRAG_NONE : DRAG_PAN, mandel ? ENDS_PICK : NOTHING});
        cases.push_back({MOUSE_WHEEL_UP, P, w, DRAG_PICK, ZOOMS_IN});
        cases.push_back({MOUSE_WHEEL_UP, R, w, DRAG_PAN, NOTHING});
        cases.push_back({MOUSE_WHEEL_DOWN, P, w, DRAG_PICK, ZOOMS_OUT});
        cases.push_back({MOUSE_WHEEL_DOWN, R, w, DRAG_PAN, NOTHING});
        cases.push_back({5, P, w, DRAG_PICK, NOTHING});
        cases.push_back({-1, R, w, DRAG_PAN, NOTHING});
    }

    for (const ButtonCase &c : cases) {
        SCOPED_TRACE("button " + std::to_string(c.button) + " state " + std::to_string(c.state) +
                     " window " + std::to_string(c.window));
        startViewer();
        // The pointer last moved over the Mandelbrot view; the help card is shown; the
        // Julia view is away from its start; the Mandelbrot view is dirty.
        fakeToolkit.current = MANDEL_WINDOW;
        onPointerMove(350, 100);
        viewer.helpVisible = true;
        fakeToolkit.shown.push_back(HELP_WINDOW);
        viewer.juliaView = {70.0, -35.0, 0.5};
        viewer.juliaDirty = false;
        viewer.mandelDirty = true;
        viewer.dragMode =
            c.state == MOUSE_PRESS && c.button != MOUSE_RIGHT_BUTTON ? DRAG_PICK : DRAG_PAN;
        viewer.dragLastX = -9;
        viewer.dragLastY = -9;
        const PlanePoint c0 = viewer.juliaC;
        resetFakeToolkit(MAIN_WINDOW);

        clickIn(c.window, c.button, c.state, 250, 100);

        EXPECT_EQ(viewer.dragMode, c.mode);
        const bool leftPress = c.button == MOUSE_LEFT_BUTTON && c.state == MOUSE_PRESS;
        EXPECT_EQ(viewer.dragLastX, leftPress ? 250 : -9);
        EXPECT_EQ(viewer.dragLastY, leftPress ? 100 : -9);
        // Only the help click hides the card; only a pick changes C and the Julia view.
        EXPECT_EQ(viewer.helpVisible, c.effect != HIDES_HELP);
        EXPECT_EQ(viewer.juliaC.re, c.effect == PICKS ? -0.75 : c0.re);
        EXPECT_EQ(viewer.juliaView.scale, c.effect == PICKS ? 1.0 : 0.5);
        EXPECT_EQ(viewer.juliaView.centerX, c.effect == PICKS ? 0.0 : 70.0);
        EXPECT_EQ(viewer.juliaDirty, c.effect == PICKS || c.effect == ZOOMS_IN || c.effect == ZOOMS_OUT);
        EXPECT_EQ(viewer.mandelDirty, c.effect != ENDS_PICK);
        const double scale = c.effect == ZOOMS_IN ? 0.8 : c.effect == ZOOMS_OUT ? 1.25 : 1.0;
        EXPECT_DOUBLE_EQ(viewer.mandelView.scale, scale);
        // The wheel zooms about the recorded pointer, not the event's position.
        EXPECT_DOUBLE_EQ(viewer.mandelView.centerX, c.effect == ZOOMS_IN    ? -445.0
                                                    : c.effect == ZOOMS_OUT ? -625.0
                                                                            : -525.0);

        Calls calls;
        if (c.effect == HIDES_HELP) calls = {"set 4", "hide"};
        if (c.effect == PICKS) calls = {"post 3"};
        if (c.effect == ZOOMS_IN || c.effect == ZOOMS_OUT) calls = {"post 2"};
        EXPECT_EQ(fakeToolkit.calls, calls);
    }
}

TEST_F(ViewerTest, DragModeFollowsTheLatestPressAndAnyReleaseEndsIt)
{
    struct Step {
        int button;
        int state;
        int window;
        int mode;
    } const steps[] = {
        {MOUSE_LEFT_BUTTON, MOUSE_PRESS, MANDEL_WINDOW, DRAG_PAN},
        {MOUSE_RIGHT_BUTTON, MOUSE_PRESS, MANDEL_WINDOW, DRAG_PICK},  // a pick takes over a pan
        {MOUSE_LEFT_BUTTON, RELEASE, MANDEL_WINDOW, DRAG_NONE},       // a left release ends a pick
        {MOUSE_RIGHT_BUTTON, MOUSE_PRESS, MANDEL_WINDOW, DRAG_PICK},
        {MOUSE_LEFT_BUTTON, MOUSE_PRESS, JULIA_WINDOW, DRAG_PAN},     // a pan takes over a pick
        {MOUSE_RIGHT_BUTTON, RELEASE, JULIA_WINDOW, DRAG_PAN},        // not on the Mandelbrot view
        {MOUSE_RIGHT_BUTTON, RELEASE, MANDEL_WINDOW, DRAG_NONE},      // a right release ends a pan
        {MOUSE_RIGHT_BUTTON, MOUSE_PRESS, JULIA_WINDOW, DRAG_NONE},
        {MOUSE_LEFT_BUTTON, MOUSE_PRESS, HELP_WINDOW, DRAG_PAN},
        {MOUSE_LEFT_BUTTON, RELEASE, MAIN_WINDOW, DRAG_NONE},
    };
    for (const Step &s : steps) {
        clickIn(s.window, s.button, s.state, 10, 20);
        EXPECT_EQ(viewer.dragMode, s.mode) << "button " << s.button << " window " << s.window;
    }
}

TEST_F(ViewerTest, MotionWithoutPanOrPickDoesNothing)
{
    const PlanePoint c0 = viewer.juliaC;
    struct {
        int mode;
        int window;
    } const cases[] = {
        {DRAG_NONE, MANDEL_WINDOW}, {DRAG_NONE, JULIA_WINDOW}, {DRAG_PICK, JULIA_WINDOW}};
    for (const auto &c : cases) {
        viewer.dragMode = c.mode;
        viewer.dragLastX = 5;
        resetFakeToolkit();
        dragIn(c.window, 100, 100);
        EXPECT_EQ(fakeToolkit.calls, Calls{});
        EXPECT_EQ(viewer.juliaC.re, c0.re);
        EXPECT_EQ(viewer.dragLastX, 5);
        EXPECT_EQ(viewer.mandelView.centerX, -525.0);
        EXPECT_EQ(viewer.juliaView.centerX, 0.0);
    }
}

// Pick examples on the Mandelbrot start view, 500 x 500.
TEST_F(ViewerTest, PickSetsTheMirroredPointAndRestartsTheJuliaView)
{
    struct {
        int x;
        int y;
        double re;
        double im;
    } const cases[] = {
        {250, 250, -0.75, 0.0},
        {250, 100, -0.75, -600.0 / 700.0},  // 150 pixels above the centre
        {400, 250, 75.0 / 700.0, 0.0},
        {0, 499, -1525.0 / 700.0, 996.0 / 700.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        viewer.juliaView = {12.0, 34.0, 0.25};
        viewer.juliaDirty = false;
        resetFakeToolkit();
        clickIn(MANDEL_WINDOW, MOUSE_RIGHT_BUTTON, MOUSE_PRESS, c.x, c.y);
        EXPECT_DOUBLE_EQ(viewer.juliaC.re, c.re);
        EXPECT_DOUBLE_EQ(viewer.juliaC.im, c.im);
        EXPECT_EQ(viewer.juliaView.centerX, 0.0);
        EXPECT_EQ(viewer.juliaView.centerY, 0.0);
        EXPECT_EQ(viewer.juliaView.scale, 1.0);
        EXPECT_TRUE(viewer.juliaDirty);
        // Only the Julia view is posted by the press.
        EXPECT_EQ(fakeToolkit.calls, Calls{"post 3"});
        // The marker of C stands on the picked pixel (bottom-up row 2 x 250 - y).
        const MarkerPosition at = juliaCMarkerPosition(viewer.mandelView, viewer.juliaC, 500, 500);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, 500 - c.y);
    }

    // At the centre pixel C is the conjugate of the centre, whatever the navigation.
    viewer.mandelView = {140.0, 70.0, 0.5};
    pickJuliaC(250, 250);
    EXPECT_DOUBLE_EQ(viewer.juliaC.re, 0.2);
    EXPECT_DOUBLE_EQ(viewer.juliaC.im, -0.1);
}

TEST_F(ViewerTest, PickStepRedrawsTheMandelbrotViewWithoutRecomputingIt)
{
    clickIn(MANDEL_WINDOW, MOUSE_RIGHT_BUTTON, MOUSE_PRESS, 250, 250);
    viewer.mandelDirty = true;
    resetFakeToolkit();
    dragIn(MANDEL_WINDOW, 400, 250);
    EXPECT_DOUBLE_EQ(viewer.juliaC.re, 75.0 / 700.0);
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_TRUE(viewer.juliaDirty);
    EXPECT_EQ(fakeToolkit.calls, (Calls{"post 3", "post 2"}));

    // The release leaves the buffer as it is: no recomputation at the next display.
    viewer.mandelDirty = true;
    resetFakeToolkit();
    clickIn(MANDEL_WINDOW, MOUSE_RIGHT_BUTTON, RELEASE, 400, 250);
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_EQ(fakeToolkit.calls, Calls{});
}

// Pan steps on a small odd-sized view. With integer centres and scale 1 every plane
// coordinate is exact, so the shifted buffer plus the computed strips must equal a full
// render at the new centre byte for byte.
namespace {

constexpr int W = 30;
constexpr int H = 41;

std::vector<uint8_t> fullRender(RenderJob job)
{
    std::vector<uint8_t> pixels(size_t(W) * H * 3);
    renderImage(job, FULL_RENDER, pixels.data());
    return pixels;
}

struct PanCase {
    int dx;
    int dy;
};

}  // namespace

TEST(PanTest, ShiftPlusStripsEqualsAFullRenderAtTheNewCentre)
{
    const PanCase cases[] = {
        {3, 0}, {0, 2}, {3, 2}, {-4, -5}, {-3, 2}, {5, -7}, {0, 0}, {1, 1},
        {W - 1, 0}, {W, 0}, {0, H}, {-W, 0}, {0, -H}, {W + 5, 1},  // whole view recomputed
        {2, -(H + 3)}, {-(W + 1), H + 2},                           // |k| beyond the buffer
    };
    for (const int window : {MANDEL_WINDOW, JULIA_WINDOW}) {
        for (const PanCase &c : cases) {
            SCOPED_TRACE("window " + std::to_string(window) + " dx " + std::to_string(c.dx) +
                         " dy " + std::to_string(c.dy));
            startViewer(2 * W + 30, H + 20);
            ASSERT_EQ(viewer.viewWidth, W);
            ASSERT_EQ(viewer.viewHeight, H);
            viewer.maxIterations = 64;
            viewer.juliaC = {-0.75, 0.125};
            const bool julia = window == JULIA_WINDOW;
            FractalView &view = julia ? viewer.juliaView : viewer.mandelView;
            PixelBuffer &pixels = julia ? viewer.juliaPixels : viewer.mandelPixels;
            view = julia ? FractalView{21.0, -7.0, 1.0} : FractalView{-400.0, 30.0, 1.0};
            julia ? renderJulia(FULL_RENDER) : renderMandelbrot(FULL_RENDER);

            // A pixel that the step retains must come from the old picture, moved, not
            // recomputed: mark its old position with a colour no render gives here.
            const int keepColumn = c.dx >= 0 ? W - 1 : 0;
            const int keepRow = c.dy >= 0 ? 0 : H - 1;
            const bool retains = c.dx < W && -c.dx < W && c.dy < H && -c.dy < H;
            if (retains) {
                uint8_t *old = pixels.bytes + 3 * ((keepRow + c.dy) * W + keepColumn - c.dx);
                old[0] = 1;
                old[1] = 2;
                old[2] = 3;
            }
            const double cx = view.centerX;
            const double cy = view.centerY;
            viewer.mandelDirty = true;
            viewer.juliaDirty = true;

            clickIn(window, MOUSE_LEFT_BUTTON, MOUSE_PRESS, 10, 12);
            resetFakeToolkit();
            dragIn(window, 10 + c.dx, 12 + c.dy);

            EXPECT_EQ(view.centerX, cx - 4.0 * c.dx);
            EXPECT_EQ(view.centerY, cy + 4.0 * c.dy);
            EXPECT_EQ(viewer.dragDeltaX, c.dx);
            EXPECT_EQ(viewer.dragDeltaY, c.dy);
            EXPECT_EQ(viewer.dragLastX, 10 + c.dx);
            EXPECT_EQ(viewer.dragLastY, 12 + c.dy);
            EXPECT_EQ(fakeToolkit.calls, Calls{"post " + std::to_string(window)});
            EXPECT_FALSE(julia ? viewer.juliaDirty : viewer.mandelDirty);
            EXPECT_TRUE(julia ? viewer.mandelDirty : viewer.juliaDirty);  // the other view untouched

            std::vector<uint8_t> expected = fullRender(julia ? juliaJob() : mandelbrotJob());
            if (retains) {
                uint8_t *kept = expected.data() + 3 * (keepRow * W + keepColumn);
                kept[0] = 1;
                kept[1] = 2;
                kept[2] = 3;
            }
            ASSERT_EQ(pixels.length, expected.size());
            EXPECT_EQ(std::vector<uint8_t>(pixels.bytes, pixels.bytes + pixels.length), expected);
        }
    }
    releaseViewerBuffers();
}

TEST(PanTest, ExposedStripsFollowTheMoveAndTheShiftStaysInTheBuffer)
{
    struct {
        int dx;
        int dy;
        ExposedStrips strips;
    } const cases[] = {
        {3, 0, {3, 499, +1, -1}},     // columns 0..2
        {0, 2, {0, 497, +1, -1}},     // the top two rows
        {-3, -2, {496, 2, -1, +1}},   // columns 497..499 and the bottom two rows
        {0, 0, {0, 499, +1, -1}},     // nothing
    };
    for (const auto &c : cases) {
        const ExposedStrips s = panStrips(c.dx, c.dy, 500, 500);
        EXPECT_EQ(s.columnLimit, c.strips.columnLimit);
        EXPECT_EQ(s.rowLimit, c.strips.rowLimit);
        EXPECT_EQ(s.columnSign, c.strips.columnSign);
        EXPECT_EQ(s.rowSign, c.strips.rowSign);
    }

    // 4 x 3 pixels, each byte its own index: dx = 3 moves 9 bytes toward the end, dy = 1
    // moves one row (12 bytes) toward the start; a move of the whole length or more
    // moves nothing.
    struct {
        int dx;
        int dy;
        int firstMoved;  // where byte 0 lands (-1: byte 0 is left as it was)
        int moveBy;
    } const shifts[] = {{3, 0, 9, 9}, {0, 1, -1, -12}, {1, -2, 27, 27}, {0, 3, -1, 0},
                        {4, -2, -1, 0}, {-5, 4, -1, 0}};
    for (const auto &s : shifts) {
        uint8_t bytes[36];
        for (int i = 0; i < 36; ++i) bytes[i] = uint8_t(i);
        PixelBuffer buffer{bytes, 36, 36};
        shiftPixels(buffer, s.dx, s.dy, 4);
        for (int i = 0; i < 36; ++i) {
            const int from = i - s.moveBy;
            const int expected = from >= 0 && from < 36 ? from : i;  // uncovered bytes stay
            ASSERT_EQ(bytes[i], expected) << "dx " << s.dx << " dy " << s.dy << " byte " << i;
        }
        if (s.firstMoved >= 0) {
            EXPECT_EQ(bytes[s.firstMoved], 0);
        }
    }
}

TEST_F(ViewerTest, PanOfAnEmptyViewNeitherShiftsNorComputes)
{
    renderMandelbrot(FULL_RENDER);
    const std::vector<uint8_t> before(viewer.mandelPixels.bytes,
                                      viewer.mandelPixels.bytes + viewer.mandelPixels.length);
    onReshape(29, 100);  // refused: viewWidth 0
    ASSERT_EQ(viewer.viewWidth, 0);
    viewer.mandelDirty = true;
    clickIn(MANDEL_WINDOW, MOUSE_LEFT_BUTTON, MOUSE_PRESS, 10, 10);
    resetFakeToolkit();
    dragIn(MANDEL_WINDOW, 13, 12);

    // The navigation stays with the picture it describes.
    EXPECT_EQ(viewer.mandelView.centerX, -525.0);
    EXPECT_EQ(viewer.mandelView.centerY, 0.0);
    EXPECT_TRUE(viewer.mandelDirty);
    EXPECT_EQ(std::vector<uint8_t>(viewer.mandelPixels.bytes,
                                   viewer.mandelPixels.bytes + viewer.mandelPixels.length),
              before);
    EXPECT_EQ(viewer.dragLastX, 13);
    EXPECT_EQ(viewer.dragDeltaX, 3);
    EXPECT_EQ(fakeToolkit.calls, Calls{"post 2"});
}
