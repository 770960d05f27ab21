// The escape loop and the parallel row loop that fills a view's pixel buffer.
#include "render/escape_time.h"

#include "render/escape_kernel.h"
#include "render/palettes.h"

#include <algorithm>

int escapeCount(PlanePoint z0, PlanePoint c, int maxIterations)
{
    double x = z0.re;
    double y = z0.im;
    // One full step: test the old z, then update both parts from the old x and y.
    auto escapes = [&]() {
        const double x2 = x * x;
        const double y2 = y * y;
        if (x2 + y2 > 4.0) {
            return true;
        }
        y = 2.0 * x * y + c.im;
        x = (x2 - y2) + c.re;
        return false;
    };

    int count = 0;
    if (maxIterations >= 8) {
        // A block is entered only while all eight steps stay within the limit.
        while (count < maxIterations - 7) {
            for (int k = 0; k < 8; ++k) {
                if (escapes()) {
                    return count + k;
                }
            }
            count += 8;
        }
    }
    while (count < maxIterations) {
        if (escapes()) {
            return count;
        }
        ++count;
    }
    return count;
}

static bool indexRetained(int index, int limit, int sign)
{
    if (sign > 0) {
        return index >= limit;
    }
    if (sign < 0) {
        return index <= limit;
    }
    return false;
}

ColumnSpan computedColumns(ExposedStrips strips, int row, int width)
{
    if (width <= 0) {
        return {0, 0};
    }
    if (!indexRetained(row, strips.rowLimit, strips.rowSign) || strips.columnSign == 0) {
        return {0, width};
    }
    // The retained columns are a prefix or a suffix of the row; the rest is computed.
    const int64_t limit = strips.columnLimit;
    if (strips.columnSign > 0) {
        return {0, int(std::clamp<int64_t>(limit, 0, width))};
    }
    return {int(std::clamp<int64_t>(limit + 1, 0, width)), width};
}

// Counts are computed in runs of at most this many columns, so that a worker needs
// only a small fixed buffer on its stack.
constexpr int COUNT_RUN = 2048;
// Up to these sizes a render keeps, on the calling thread's stack, the colour of every
// count and the plane coordinate of every column, shared by all rows.
constexpr int COLOR_TABLE_SIZE = 8193;
constexpr int COLUMN_TABLE_SIZE = 8192;

static int64_t computedPixels(ExposedStrips strips, int width, int height)
{
    int64_t pixels = 0;
    for (int row = 0; row < height; ++row) {
        const ColumnSpan span = computedColumns(strips, row, width);
        pixels += span.end - span.first;
    }
    return pixels;
}

void renderImage(const RenderJob &job, ExposedStrips strips, unsigned char *pixels,
                 RenderKernel kernel)
{
    if (job.width <= 0 || job.height <= 0) {
        return;
    }
    const int halfWidth = job.width / 2;
    const int halfHeight = job.height / 2;

    // A count's colour costs a division; a table pays once the request has more pixels
    // than the table has counts. Counts run from 0 to the limit (only 0 for a limit <= 0).
    const int colorCount = std::max(job.maxIterations, 0) + 1;
    Rgb colors[COLOR_TABLE_SIZE];
    const bool colorTable = colorCount <= COLOR_TABLE_SIZE &&
                            computedPixels(strips, job.width, job.height) > colorCount;
    if (colorTable) {
        for (int count = 0; count < colorCount; ++count) {
            colors[count] = colorForCount(count, job.maxIterations, job.paletteIndex);
        }
    }
    double columnRe[COLUMN_TABLE_SIZE];
    const bool columnTable = kernel == KERNEL_FAST && job.width <= COLUMN_TABLE_SIZE;
    if (columnTable) {
        for (int column = 0; column < job.width; ++column) {
            columnRe[column] = planeCoordinate(job.view.centerX, column, halfWidth, job.view.scale);
        }
    }

#pragma omp parallel for schedule(dynamic, 1)
    for (int row = 0; row < job.height; ++row) {
        const ColumnSpan span = computedColumns(strips, row, job.width);
        const double im = planeCoordinate(job.view.centerY, row, halfHeight, job.view.scale);
        unsigned char *out = pixels + size_t(row) * size_t(job.width) * 3u;
        int counts[COUNT_RUN];
        for (int first = span.first; first < span.end; first += COUNT_RUN) {
            const int end = first + std::min(span.end - first, COUNT_RUN);
            const RowPixels run = {job.julia,
                                   job.c,
                                   job.view.centerX,
                                   job.view.scale,
                                   halfWidth,
                                   im,
                                   first,
                                   end,
                                   job.maxIterations,
                                   columnTable ? columnRe + first : nullptr};
            if (kernel == KERNEL_PLAIN) {
                escapeCountsPlain(run, counts);
            } else {
                escapeCountsFast(run, counts);
            }
            for (int column = first; column < end; ++column) {
                const int count = counts[column - first];
                const Rgb color = colorTable
                                      ? colors[count]
                                      : colorForCount(count, job.maxIterations, job.paletteIndex);
                unsigned char *pixel = out + size_t(column) * 3u;
                pixel[0] = color.red;
                pixel[1] = color.green;
                pixel[2] = color.blue;
            }
        }
    }
}

static RenderJob jobFor(const FractalView &view, bool julia)
{
    return {viewer.viewWidth, viewer.viewHeight, view,          julia,
            viewer.juliaC,    viewer.maxIterations, viewer.paletteIndex};
}

RenderJob mandelbrotJob() { return jobFor(viewer.mandelView, false); }
RenderJob juliaJob() { return jobFor(viewer.juliaView, true); }

void renderMandelbrot(ExposedStrips strips)
{
    if (viewHasImage(viewer.mandelPixels)) {
        renderImage(mandelbrotJob(), strips, viewer.mandelPixels.bytes);
    }
    viewer.mandelDirty = false;
}

void renderJulia(ExposedStrips strips)
{
    if (viewHasImage(viewer.juliaPixels)) {
        renderImage(juliaJob(), strips, viewer.juliaPixels.bytes);
    }
    viewer.juliaDirty = false;
}
