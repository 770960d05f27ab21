// Colour rule of the escape counts.
#include "render/palettes.h"

int colorLevel(int count, int maxIterations)
{
    if (maxIterations <= 0) {
        return 0;
    }
    return int((int64_t(count) * 255 / maxIterations) & 0xff);
}

Rgb colorForCount(int count, int maxIterations, uint32_t paletteIndex)
{
    (void)paletteIndex;  // palettes 1 to 9 show the greyscale until their tables exist
    const uint8_t level = uint8_t(colorLevel(count, maxIterations));
    return {level, level, level};
}
