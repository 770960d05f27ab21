// Render speed of fixed views with the plain loop and the vector kernel, on one thread
// and on all of them; items are pixel iterations (the sum of the computed counts).
#include "render/escape_kernel.h"
#include "render/escape_time.h"

#include <benchmark/benchmark.h>
#include <omp.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int SIZE = 500;

struct BenchView {
    const char *name;
    RenderJob job;
    bool panStep;  // a pan step (3 columns right, 2 rows down) with its strips, not a full render
};

const FractalView START_MANDEL = {-525.0, 0.0, 1.0};

// The start view after a drag of 3 pixels right and 2 down: the centre moves against the drag.
FractalView pannedStart()
{
    FractalView view = START_MANDEL;
    view.centerX = view.centerX - 3 * view.scale * PIXEL_STEP;
    view.centerY = view.centerY + 2 * view.scale * PIXEL_STEP;
    return view;
}

const BenchView VIEWS[] = {
    {"mandel-128", {SIZE, SIZE, START_MANDEL, false, {0, 0}, 128, 0}, false},
    {"mandel-4096", {SIZE, SIZE, START_MANDEL, false, {0, 0}, 4096, 0}, false},
    {"julia-128", {SIZE, SIZE, {0.0, 0.0, 1.0}, true, {-0.188, 0.666}, 128, 0}, false},
    {"deep-4096",
     {SIZE, SIZE, {-0.743643887 * 700.0, 0.131825904 * 700.0, 1e-6}, false, {0, 0}, 4096, 0},
     false},
    {"pan-step", {SIZE, SIZE, pannedStart(), false, {0, 0}, 128, 0}, true},
};

// The strips a drag of 3 columns right and 2 rows down exposes.
constexpr ExposedStrips PAN_STRIPS = {3, SIZE - 2 - 1, 1, -1};

ExposedStrips stripsOf(const BenchView &view) { return view.panStep ? PAN_STRIPS : FULL_RENDER; }

// Pixel iterations of one render: the sum of the requested pixels' counts.
int64_t pixelIterations(const BenchView &view)
{
    const RenderJob &job = view.job;
    int64_t sum = 0;
    std::vector<int> counts(size_t(job.width));
    for (int row = 0; row < job.height; ++row) {
        const ColumnSpan span = computedColumns(stripsOf(view), row, job.width);
        const RowPixels run = {
            job.julia,
            job.c,
            job.view.centerX,
            job.view.scale,
            job.width / 2,
            planeCoordinate(job.view.centerY, row, job.height / 2, job.view.scale),
            span.first,
            span.end,
            job.maxIterations,
            nullptr};
        escapeCountsFast(run, counts.data());
        for (int k = 0; k < span.end - span.first; ++k) {
            sum += counts[size_t(k)];
        }
    }
    return sum;
}

// Seconds per render measured in this run, by benchmark name without the kernel.
std::map<std::string, double> secondsPerRender[2];

void runRender(benchmark::State &state, const BenchView &view, RenderKernel kernel, int threads)
{
    const int64_t iterationsPerRender = pixelIterations(view);
    std::vector<unsigned char> pixels(size_t(SIZE) * SIZE * 3);
    const ExposedStrips strips = stripsOf(view);
    // The pan's buffer move: k = 3 x (dx - dy x W) bytes, here negative.
    const long shift = 3L * (3 - 2L * SIZE);
    omp_set_num_threads(threads);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (view.panStep) {
            std::memmove(pixels.data(), pixels.data() - shift, pixels.size() + size_t(shift));
        }
        renderImage(view.job, strips, pixels.data(), kernel);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    omp_set_num_threads(omp_get_num_procs());

    state.SetItemsProcessed(state.iterations() * iterationsPerRender);
    const std::string key = std::string(view.name) + "/" + std::to_string(threads);
    secondsPerRender[kernel][key] = seconds / double(state.iterations());
    if (kernel == KERNEL_FAST && secondsPerRender[KERNEL_PLAIN].count(key) != 0) {
        state.counters["speedup"] =
            secondsPerRender[KERNEL_PLAIN][key] / secondsPerRender[KERNEL_FAST][key];
    }
}

void printSummary()
{
    const int all = omp_get_num_procs();
    std::printf("\nvector kernel target: %s; %d processors\n",
                kernelTargetName(activeKernelTarget()), all);
    std::printf("%-12s %8s %12s %12s %9s\n", "view", "threads", "scalar ms", "fast ms", "speed-up");
    for (const BenchView &view : VIEWS) {
        for (const int threads : {1, all}) {
            const std::string key = std::string(view.name) + "/" + std::to_string(threads);
            if (secondsPerRender[KERNEL_PLAIN].count(key) == 0 ||
                secondsPerRender[KERNEL_FAST].count(key) == 0) {
                continue;
            }
            const double plain = secondsPerRender[KERNEL_PLAIN][key];
            const double fast = secondsPerRender[KERNEL_FAST][key];
            std::printf("%-12s %8d %12.3f %12.3f %8.1fx\n", view.name, threads, plain * 1e3,
                        fast * 1e3, plain / fast);
        }
    }
    for (const int kernel : {KERNEL_PLAIN, KERNEL_FAST}) {
        const char *kernelName = kernel == KERNEL_FAST ? "fast" : "scalar";
        for (const char *name : {"mandel-4096", "deep-4096"}) {
            auto &seconds = secondsPerRender[kernel];
            const std::string one = std::string(name) + "/1";
            const std::string every = std::string(name) + "/" + std::to_string(all);
            if (all > 1 && seconds.count(one) != 0 && seconds.count(every) != 0) {
                std::printf("%s %s: %d threads are %.2fx one thread\n", name, kernelName, all,
                            seconds[one] / seconds[every]);
            }
        }
        for (const int threads : {1, all}) {
            auto &seconds = secondsPerRender[kernel];
            const std::string pan = "pan-step/" + std::to_string(threads);
            const std::string full = "mandel-128/" + std::to_string(threads);
            if (seconds.count(pan) != 0 && seconds.count(full) != 0) {
                std::printf("pan step %s, %d thread(s): %.2f%% of a full render\n", kernelName,
                            threads, 100.0 * seconds[pan] / seconds[full]);
            }
        }
    }
}

}  // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    const int all = omp_get_num_procs();
    for (const BenchView &view : VIEWS) {
        for (const int threads : {1, all}) {
            // Scalar first, so the fast run can report its speed-up over it.
            for (const RenderKernel kernel : {KERNEL_PLAIN, KERNEL_FAST}) {
                const std::string name = std::string("render/") + view.name + "/" +
                                         (kernel == KERNEL_FAST ? "fast" : "scalar") + "/" +
                                         std::to_string(threads);
                benchmark::RegisterBenchmark(name.c_str(),
                                             [&view, kernel, threads](benchmark::State &state) {
                                                 runRender(state, view, kernel, threads);
                                             })
                    ->UseRealTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
    return 0;
}
