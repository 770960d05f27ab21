// mandeljulia-render: renders one view with the program's own renderer and writes
// it as a binary PPM, top row first, so the end-to-end tests can compare screenshots
// with what the core computes for a given state.
//
//   mandeljulia-render mandel|julia WIDTH HEIGHT CENTER_X CENTER_Y SCALE C_RE C_IM
//                      MAX_ITERATIONS PALETTE_INDEX OUTPUT.ppm|-
#include "render/escape_time.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 12 || (std::strcmp(argv[1], "mandel") != 0 && std::strcmp(argv[1], "julia") != 0)) {
        std::fprintf(stderr,
                     "usage: %s mandel|julia width height centerX centerY scale cRe cIm "
                     "maxIterations paletteIndex output.ppm|-\n",
                     argv[0]);
        return 2;
    }
    RenderJob job{};
    job.julia = std::strcmp(argv[1], "julia") == 0;
    job.width = std::atoi(argv[2]);
    job.height = std::atoi(argv[3]);
    job.view = {std::strtod(argv[4], nullptr), std::strtod(argv[5], nullptr),
                std::strtod(argv[6], nullptr)};
    job.c = {std::strtod(argv[7], nullptr), std::strtod(argv[8], nullptr)};
    job.maxIterations = std::atoi(argv[9]);
    job.paletteIndex = uint32_t(std::strtoul(argv[10], nullptr, 10));
    if (job.width <= 0 || job.height <= 0) {
        std::fprintf(stderr, "width and height must be positive\n");
        return 2;
    }

    const size_t rowBytes = size_t(job.width) * 3u;
    std::vector<unsigned char> pixels(rowBytes * size_t(job.height));
    renderImage(job, FULL_RENDER, pixels.data());

    FILE *out = std::strcmp(argv[11], "-") == 0 ? stdout : std::fopen(argv[11], "wb");
    if (out == nullptr) {
        std::perror(argv[11]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", job.width, job.height);
    // The buffer holds the bottom row first, as the views draw it; a PPM starts at the top.
    for (int row = job.height - 1; row >= 0; --row) {
        std::fwrite(pixels.data() + size_t(row) * rowBytes, 1, rowBytes, out);
    }
    const bool written = std::fflush(out) == 0 && !std::ferror(out);
    if (out != stdout) {
        std::fclose(out);
    }
    return written ? 0 : 1;
}
