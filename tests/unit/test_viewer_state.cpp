// The viewer state: start values, navigation reset and the pixel buffer's resize rule.
#include "app/viewer_state.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(PixelBufferTest, GrowKeepsBytesByPositionAndZeroFillsTheRest)
{
    PixelBuffer buffer{};
    ASSERT_TRUE(resizePixelBuffer(buffer, 600000));  // 400 x 500 pixels
    for (size_t i = 0; i < buffer.length; ++i) {
        buffer.bytes[i] = uint8_t(i * 7 + 1);
    }
    ASSERT_TRUE(resizePixelBuffer(buffer, 750000));  // 500 x 500 pixels
    ASSERT_EQ(buffer.length, 750000u);
    for (size_t i = 0; i < 600000; ++i) {
        ASSERT_EQ(buffer.bytes[i], uint8_t(i * 7 + 1)) << "byte " << i;
    }
    for (size_t i = 600000; i < 750000; ++i) {
        ASSERT_EQ(buffer.bytes[i], 0) << "byte " << i;
    }

    // Shrinking keeps the head; growing again must not bring the dropped tail back.
    buffer.bytes[700000] = 99;
    ASSERT_TRUE(resizePixelBuffer(buffer, 600000));
    ASSERT_EQ(buffer.length, 600000u);
    EXPECT_EQ(buffer.bytes[599999], uint8_t(599999 * 7 + 1));
    ASSERT_TRUE(resizePixelBuffer(buffer, 750000));
    EXPECT_EQ(buffer.bytes[700000], 0);
    releasePixelBuffer(buffer);
    EXPECT_EQ(buffer.bytes, nullptr);
    EXPECT_EQ(buffer.length, 0u);
}

TEST(PixelBufferTest, FailedGrowthLeavesTheBufferAsItWas)
{
    PixelBuffer buffer{};
    ASSERT_TRUE(resizePixelBuffer(buffer, 30));
    buffer.bytes[5] = 42;
    EXPECT_FALSE(resizePixelBuffer(buffer, SIZE_MAX / 2));
    EXPECT_EQ(buffer.length, 30u);
    EXPECT_EQ(buffer.bytes[5], 42);
    releasePixelBuffer(buffer);
}

TEST(ViewerStateTest, StartValues)
{
    const ViewerState s = startViewerState();
    EXPECT_EQ(s.windowWidth, 1030);
    EXPECT_EQ(s.windowHeight, 520);
    EXPECT_EQ(s.viewWidth, 500);
    EXPECT_EQ(s.viewHeight, 500);
    EXPECT_EQ(s.mandelView.centerX, -525.0);
    EXPECT_EQ(s.mandelView.scale, 1.0);
    EXPECT_EQ(s.juliaView.centerX, 0.0);
    EXPECT_EQ(s.juliaC.re, -0.188);
    EXPECT_EQ(s.juliaC.im, 0.666);
    EXPECT_EQ(s.maxIterations, 128);
    EXPECT_EQ(s.paletteIndex, 0u);
    EXPECT_TRUE(s.mandelDirty && s.juliaDirty && s.infoVisible);
    EXPECT_FALSE(s.helpVisible || s.fullscreen);
    EXPECT_EQ(s.dragMode, DRAG_NONE);
    EXPECT_EQ(s.mainWindow, 0);
    EXPECT_EQ(s.pointerWindow, 0);
    EXPECT_EQ(s.mandelPixels.bytes, nullptr);
}

TEST_F(ViewerTest, ResetRestoresNavigationAndKeepsTheRest)
{
    viewer.mandelView = {12.5, -3.0, 0.001};
    viewer.juliaView = {-40.0, 7.0, 3.0};
    viewer.juliaC = {0.3, -0.5};
    viewer.paletteIndex = 5;
    viewer.maxIterations = 128 * 16;
    viewer.infoVisible = false;
    viewer.mandelDirty = false;
    viewer.juliaDirty = false;
    const size_t length = viewer.mandelPixels.length;

    resetViews();

    EXPECT_EQ(viewer.mandelView.centerX, -525.0);
    EXPECT_EQ(viewer.mandelView.centerY, 0.0);
    EXPECT_EQ(viewer.mandelView.scale, 1.0);
    EXPECT_EQ(viewer.juliaView.centerX, 0.0);
    EXPECT_EQ(viewer.juliaView.centerY, 0.0);
    EXPECT_EQ(viewer.juliaView.scale, 1.0);
    EXPECT_EQ(viewer.maxIterations, 128);
    EXPECT_TRUE(viewer.mandelDirty);
    EXPECT_TRUE(viewer.juliaDirty);
    EXPECT_EQ(viewer.juliaC.re, 0.3);
    EXPECT_EQ(viewer.juliaC.im, -0.5);
    EXPECT_EQ(viewer.paletteIndex, 5u);
    EXPECT_FALSE(viewer.infoVisible);
    EXPECT_EQ(viewer.mandelPixels.length, length);
    EXPECT_TRUE(fakeToolkit.calls.empty()) << "reset posts nothing";
}
