// The vector kernel gives the plain loop's count for every pixel, on every instruction
// set it was compiled for that this processor runs.
#include "render/escape_kernel.h"
#include "render/escape_time.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

struct KernelCase {
    const char *name;
    bool julia;
    PlanePoint c;
    FractalView view;
    int width;
    int height;
    std::vector<int> limits;
};

std::vector<int> limitsOneToTwenty()
{
    std::vector<int> limits;
    for (int limit = 1; limit <= 20; ++limit) {
        limits.push_back(limit);
    }
    return limits;
}

const double INF = std::numeric_limits<double>::infinity();
const FractalView START_MANDEL = {-525.0, 0.0, 1.0};
const FractalView START_JULIA = {0.0, 0.0, 1.0};
const FractalView DEEP = {-0.743643887 * 700.0, 0.131825904 * 700.0, 1e-6};
const PlanePoint START_C = {-0.188, 0.666};

std::vector<KernelCase> kernelCases()
{
    const std::vector<int> small = limitsOneToTwenty();
    return {
        {"start Mandelbrot", false, {0, 0}, START_MANDEL, 500, 500, small},
        {"start Mandelbrot", false, {0, 0}, START_MANDEL, 500, 500, {0, -3, 128}},
        {"start Mandelbrot", false, {0, 0}, START_MANDEL, 101, 99, {1024, 4096}},
        {"start Julia", true, START_C, START_JULIA, 500, 500, small},
        {"start Julia", true, START_C, START_JULIA, 500, 500, {128}},
        {"start Julia", true, START_C, START_JULIA, 101, 99, {1024, 4096}},
        {"deep boundary", false, {0, 0}, DEEP, 161, 159, small},
        // 255 and 256 sit on both sides of the switch to recounting and cycle checks.
        {"deep boundary", false, {0, 0}, DEEP, 161, 159, {128, 255, 256, 1024}},
        {"deep boundary", false, {0, 0}, DEEP, 71, 69, {4096}},
        // Centred on c = -2, whose orbit reaches |z|^2 = 4 exactly and stays there.
        {"through -2", false, {0, 0}, {-1400.0, 0.0, 0.25}, 65, 63, {1, 3, 9, 128, 4096}},
        {"dust Julia", true, {-2.5, 0.3}, START_JULIA, 301, 299, small},
        {"dust Julia", true, {-2.5, 0.3}, START_JULIA, 301, 299, {128, 1024, 4096}},
        // Columns and rows away from the centre map to infinite coordinates.
        {"extreme zoom-out", false, {0, 0}, {-525.0, 0.0, 1e306}, 301, 299, {1, 3, 8, 128, 4096}},
        {"extreme zoom-out Julia", true, START_C, {0.0, 0.0, 1e306}, 301, 299, {1, 8, 128, 4096}},
        // Infinite steps: the centre row and column become NaN, the rest infinite.
        {"infinite scale", false, {0, 0}, {-525.0, 0.0, INF}, 64, 63, {1, 7, 8, 9, 128, 4096}},
        {"infinite scale Julia", true, START_C, {0.0, 0.0, INF}, 64, 63, {1, 7, 8, 9, 128, 4096}},
        {"NaN Julia constant", true, {std::nan(""), 0.5}, START_JULIA, 64, 63, {1, 9, 4096}},
        // From the limit 256 on, blocks of eight steps run untested while every lane has
        // |c|^2 <= 3.99 and |z|^2 <= 3.99; the limits sit on block boundaries and just
        // past them (257, 263), and the views put lanes on both sides of both bounds.
        {"deep boundary", false, {0, 0}, DEEP, 71, 69, {257, 263}},
        {"through -2", false, {0, 0}, {-1400.0, 0.0, 0.25}, 65, 63, {256, 257, 263, 1024}},
        // c from -2.0007 to -1.9943 (|c|^2 = 3.99 at -1.99750): on the real axis the
        // orbits stay within |z| <= 2 and often come past |z|^2 = 3.99 without escaping;
        // off it they escape late.
        {"around |c|^2 = 3.99", false, {0, 0}, {-1.99749844 * 700.0, 0.0, 1e-4 * 700.0 / 4.0},
         65, 63, {256, 257, 263, 1024, 4096}},
        {"around |c|^2 = 3.99, imaginary", false, {0, 0},
         {0.0, 1.99749844 * 700.0, 1e-4 * 700.0 / 4.0}, 65, 63, {256, 263, 4096}},
        {"Julia c = -1.99", true, {-1.99, 0.0}, START_JULIA, 101, 99, {256, 257, 263, 1024, 4096}},
        {"Julia c = 1.99i", true, {0.0, 1.99}, START_JULIA, 101, 99, {256, 257, 263, 1024, 4096}},
        {"dust Julia", true, {-2.5, 0.3}, START_JULIA, 101, 99, {256, 257, 263}},
        {"extreme zoom-out", false, {0, 0}, {-525.0, 0.0, 1e306}, 101, 99, {256, 257, 263, 1024}},
        {"infinite scale", false, {0, 0}, {-525.0, 0.0, INF}, 64, 63, {256, 257, 263, 1024}},
        {"infinite scale Julia", true, START_C, {0.0, 0.0, INF}, 64, 63, {256, 257, 263, 1024}},
    };
}

RowPixels rowOf(const KernelCase &kc, int limit, int row)
{
    return {kc.julia,
            kc.c,
            kc.view.centerX,
            kc.view.scale,
            kc.width / 2,
            planeCoordinate(kc.view.centerY, row, kc.height / 2, kc.view.scale),
            0,
            kc.width,
            limit,
            nullptr};
}

std::vector<int> plainCounts(const KernelCase &kc, int limit)
{
    std::vector<int> counts(size_t(kc.width) * size_t(kc.height));
    for (int row = 0; row < kc.height; ++row) {
        escapeCountsPlain(rowOf(kc, limit, row), counts.data() + size_t(row) * size_t(kc.width));
    }
    return counts;
}

std::vector<int64_t> runnableTargets()
{
    std::vector<int64_t> targets;
    const int64_t compiled = compiledKernelTargets();
    for (int64_t bits = compiled & hwy::SupportedTargets(); bits != 0; bits &= bits - 1) {
        targets.push_back(bits & -bits);
    }
    return targets;
}

// Compares the active target's counts with the plain ones; returns the mismatches.
int mismatches(const KernelCase &kc, int limit, const std::vector<int> &expected,
               const char *target)
{
    std::vector<int> counts(size_t(kc.width), -7);
    int wrong = 0;
    for (int row = 0; row < kc.height; ++row) {
        std::fill(counts.begin(), counts.end(), -7);
        escapeCountsVector(rowOf(kc, limit, row), counts.data());
        for (int column = 0; column < kc.width; ++column) {
            const int want = expected[size_t(row) * size_t(kc.width) + size_t(column)];
            if (counts[size_t(column)] != want && ++wrong <= 3) {
                ADD_FAILURE() << target << ", " << kc.name << ", limit " << limit << ": pixel ("
                              << column << ", " << row << ") count " << counts[size_t(column)]
                              << ", plain loop " << want;
            }
        }
    }
    return wrong;
}

}  // namespace

TEST(FastKernelTest, EveryCompiledTargetThisProcessorRunsMatchesThePlainLoop)
{
    const std::vector<int64_t> targets = runnableTargets();
    ASSERT_FALSE(targets.empty());
    std::string ran;
    for (const int64_t target : targets) {
        ran += std::string(" ") + kernelTargetName(target);
    }
    std::printf("kernel targets compiled:");
    for (int64_t bits = compiledKernelTargets(); bits != 0; bits &= bits - 1) {
        std::printf(" %s", kernelTargetName(bits & -bits));
    }
    std::printf("; tested here:%s\n", ran.c_str());

    for (const KernelCase &kc : kernelCases()) {
        for (const int limit : kc.limits) {
            const std::vector<int> expected = plainCounts(kc, limit);
            for (const int64_t target : targets) {
                hwy::SetSupportedTargetsForTest(target);
                ASSERT_EQ(activeKernelTarget(), target) << kernelTargetName(target);
                EXPECT_EQ(mismatches(kc, limit, expected, kernelTargetName(target)), 0)
                    << kernelTargetName(target) << ", " << kc.name << ", limit " << limit;
            }
            hwy::SetSupportedTargetsForTest(0);
        }
    }
}

TEST(FastKernelTest, ShortRunsAndOffsetSpansMatchThePlainLoop)
{
    // Runs shorter than one vector, and spans that start mid-row, as strip requests make.
    const KernelCase kc = {"start Mandelbrot", false, {0, 0}, START_MANDEL, 500, 500, {}};
    for (const int64_t target : runnableTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        for (const int limit : {5, 128, 4096}) {
            for (const int first : {0, 1, 247, 490}) {
                for (const int length : {1, 2, 3, 7, 10, 33}) {
                    RowPixels run = rowOf(kc, limit, 250);
                    run.first = first;
                    run.end = std::min(first + length, kc.width);
                    std::vector<int> fast(size_t(length), -7);
                    std::vector<int> plain(size_t(length), -7);
                    std::vector<int> chosen(size_t(length), -7);
                    escapeCountsVector(run, fast.data());
                    escapeCountsFast(run, chosen.data());
                    escapeCountsPlain(run, plain.data());
                    EXPECT_EQ(chosen, plain) << "limit " << limit << " first " << first;
                    EXPECT_EQ(fast, plain) << kernelTargetName(target) << " limit " << limit
                                           << " first " << first << " length " << length;
                }
            }
        }
    }
    hwy::SetSupportedTargetsForTest(0);
}

TEST(FastKernelTest, RunsLongerThanTheKernelTakesAtOnceMatchThePlainLoop)
{
    // A row wider than any window, zoomed out so that its columns cross the set.
    const KernelCase kc = {"wide row", false, {0, 0}, {-525.0, 0.0, 0.06}, 9001, 1, {}};
    std::vector<int> fast(9001, -7);
    std::vector<int> plain(9001, -7);
    for (const int limit : {50, 300}) {
        escapeCountsVector(rowOf(kc, limit, 0), fast.data());
        escapeCountsPlain(rowOf(kc, limit, 0), plain.data());
        EXPECT_EQ(fast, plain) << "limit " << limit;
    }
}

TEST(FastKernelTest, RenderImageGivesTheSameBytesWithEitherKernel)
{
    const RenderJob job = {500, 500, START_MANDEL, false, {0, 0}, 128, 0};
    std::vector<unsigned char> fast(500 * 500 * 3, 0x5a);
    std::vector<unsigned char> plain(500 * 500 * 3, 0x5a);
    // A pan step's strips on top of a stale image: retained pixels keep their bytes.
    const ExposedStrips strips = {3, 497, 1, -1};
    renderImage(job, strips, fast.data(), KERNEL_FAST);
    renderImage(job, strips, plain.data(), KERNEL_PLAIN);
    EXPECT_EQ(fast, plain);
    EXPECT_EQ(fast[3 * (250 * 500 + 250)], 0x5a);  // a retained pixel
    renderImage(job, FULL_RENDER, fast.data(), KERNEL_FAST);
    renderImage(job, FULL_RENDER, plain.data(), KERNEL_PLAIN);
    EXPECT_EQ(fast, plain);
}
