// Colour rule of the escape counts, and the palette names.
#include "render/palettes.h"

const char *const paletteNames[PALETTE_COUNT] = {
    "", "blues", "gold", "greens", "ice", "juteblue", "jutemap", "mandmap", "phong", "rose",
};

int colorLevel(int count, int maxIterations)
{
    if (maxIterations <= 0) {
        return 0;
    }
    return int((int64_t(count) * 255 / maxIterations) & 0xff);
}

Rgb colorForCount(int count, int maxIterations, uint32_t paletteIndex)
{
    const int level = colorLevel(count, maxIterations);
    // An index past the tables (never set by the keys) falls back to the greyscale
    // rather than reading outside them.
    if (paletteIndex == 0 || paletteIndex >= PALETTE_COUNT) {
        const uint8_t grey = uint8_t(level);
        return {grey, grey, grey};
    }
    // Points that reach the limit are black whatever the table holds.
    if (count == maxIterations) {
        return {0, 0, 0};
    }
    return paletteTables[paletteIndex - 1].entries[level];
}
