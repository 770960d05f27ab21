// The character-key commands: each key's effect, the renders it runs and the windows
// it posts, in order; the Escape cascade; the bounds of the iteration limit.
#include "input/keyboard.h"
#include "input/pointer_zoom.h"
#include "render/escape_time.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

namespace {

// A small odd-sized view keeps the renders of the digit keys short.
constexpr int W = 31;
constexpr int H = 23;

std::vector<uint8_t> bytesOf(const PixelBuffer &pixels)
{
    return std::vector<uint8_t>(pixels.bytes, pixels.bytes + pixels.length);
}

std::vector<uint8_t> fullRender(const RenderJob &job)
{
    std::vector<uint8_t> pixels(size_t(W) * H * 3);
    renderImage(job, FULL_RENDER, pixels.data());
    return pixels;
}

// Start state on a W x H view, the pointer over the Mandelbrot view at its centre
// column and 5 rows above the centre, both buffers filled with a marker byte, both views
// clean, an empty log.
void startKeyTest()
{
    startViewer(2 * W + 30, H + 20);
    fakeToolkit.current = MANDEL_WINDOW;
    onPointerMove(W / 2, H / 2 - 5);
    std::memset(viewer.mandelPixels.bytes, 0xAB, viewer.mandelPixels.length);
    std::memset(viewer.juliaPixels.bytes, 0xAB, viewer.juliaPixels.length);
    viewer.mandelDirty = false;
    viewer.juliaDirty = false;
    resetFakeToolkit(JULIA_WINDOW);  // the key arrives in the Julia window
}

void press(unsigned char key) { onKeyboard(key, 7, 9); }

}  // namespace

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override { startKeyTest(); }
    void TearDown() override { releaseViewerBuffers(); }
};

TEST_F(KeyboardTest, DigitsSelectThePaletteAndRecomputeBothViewsJuliaFirst)
{
    for (unsigned char key = '0'; key <= '9'; ++key) {
        SCOPED_TRACE(key);
        startKeyTest();
        viewer.paletteIndex = key == '3' ? 3 : 7;  // '3' reselects the palette in use
        press(key);
        EXPECT_EQ(viewer.paletteIndex, uint32_t(key - '0'));
        EXPECT_FALSE(viewer.mandelDirty);
        EXPECT_FALSE(viewer.juliaDirty);
        EXPECT_EQ(bytesOf(viewer.juliaPixels), fullRender(juliaJob()));
        EXPECT_EQ(bytesOf(viewer.mandelPixels), fullRender(mandelbrotJob()));
        EXPECT_EQ(fakeToolkit.calls, (Calls{"post 3", "post 2"}));
    }
}

struct KeyCase {
    unsigned char key;
    Calls calls;
    bool dirty;         // both views marked dirty afterwards
    void (*check)();    // the key's own effect on the state
};

TEST_F(KeyboardTest, CommandKeysChangeTheStateMarkTheViewsAndPostInOrder)
{
    auto doubled = [] { EXPECT_EQ(viewer.maxIterations, 256); };
    auto halved = [] { EXPECT_EQ(viewer.maxIterations, 64); };
    // The pointer is 5 rows above the centre pixel: oy = -5.
    auto zoomedIn = [] {
        EXPECT_EQ(viewer.mandelView.scale, 0.8);
        EXPECT_DOUBLE_EQ(viewer.mandelView.centerY, 4.0);
        EXPECT_EQ(viewer.juliaView.scale, 1.0);
    };
    auto zoomedOut = [] {
        EXPECT_EQ(viewer.mandelView.scale, 1.25);
        EXPECT_EQ(viewer.mandelView.centerY, -5.0);
    };
    auto fullScreen = [] {
        EXPECT_TRUE(viewer.fullscreen);
        EXPECT_EQ(viewer.savedWindowWidth, 2 * W + 30);
        EXPECT_EQ(viewer.savedWindowHeight, H + 20);
    };
    auto infoOff = [] { EXPECT_FALSE(viewer.infoVisible); };
    auto reset = [] {
        EXPECT_EQ(viewer.mandelView.centerX, -525.0);
        EXPECT_EQ(viewer.mandelView.scale, 1.0);
        EXPECT_EQ(viewer.juliaView.centerY, 0.0);
        EXPECT_EQ(viewer.maxIterations, 128);
        EXPECT_EQ(viewer.juliaC.re, 0.25);  // a reset keeps C and the palette
        EXPECT_EQ(viewer.paletteIndex, 5u);
    };
    auto unchanged = [] {
        EXPECT_EQ(viewer.maxIterations, 128);
        EXPECT_EQ(viewer.mandelView.scale, 1.0);
        EXPECT_TRUE(viewer.infoVisible);
        EXPECT_FALSE(viewer.fullscreen);
        EXPECT_FALSE(viewer.helpVisible);
        EXPECT_EQ(viewer.paletteIndex, 0u);
    };

    const KeyCase cases[] = {
        {'+', {"post 2", "post 3"}, true, doubled},
        {'-', {"post 2", "post 3"}, true, halved},
        {',', {"post 2"}, true, zoomedIn},
        {'.', {"post 2"}, true, zoomedOut},
        {'F', {"set 1", "fullscreen", "post 1", "post 2", "post 3"}, true, fullScreen},
        {'f', {"set 1", "fullscreen", "post 1", "post 2", "post 3"}, true, fullScreen},
        {'I', {"post 2", "post 3"}, false, infoOff},
        {'i', {"post 2", "post 3"}, false, infoOff},
        {'R', {"post 2", "post 3"}, true, reset},
        {'r', {"post 2", "post 3"}, true, reset},
        {'a', {}, false, unchanged},
        {'x', {}, false, unchanged},
        {'Z', {}, false, unchanged},
        {'q', {}, false, unchanged},
        {' ', {}, false, unchanged},
        {'\r', {}, false, unchanged},
        {'=', {}, false, unchanged},
        {'_', {}, false, unchanged},
        {'/', {}, false, unchanged},
        {':', {}, false, unchanged},
        {127, {}, false, unchanged},
        {255, {}, false, unchanged},
        {0, {}, false, unchanged},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(std::string("key ") + std::to_string(c.key));
        startKeyTest();
        if (c.key == 'R' || c.key == 'r') {
            viewer.mandelView = {3.0, 4.0, 0.5};
            viewer.juliaView = {5.0, 6.0, 0.25};
            viewer.maxIterations = 2048;
            viewer.juliaC = {0.25, 0.5};
            viewer.paletteIndex = 5;
        }
        press(c.key);
        c.check();
        EXPECT_EQ(viewer.mandelDirty, c.dirty);
        EXPECT_EQ(viewer.juliaDirty, c.dirty);
        EXPECT_EQ(fakeToolkit.calls, c.calls);
        // Only the digits compute inside the handler: the buffers are as they were.
        EXPECT_EQ(bytesOf(viewer.mandelPixels), std::vector<uint8_t>(size_t(W) * H * 3, 0xAB));
        EXPECT_EQ(bytesOf(viewer.juliaPixels), std::vector<uint8_t>(size_t(W) * H * 3, 0xAB));
    }
}

TEST_F(KeyboardTest, ZoomKeysActOnThePointersViewNotTheFocusedWindow)
{
    fakeToolkit.current = JULIA_WINDOW;
    onPointerMove(0, 0);
    resetFakeToolkit(MANDEL_WINDOW);
    press(',');
    EXPECT_EQ(viewer.juliaView.scale, 0.8);
    EXPECT_EQ(viewer.mandelView.scale, 1.0);
    EXPECT_EQ(fakeToolkit.calls, Calls{"post 3"});
}

TEST_F(KeyboardTest, MinusHalvesDownToOneAndPlusDoublesUpToTheCap)
{
    int expected = 128;
    for (int i = 0; i < 10; ++i) {
        resetFakeToolkit();
        viewer.mandelDirty = false;
        viewer.juliaDirty = false;
        press('-');
        expected = expected > 1 ? expected / 2 : 1;
        ASSERT_EQ(viewer.maxIterations, expected) << "press " << i;
        // Also at 1: both views are marked and posted.
        EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty);
        EXPECT_EQ(fakeToolkit.calls, (Calls{"post 2", "post 3"}));
    }
    EXPECT_EQ(viewer.maxIterations, 1);

    viewer.maxIterations = 128;
    for (int i = 1; i <= 25; ++i) {
        resetFakeToolkit();
        viewer.mandelDirty = false;
        viewer.juliaDirty = false;
        press('+');
        // The 23rd press reaches 2^30; later ones leave it there.
        const int want = i <= 23 ? 128 << i : MAX_ITERATIONS_CAP;
        ASSERT_EQ(viewer.maxIterations, want) << "press " << i;
        EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty);
        EXPECT_EQ(fakeToolkit.calls, (Calls{"post 2", "post 3"}));
    }
    EXPECT_EQ(viewer.maxIterations, 1 << 30);
}

TEST_F(KeyboardTest, EscapeHidesTheHelpCardThenLeavesFullScreen)
{
    fakeToolkit.queryAnswers[QUERY_WINDOW_X] = 40;
    fakeToolkit.queryAnswers[QUERY_WINDOW_Y] = 60;
    press('F');
    fakeToolkit.current = HELP_WINDOW;
    viewer.helpVisible = true;
    fakeToolkit.shown.push_back(HELP_WINDOW);
    viewer.mandelDirty = false;
    viewer.juliaDirty = false;
    resetFakeToolkit(MAIN_WINDOW);

    press(KEY_ESCAPE);
    EXPECT_FALSE(viewer.helpVisible);
    EXPECT_FALSE(fakeWindowShown(HELP_WINDOW));
    EXPECT_TRUE(viewer.fullscreen);
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_EQ(fakeToolkit.calls, (Calls{"set 4", "hide"}));

    resetFakeToolkit(MAIN_WINDOW);
    press(KEY_ESCAPE);
    EXPECT_FALSE(viewer.fullscreen);
    EXPECT_TRUE(viewer.mandelDirty && viewer.juliaDirty);
    EXPECT_EQ(fakeToolkit.calls,
              (Calls{"set 1", "position 40 60", "resize " + std::to_string(2 * W + 30) + " " +
                                                    std::to_string(H + 20),
                     "post 1", "post 2", "post 3"}));
}

TEST_F(KeyboardTest, EscapeWithNothingToCloseExitsWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(press(KEY_ESCAPE), ::testing::ExitedWithCode(0), "");
    // Third Escape of the cascade: help card and full screen both closed first.
    viewer.helpVisible = true;
    viewer.fullscreen = true;
    press(KEY_ESCAPE);
    press(KEY_ESCAPE);
    EXPECT_FALSE(viewer.helpVisible || viewer.fullscreen);
    EXPECT_EXIT(press(KEY_ESCAPE), ::testing::ExitedWithCode(0), "");
}
