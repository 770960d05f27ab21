// The window shell: the layout on a reshape (accepted and refused sizes), full
// screen in both directions, and what a display pass computes.
#include "app/window_shell.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

TEST(WindowTitleTest, CarriesTheProcessorCount)
{
    char title[64];
    formatWindowTitle(title, sizeof title, 8);
    EXPECT_STREQ(title, "Mandelbrot & Julia sets - 8 processors/cores");
}

TEST_F(ViewerTest, AcceptedReshapesLayTheWindowsOut)
{
    const struct {
        int width, height;
        int viewWidth, viewHeight;
        Calls calls;  // with a border width of 3
    } cases[] = {
        {831, 620, 400, 600,
         {"set 2", "position 13 13", "resize 400 600", "set 3", "position 423 13",
          "resize 400 600", "set 4", "position 215 160", "post 2", "post 3"}},
        {1030, 520, 500, 500,
         {"set 2", "position 13 13", "resize 500 500", "set 3", "position 523 13",
          "resize 500 500", "set 4", "position 315 110", "post 2", "post 3"}},
        {32, 600, 1, 580,
         {"set 2", "position 13 13", "resize 1 580", "set 3", "position 24 13", "resize 1 580",
          "set 4", "position -184 150", "post 2", "post 3"}},
        {600, 21, 285, 1,
         {"set 2", "position 13 13", "resize 285 1", "set 3", "position 308 13", "resize 285 1",
          "set 4", "position 100 -139", "post 2", "post 3"}},
        {300, 200, 135, 180,
         {"set 2", "position 13 13", "resize 135 180", "set 3", "position 158 13",
          "resize 135 180", "set 4", "position -50 -50", "post 2", "post 3"}},
    };
    viewer.borderWidth = 3;
    for (const auto &c : cases) {
        resetFakeToolkit(MAIN_WINDOW);
        viewer.mandelDirty = viewer.juliaDirty = false;
        onReshape(c.width, c.height);
        EXPECT_EQ(viewer.windowWidth, c.width);
        EXPECT_EQ(viewer.windowHeight, c.height);
        EXPECT_EQ(viewer.viewWidth, c.viewWidth);
        EXPECT_EQ(viewer.viewHeight, c.viewHeight);
        EXPECT_EQ(fakeToolkit.calls, c.calls) << c.width << "x" << c.height;
        const size_t length = size_t(c.viewWidth) * c.viewHeight * 3;
        EXPECT_EQ(viewer.mandelPixels.length, length);
        EXPECT_EQ(viewer.juliaPixels.length, length);
        EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty);
    }
}

TEST_F(ViewerTest, RefusedReshapesStoreTheSizesAndChangeNothingElse)
{
    const struct {
        int width, height;
        int viewWidth, viewHeight;
    } cases[] = {
        {31, 600, 0, 580}, {600, 20, 285, 0},  {29, 100, 0, 80},
        {28, 100, -1, 80}, {0, 0, -15, -20},   {INT_MIN, INT_MIN, -1073741839, INT_MIN},
    };
    for (const auto &c : cases) {
        startViewer();
        viewer.mandelDirty = viewer.juliaDirty = false;
        onReshape(c.width, c.height);
        EXPECT_EQ(viewer.windowWidth, c.width);
        EXPECT_EQ(viewer.windowHeight, c.height);
        EXPECT_EQ(viewer.viewWidth, c.viewWidth) << c.width << "x" << c.height;
        EXPECT_EQ(viewer.viewHeight, c.viewHeight) << c.width << "x" << c.height;
        EXPECT_TRUE(fakeToolkit.calls.empty()) << c.width << "x" << c.height;
        EXPECT_EQ(viewer.mandelPixels.length, 750000u);
        EXPECT_EQ(viewer.juliaPixels.length, 750000u);
        EXPECT_FALSE(viewer.mandelDirty || viewer.juliaDirty);

        // The views count as empty: a display computes and draws nothing.
        viewer.mandelDirty = true;
        viewer.mandelPixels.bytes[0] = 7;
        resetFakeToolkit(MANDEL_WINDOW);
        displayView();
        EXPECT_EQ(viewer.mandelPixels.bytes[0], 7);
    }
}

TEST_F(ViewerTest, BuffersThatCannotGrowLeaveTheViewsEmptyUntilAReshapeSucceeds)
{
    onReshape(INT_MAX, INT_MAX);  // far more memory than any machine has
    EXPECT_EQ(viewer.mandelPixels.length, 750000u);
    EXPECT_FALSE(viewHasImage(viewer.mandelPixels));
    EXPECT_FALSE(viewHasImage(viewer.juliaPixels));
    resetFakeToolkit(MANDEL_WINDOW);
    displayView();  // must neither compute into nor draw from the short buffer
    EXPECT_FALSE(viewer.mandelDirty);

    onReshape(1030, 520);
    EXPECT_TRUE(viewHasImage(viewer.mandelPixels));
    EXPECT_TRUE(viewer.mandelDirty);
    resetFakeToolkit(MANDEL_WINDOW);
    displayView();
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_EQ(viewer.mandelPixels.bytes[(250 * 500 + 250) * 3], 255);
}

TEST_F(ViewerTest, DisplayComputesOnlyDirtyViewsAndNeverInTheMainWindow)
{
    std::vector<unsigned char> sentinel(750000, 9);
    std::memcpy(viewer.mandelPixels.bytes, sentinel.data(), sentinel.size());
    std::memcpy(viewer.juliaPixels.bytes, sentinel.data(), sentinel.size());

    resetFakeToolkit(MAIN_WINDOW);
    displayView();
    EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty) << "the main window computes nothing";
    EXPECT_EQ(0, std::memcmp(viewer.mandelPixels.bytes, sentinel.data(), sentinel.size()));

    resetFakeToolkit(JULIA_WINDOW);
    displayView();
    EXPECT_FALSE(viewer.juliaDirty);
    EXPECT_TRUE(viewer.mandelDirty) << "only the displayed view is computed";
    EXPECT_NE(0, std::memcmp(viewer.juliaPixels.bytes, sentinel.data(), sentinel.size()));

    // A clean view is redrawn from its buffer as it is.
    viewer.mandelDirty = false;
    resetFakeToolkit(MANDEL_WINDOW);
    displayView();
    EXPECT_EQ(0, std::memcmp(viewer.mandelPixels.bytes, sentinel.data(), sentinel.size()));
}

TEST(DisplayBeforeFirstReshapeTest, TouchesNoEmptyBuffer)
{
    releaseViewerBuffers();
    viewer = startViewerState();
    viewer.mainWindow = MAIN_WINDOW;
    viewer.mandelWindow = MANDEL_WINDOW;
    viewer.juliaWindow = JULIA_WINDOW;
    for (int window : {MANDEL_WINDOW, JULIA_WINDOW, MAIN_WINDOW}) {
        resetFakeToolkit(window);
        displayView();
    }
    EXPECT_EQ(viewer.mandelPixels.bytes, nullptr);
    EXPECT_EQ(viewer.juliaPixels.bytes, nullptr);
}

TEST_F(ViewerTest, FullScreenSavesTheFrameAndPutsItBack)
{
    viewer.borderWidth = 3;
    fakeToolkit.queryAnswers[QUERY_WINDOW_X] = 100;
    fakeToolkit.queryAnswers[QUERY_WINDOW_Y] = 200;
    fakeToolkit.queryAnswers[QUERY_WINDOW_HEADER_HEIGHT] = 20;
    viewer.mandelDirty = viewer.juliaDirty = false;
    resetFakeToolkit(JULIA_WINDOW);

    toggleFullscreen();
    EXPECT_TRUE(viewer.fullscreen);
    EXPECT_EQ(viewer.savedWindowX, 97);
    EXPECT_EQ(viewer.savedWindowY, 177);
    EXPECT_EQ(viewer.savedWindowWidth, 1030);
    EXPECT_EQ(viewer.savedWindowHeight, 520);
    EXPECT_EQ(fakeToolkit.calls, (Calls{"set 1", "fullscreen"}));
    EXPECT_EQ(fakeToolkit.current, MAIN_WINDOW) << "full screen applies to the current window";
    EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty);

    // The toolkit then reports the screen's size.
    onReshape(1280, 1024);
    viewer.mandelDirty = viewer.juliaDirty = false;
    resetFakeToolkit(MANDEL_WINDOW);
    toggleFullscreen();
    EXPECT_FALSE(viewer.fullscreen);
    EXPECT_EQ(fakeToolkit.calls, (Calls{"set 1", "position 97 177", "resize 1030 520"}));
    EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty);

    fakeToolkit.queryAnswers[QUERY_WINDOW_X] = 0;
    fakeToolkit.queryAnswers[QUERY_WINDOW_Y] = 0;
    fakeToolkit.queryAnswers[QUERY_WINDOW_HEADER_HEIGHT] = 0;
}
