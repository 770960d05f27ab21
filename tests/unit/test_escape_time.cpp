// The renderer: plane mapping, the escape loop against a plain single-step loop,
// the strips a request computes, the greyscale level, and the dirty flags.
#include "render/escape_time.h"
#include "render/palettes.h"
#include "viewer_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The definition of the count: one step at a time, test before update.
int plainEscapeCount(PlanePoint z0, PlanePoint c, int maxIterations)
{
    double x = z0.re, y = z0.im;
    int count = 0;
    while (count < maxIterations) {
        const double x2 = x * x, y2 = y * y;
        if (x2 + y2 > 4.0) {
            break;
        }
        const double newY = 2.0 * x * y + c.im;
        x = (x2 - y2) + c.re;
        y = newY;
        ++count;
    }
    return count;
}

RenderJob startMandelbrot(int width, int height, int limit)
{
    return {width, height, {-525.0, 0.0, 1.0}, false, {0.0, 0.0}, limit, 0};
}

RenderJob startJulia(int width, int height, int limit)
{
    return {width, height, {0.0, 0.0, 1.0}, true, {-0.188, 0.666}, limit, 0};
}

PlanePoint pixelPoint(const RenderJob &job, int column, int row)
{
    return {planeCoordinate(job.view.centerX, column, job.width / 2, job.view.scale),
            planeCoordinate(job.view.centerY, row, job.height / 2, job.view.scale)};
}

}  // namespace

TEST(PlaneMappingTest, StartViewsAtTheStartSize)
{
    const RenderJob mandel = startMandelbrot(500, 500, 128);
    EXPECT_EQ(pixelPoint(mandel, 0, 0).re, (-525.0 - 1000.0) / 700.0);
    EXPECT_NEAR(pixelPoint(mandel, 0, 0).re, -2.178571, 1e-6);
    EXPECT_NEAR(pixelPoint(mandel, 499, 0).re, 0.672857, 1e-6);
    EXPECT_NEAR(pixelPoint(mandel, 0, 0).im, -1.428571, 1e-6);
    EXPECT_NEAR(pixelPoint(mandel, 0, 499).im, 1.422857, 1e-6);
    EXPECT_EQ(pixelPoint(mandel, 250, 250).re, -0.75);
    EXPECT_EQ(pixelPoint(mandel, 250, 250).im, 0.0);

    const RenderJob julia = startJulia(500, 500, 128);
    EXPECT_NEAR(pixelPoint(julia, 0, 0).re, -1.428571, 1e-6);
    EXPECT_NEAR(pixelPoint(julia, 499, 499).re, 1.422857, 1e-6);
    EXPECT_NEAR(pixelPoint(julia, 499, 499).im, 1.422857, 1e-6);
}

TEST(PlaneMappingTest, OddWidthsCentreOnTheLowerHalf)
{
    // The centre pixel lands exactly on the view's centre.
    const struct {
        int width;
        int centreColumn;
    } cases[] = {{501, 250}, {1, 0}, {3, 1}, {500, 250}};
    for (const auto &c : cases) {
        const RenderJob job = startMandelbrot(c.width, c.width, 128);
        EXPECT_EQ(pixelPoint(job, c.centreColumn, c.centreColumn).re, -0.75) << c.width;
        EXPECT_EQ(pixelPoint(job, c.centreColumn, c.centreColumn).im, 0.0) << c.width;
        if (c.centreColumn > 0) {
            EXPECT_LT(pixelPoint(job, c.centreColumn - 1, 0).re, -0.75) << c.width;
        }
    }
}

TEST(EscapeCountTest, PointsWithKnownCounts)
{
    const struct {
        const char *what;
        PlanePoint z0;
        PlanePoint c;
        int limit;
        int expected;
    } cases[] = {
        {"c = -2 sits on |z|^2 = 4 and never escapes", {0, 0}, {-2, 0}, 1000, 1000},
        {"c = 2 escapes with 2", {0, 0}, {2, 0}, 3, 2},
        {"c = 2 escapes with 2 at a large limit", {0, 0}, {2, 0}, 128, 2},
        {"c = 2 with limit 2 reaches the limit", {0, 0}, {2, 0}, 2, 2},
        {"|c|^2 > 4 escapes with 1", {0, 0}, {2.5, 1.0}, 2, 1},
        {"centre of the start view stays", {0, 0}, {-0.75, 0}, 128, 128},
        {"limit 1: every Mandelbrot point reaches it", {0, 0}, {3, 3}, 1, 1},
        {"Julia point outside radius 2 has count 0", {2.5, 0}, {-0.188, 0.666}, 1, 0},
        {"Julia point outside radius 2, large limit", {0, -2.1}, {-0.188, 0.666}, 500, 0},
        {"negative limit gives 0", {0, 0}, {0, 0}, -5, 0},
        {"zero limit gives 0", {0, 0}, {0, 0}, 0, 0},
        {"NaN never escapes", {0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}, 40, 40},
        {"infinity escapes at once", {0, 0}, {std::numeric_limits<double>::infinity(), 0}, 40, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(escapeCount(c.z0, c.c, c.limit), c.expected) << c.what;
        EXPECT_EQ(plainEscapeCount(c.z0, c.c, c.limit), c.expected) << c.what << " (plain)";
    }
}

TEST(EscapeCountTest, UnrolledLoopMatchesThePlainLoopOverWholeImages)
{
    std::vector<int> limits;
    for (int limit = 1; limit <= 20; ++limit) {
        limits.push_back(limit);
    }
    for (int limit : {31, 32, 33, 128, 1000}) {
        limits.push_back(limit);
    }
    const RenderJob views[] = {
        startMandelbrot(120, 100, 0),
        startJulia(120, 100, 0),
        {90, 90, {-0.743643887 * 700, 0.131825904 * 700, 1e-4}, false, {0, 0}, 0, 0},
    };
    for (const RenderJob &view : views) {
        for (int limit : limits) {
            for (int row = 0; row < view.height; ++row) {
                for (int column = 0; column < view.width; ++column) {
                    const PlanePoint p = pixelPoint(view, column, row);
                    const PlanePoint z0 = view.julia ? p : PlanePoint{0, 0};
                    const PlanePoint c = view.julia ? view.c : p;
                    ASSERT_EQ(escapeCount(z0, c, limit), plainEscapeCount(z0, c, limit))
                        << "limit " << limit << " pixel " << column << "," << row
                        << (view.julia ? " julia" : " mandelbrot");
                }
            }
        }
    }
}

TEST(ColorLevelTest, GreyscaleLevels)
{
    const struct {
        int count;
        int limit;
        int level;
    } cases[] = {
        {0, 128, 0},     {1, 128, 1},       {2, 128, 3},   {64, 128, 127},
        {127, 128, 253}, {128, 128, 255},   {1, 1, 255},   {0, 0, 0},
        {0, -4, 0},      {3, 7, 109},
        // Large limits: the product needs 64 bits to keep the levels in order.
        {(1 << 24) - 1, 1 << 24, 254},     {1 << 24, 1 << 24, 255},
        {1 << 29, 1 << 30, 127},           {(1 << 30) - 1, 1 << 30, 254},
        {1 << 30, 1 << 30, 255},           {INT_MAX / 2, INT_MAX, 127},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(colorLevel(c.count, c.limit), c.level) << c.count << "/" << c.limit;
        const Rgb grey = colorForCount(c.count, c.limit, 0);
        EXPECT_EQ(grey.red, c.level);
        EXPECT_EQ(grey.green, c.level);
        EXPECT_EQ(grey.blue, c.level);
    }
    // Levels climb with the count at a limit past 2^24.
    int previous = -1;
    for (int count = 0; count < (1 << 25); count += (1 << 25) / 1024) {
        const int level = colorLevel(count, 1 << 25);
        EXPECT_GE(level, previous);
        EXPECT_LE(level, 254);
        previous = level;
    }
}

namespace {

// Pixels whose channels differ can never come out of the greyscale palette, so they
// show which pixels a render left untouched.
constexpr unsigned char UNTOUCHED[3] = {1, 2, 3};

std::vector<unsigned char> filledImage(int width, int height)
{
    std::vector<unsigned char> pixels(size_t(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = UNTOUCHED[i % 3];
    }
    return pixels;
}

bool untouched(const std::vector<unsigned char> &pixels, int width, int column, int row)
{
    const unsigned char *p = &pixels[(size_t(row) * width + column) * 3];
    return p[0] == UNTOUCHED[0] && p[1] == UNTOUCHED[1] && p[2] == UNTOUCHED[2];
}

}  // namespace

TEST(RenderImageTest, RequestsComputeExactlyTheirStrips)
{
    const int size = 500;
    const struct {
        const char *what;
        ExposedStrips strips;
        bool (*computed)(int column, int row);
    } cases[] = {
        {"full render", FULL_RENDER, [](int, int) { return true; }},
        {"columns 0..9 of every row", {10, 499, +1, -1}, [](int c, int) { return c <= 9; }},
        {"columns 490..499 and rows 0..4", {489, 5, -1, +1},
         [](int c, int r) { return c >= 490 || r <= 4; }},
        {"column sign 0 retains nothing", {10, 499, 0, -1}, [](int, int) { return true; }},
        {"row sign 0 retains nothing", {10, 499, +1, 0}, [](int, int) { return true; }},
        {"limits past the view retain everything", {-7, 900, +1, -1},
         [](int, int) { return false; }},
        {"limits past the view on the other side", {INT_MAX, INT_MIN, -1, +1},
         [](int, int) { return false; }},
    };
    const RenderJob job = startMandelbrot(size, size, 64);
    std::vector<unsigned char> reference = filledImage(size, size);
    renderImage(job, FULL_RENDER, reference.data());
    for (const auto &c : cases) {
        std::vector<unsigned char> pixels = filledImage(size, size);
        renderImage(job, c.strips, pixels.data());
        for (int row = 0; row < size; ++row) {
            for (int column = 0; column < size; ++column) {
                const size_t at = (size_t(row) * size + column) * 3;
                if (c.computed(column, row)) {
                    ASSERT_EQ(0, std::memcmp(&pixels[at], &reference[at], 3))
                        << c.what << ": pixel " << column << "," << row << " not computed";
                } else {
                    ASSERT_TRUE(untouched(pixels, size, column, row))
                        << c.what << ": pixel " << column << "," << row << " was written";
                }
            }
        }
    }
}

TEST(RenderImageTest, EmptySizesWriteNothing)
{
    std::vector<unsigned char> pixels = filledImage(4, 4);
    for (const auto &[w, h] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {4, -1}, {-15, -20}}) {
        renderImage(startMandelbrot(w, h, 10), FULL_RENDER, pixels.data());
        for (int i = 0; i < 16; ++i) {
            ASSERT_TRUE(untouched(pixels, 4, i % 4, i / 4)) << w << "x" << h;
        }
    }
}

TEST(RenderImageTest, GreyscaleImagesAtTheEdgeLimits)
{
    // Limit 1: every Mandelbrot pixel reaches the limit and is white; a negative limit
    // makes every pixel black.
    for (const auto &[limit, value] : {std::pair{1, 255}, {-3, 0}, {0, 0}}) {
        std::vector<unsigned char> pixels = filledImage(31, 17);
        renderImage(startMandelbrot(31, 17, limit), FULL_RENDER, pixels.data());
        for (unsigned char byte : pixels) {
            ASSERT_EQ(byte, value) << "limit " << limit;
        }
    }
}

TEST_F(ViewerTest, EveryRenderClearsItsDirtyFlag)
{
    renderMandelbrot({10, 499, +1, -1});
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_TRUE(viewer.juliaDirty);
    renderJulia(FULL_RENDER);
    EXPECT_FALSE(viewer.juliaDirty);

    // The centre pixel of the start Mandelbrot view stays inside: white.
    const unsigned char *centre = viewer.mandelPixels.bytes + (250 * 500 + 250) * 3;
    renderMandelbrot(FULL_RENDER);
    EXPECT_EQ(centre[0], 255);

    // An empty view gets nothing computed but is clean afterwards.
    viewer.viewWidth = 0;
    viewer.mandelDirty = viewer.juliaDirty = true;
    viewer.mandelPixels.bytes[0] = 77;
    renderMandelbrot(FULL_RENDER);
    renderJulia(FULL_RENDER);
    EXPECT_FALSE(viewer.mandelDirty);
    EXPECT_FALSE(viewer.juliaDirty);
    EXPECT_EQ(viewer.mandelPixels.bytes[0], 77);
}
