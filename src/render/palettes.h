// The colour of an escape count: the greyscale of palette 0 and the nine tables of
// palettes 1 to 9.
#pragma once

#include <cstdint>

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

constexpr uint32_t PALETTE_COUNT = 10;

// count x 255 / maxIterations, low byte; computed in 64 bits so that huge limits keep
// their levels in order. With a limit of 0 or less every count is 0 and so is the level.
int colorLevel(int count, int maxIterations);

Rgb colorForCount(int count, int maxIterations, uint32_t paletteIndex);
