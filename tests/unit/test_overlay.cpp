// The info overlay's lines, the position of the marker of C, centred text, and what
// the display pass of a view draws with the overlay on and off.
#include "app/window_shell.h"
#include "overlay/centered_text.h"
#include "overlay/info_overlay.h"
#include "overlay/julia_c_marker.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

TEST(OverlayTextTest, MandelbrotViewAtStart)
{
    OverlayText text;
    formatOverlayText(startViewerState(), false, text);
    EXPECT_STREQ(text.title, "Mandelbrot set");
    EXPECT_STREQ(text.scale, "   scale: 1");
    EXPECT_STREQ(text.position, "position:-0.750000 +0.000000 i");
    EXPECT_STREQ(text.juliaC, "");
    EXPECT_STREQ(text.limits, "");
    EXPECT_EQ(text.titleBoxWidth, 134);
    EXPECT_EQ(text.bandHeight, 40);
}

TEST(OverlayTextTest, JuliaViewAtStart)
{
    OverlayText text;
    formatOverlayText(startViewerState(), true, text);
    EXPECT_STREQ(text.title, "Julia set");
    EXPECT_STREQ(text.scale, "   scale: 1");
    // A space stands where the sign of a non-negative real part would.
    EXPECT_STREQ(text.position, "position: 0.000000 +0.000000 i");
    EXPECT_STREQ(text.juliaC, "      C =-0.188000 +0.666000 i");
    // Palette 0 has an empty name: nothing follows "palette: ".
    EXPECT_STREQ(text.limits, "iterations: 128\npalette: ");
    EXPECT_EQ(text.titleBoxWidth, 77);
    EXPECT_EQ(text.bandHeight, 55);
}

TEST(OverlayTextTest, LinesFollowTheState)
{
    struct Case {
        FractalView view;
        PlanePoint c;
        int maxIterations;
        uint32_t paletteIndex;
        const char *scale;
        const char *position;
        const char *juliaC;
        const char *limits;
    };
    const Case cases[] = {
        {{0.0, 0.0, 0.8}, {-0.188, 0.666}, 128, 0, "   scale: 1.25", "position: 0.000000 +0.000000 i",
         "      C =-0.188000 +0.666000 i", "iterations: 128\npalette: "},
        {{700.0, -350.0, 0.001}, {0.25, -0.5}, 256, 3, "   scale: 1000",
         "position: 1.000000 -0.500000 i", "      C = 0.250000 -0.500000 i", "iterations: 256\npalette: greens"},
        {{-7.0, 0.7, 4.0}, {-0.0, 0.0}, 1, 9, "   scale: 0.25", "position:-0.010000 +0.001000 i",
         "      C =-0.000000 +0.000000 i", "iterations: 1\npalette: rose"},
        {{0.0, 0.0, 1e-7}, {0.0, 0.0}, 1 << 30, 6, "   scale: 1e+07", "position: 0.000000 +0.000000 i",
         "      C = 0.000000 +0.000000 i", "iterations: 1073741824\npalette: jutemap"},
    };
    for (const Case &c : cases) {
        ViewerState state = startViewerState();
        state.juliaView = c.view;
        state.juliaC = c.c;
        state.maxIterations = c.maxIterations;
        state.paletteIndex = c.paletteIndex;
        OverlayText text;
        formatOverlayText(state, true, text);
        EXPECT_STREQ(text.scale, c.scale);
        EXPECT_STREQ(text.position, c.position);
        EXPECT_STREQ(text.juliaC, c.juliaC);
        EXPECT_STREQ(text.limits, c.limits);

        // The Mandelbrot view shows its own view, not the Julia view's.
        state.mandelView = c.view;
        state.juliaView = {0.0, 0.0, 1.0};
        formatOverlayText(state, false, text);
        EXPECT_STREQ(text.position, c.position);
        EXPECT_STREQ(text.scale, c.scale);
    }
}

// A centre of 1e300 view units and a C of -1e300 give lines of some 300 characters:
// each is cut to its 68-byte buffer, terminator included, and nothing past it is written.
TEST(OverlayTextTest, OverlongLinesAreCutToTheirBuffers)
{
    ViewerState state = startViewerState();
    state.juliaView = {1e300, 1e300, 1.0};
    state.juliaC = {-1e300, -1e300};

    struct Guarded {
        OverlayText text;
        unsigned char after[64];
    } guarded;
    std::memset(&guarded, 0x5a, sizeof guarded);
    formatOverlayText(state, true, guarded.text);

    char full[1024];
    std::snprintf(full, sizeof full, "position:% f %+f i", 1e300 * 0.25 * 4.0 / 700.0,
                  1e300 * 0.25 * 4.0 / 700.0);
    ASSERT_GT(std::strlen(full), 600u);
    EXPECT_EQ(std::strlen(guarded.text.position), 67u);
    EXPECT_EQ(std::string(full, 67), guarded.text.position);

    std::snprintf(full, sizeof full, "      C =% f %+f i", -1e300, -1e300);
    EXPECT_EQ(std::strlen(guarded.text.juliaC), 67u);
    EXPECT_EQ(std::string(full, 67), guarded.text.juliaC);
    EXPECT_EQ(std::string(guarded.text.juliaC, 10), "      C =-");

    // Lines written after the long ones are intact, and nothing past the record changed.
    EXPECT_STREQ(guarded.text.limits, "iterations: 128\npalette: ");
    EXPECT_EQ(guarded.text.titleBoxWidth, 77);
    for (unsigned char byte : guarded.after) {
        ASSERT_EQ(byte, 0x5a);
    }
}

TEST(JuliaCMarkerTest, PositionOfTheCross)
{
    struct Case {
        FractalView view;
        PlanePoint c;
        int width;
        int height;
        int x;
        int y;
    };
    const Case cases[] = {
        // start: 348.35 and 133.45
        {{-525.0, 0.0, 1.0}, {-0.188, 0.666}, 500, 500, 348, 133},
        // C at the view's centre lands on (W/2, H/2)
        {{-525.0, 0.0, 1.0}, {-0.75, 0.0}, 500, 500, 250, 250},
        // zoomed in twice as far: 446.7 and 16.9
        {{-525.0, 0.0, 0.5}, {-0.188, 0.666}, 500, 500, 446, 16},
        // left of the view: -143.75 truncates toward zero, to -143
        {{-525.0, 0.0, 1.0}, {-3.0, 0.0}, 500, 500, -143, 250},
        // an odd-sized view uses the integer halves 200 and 150
        {{0.0, 0.0, 1.0}, {0.0, 0.0}, 401, 301, 200, 150},
        // a centre above the real axis moves the cross down, as the pick does: 250 - 175
        {{0.0, 700.0, 1.0}, {0.0, 0.0}, 500, 500, 250, 75},
    };
    for (const Case &c : cases) {
        const MarkerPosition at = juliaCMarkerPosition(c.view, c.c, c.width, c.height);
        EXPECT_EQ(at.x, c.x) << c.c.re << " " << c.c.im << " scale " << c.view.scale;
        EXPECT_EQ(at.y, c.y) << c.c.re << " " << c.c.im << " scale " << c.view.scale;
    }
}

// The marker inverts the pick of C, which reads the pointer's y downward from the top:
// a pick at pointer (px, py) puts the cross at (px, 2 x (H/2) - py), up to truncation.
static PlanePoint pickedC(FractalView view, int px, int py, int width, int height)
{
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    return {4.0 * ((px - halfWidth) * view.scale / 700.0 + view.centerX * 0.25 / 700.0),
            4.0 * ((py - halfHeight) * view.scale / 700.0 - view.centerY * 0.25 / 700.0)};
}

TEST(JuliaCMarkerTest, CrossOfAPickStandsUnderThePointer)
{
    // The start view, pointer (348, 367): C is about -0.19 + 0.668571i, cross at (348, 133).
    const PlanePoint c = pickedC({-525.0, 0.0, 1.0}, 348, 367, 500, 500);
    EXPECT_NEAR(c.re, -0.19, 1e-12);
    EXPECT_NEAR(c.im, 0.668571, 1e-6);
    const MarkerPosition at = juliaCMarkerPosition({-525.0, 0.0, 1.0}, c, 500, 500);
    EXPECT_EQ(at.x, 348);
    EXPECT_EQ(at.y, 133);

    const FractalView views[] = {{-525.0, 0.0, 1.0}, {-300.5, 123.25, 0.8}, {1000.0, -77.0, 0.001},
                                 {3.0, 9.0, 3.5}};
    const int sizes[][2] = {{500, 500}, {401, 300}, {1, 1}};
    const int pointers[][2] = {{0, 0}, {348, 367}, {17, 250}, {399, 1}, {250, 250}};
    for (const FractalView &view : views) {
        for (const auto &size : sizes) {
            for (const auto &pointer : pointers) {
                const PlanePoint picked = pickedC(view, pointer[0], pointer[1], size[0], size[1]);
                const MarkerPosition cross = juliaCMarkerPosition(view, picked, size[0], size[1]);
                const int expectedY = 2 * (size[1] / 2) - pointer[1];
                EXPECT_LE(std::abs(cross.x - pointer[0]), 1) << pointer[0] << "," << pointer[1];
                EXPECT_LE(std::abs(cross.y - expectedY), 1) << pointer[0] << "," << pointer[1];
            }
        }
    }
}

TEST(JuliaCMarkerTest, FarOutsideTheViewStaysWithinInt)
{
    const MarkerPosition at = juliaCMarkerPosition({0.0, 0.0, 1e-300}, {1.0, -1.0}, 500, 500);
    EXPECT_GT(at.x, 1000000);
    EXPECT_GT(at.y, 1000000);
    EXPECT_LT(at.x, INT32_MAX - 10);
    EXPECT_LT(at.y, INT32_MAX - 10);
    const MarkerPosition below = juliaCMarkerPosition({0.0, 0.0, 1e-300}, {-1.0, 1.0}, 500, 500);
    EXPECT_LT(below.x, -1000000);
    EXPECT_GT(below.x, INT32_MIN + 10);
    EXPECT_LT(below.y, -1000000);
}

TEST(CenteredTextTest, StartsHalfItsWidthLeftOfTheCentreButNotLeftOfTheEdge)
{
    struct Case {
        int width;
        int centreX;
        int x;
    };
    const Case cases[] = {
        {36, 200, 182},  // "HELP" on the help card
        {37, 200, 182},  // half of an odd width truncates
        {134, 250, 183},
        {100, 50, 0},    // exactly twice the centre
        {101, 50, 0},    // wider than twice the centre: at the left edge
        {140, 5, 0},
        {0, 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(centeredTextX(c.width, c.centreX), c.x) << c.width << " about " << c.centreX;
    }
    EXPECT_EQ(bitmapTextWidth(FONT_9_BY_15, "HELP"), 36);
    EXPECT_EQ(bitmapTextWidth(FONT_9_BY_15, ""), 0);
}

class OverlayDisplayTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        // Clean views: the display pass only redraws, so the test needs no render.
        viewer.mandelDirty = false;
        viewer.juliaDirty = false;
    }

    Texts displayOf(int window)
    {
        resetFakeToolkit(window);
        displayView();
        return fakeToolkit.texts;
    }
};

TEST_F(OverlayDisplayTest, OverlayOnDrawsTheLinesOfEachView)
{
    EXPECT_EQ(displayOf(MANDEL_WINDOW),
              (Texts{"Mandelbrot set", "   scale: 1", "position:-0.750000 +0.000000 i"}));
    EXPECT_EQ(displayOf(JULIA_WINDOW),
              (Texts{"Julia set", "   scale: 1", "position: 0.000000 +0.000000 i",
                     "      C =-0.188000 +0.666000 i", "iterations: 128\npalette: "}));
    EXPECT_TRUE(displayOf(MAIN_WINDOW).empty());

    viewer.paletteIndex = 7;
    viewer.maxIterations = 64;
    EXPECT_EQ(displayOf(JULIA_WINDOW).back(), "iterations: 64\npalette: mandmap");
    // Drawing recomputes nothing and changes no state.
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_FALSE(viewer.juliaDirty);
    EXPECT_TRUE(fakeToolkit.calls.empty());
}

TEST_F(OverlayDisplayTest, OverlayOffDrawsNoText)
{
    viewer.infoVisible = false;
    EXPECT_TRUE(displayOf(MANDEL_WINDOW).empty());
    EXPECT_TRUE(displayOf(JULIA_WINDOW).empty());
}

TEST_F(OverlayDisplayTest, EmptyViewGetsNoOverlay)
{
    releaseViewerBuffers();
    EXPECT_TRUE(displayOf(MANDEL_WINDOW).empty());
    EXPECT_TRUE(displayOf(JULIA_WINDOW).empty());
}

TEST_F(OverlayDisplayTest, DrawInfoOverlayAloneDrawsTheViewsLinesInOrder)
{
    resetFakeToolkit(JULIA_WINDOW);
    viewer.juliaC = {0.3, -0.01};
    drawInfoOverlay(JULIA_WINDOW);
    EXPECT_EQ(fakeToolkit.texts,
              (Texts{"Julia set", "   scale: 1", "position: 0.000000 +0.000000 i",
                     "      C = 0.300000 -0.010000 i", "iterations: 128\npalette: "}));
}
