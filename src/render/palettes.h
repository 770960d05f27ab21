// The colour of an escape count: the greyscale of palette 0, the nine tables of
// palettes 1 to 9 and the ten palette names.
#pragma once

#include <cstdint>

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// 256 colours; every channel value is a multiple of 4 (64 levels, scaled by 4).
struct Palette {
    Rgb entries[256];
};

constexpr uint32_t PALETTE_COUNT = 10;

// Palettes 1 to 9 in this order: blues, gold, greens, ice, juteblue, jutemap,
// mandmap, phong, rose (palette 0, the greyscale, has no table).
extern const Palette paletteTables[PALETTE_COUNT - 1];

// Indexed by paletteIndex; the greyscale's name is empty.
extern const char *const paletteNames[PALETTE_COUNT];

// count x 255 / maxIterations, low byte; computed in 64 bits so that huge limits keep
// their levels in order. With a limit of 0 or less every count is 0 and so is the level.
int colorLevel(int count, int maxIterations);

Rgb colorForCount(int count, int maxIterations, uint32_t paletteIndex);
