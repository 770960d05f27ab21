// The growable byte array that holds one view's image: 3 bytes a pixel (red, green,
// blue), bottom row first, rows packed with no gap.
#pragma once

#include <cstddef>

struct PixelBuffer {
    unsigned char *bytes;  // null until the first resize
    size_t length;         // bytes in use
    size_t capacity;       // bytes allocated
};

// Resizes to newLength bytes: the first min(old, new) bytes stay at their byte
// positions, every added byte is 0. Returns false, leaving the buffer as it was,
// when memory cannot be had.
bool resizePixelBuffer(PixelBuffer &buffer, size_t newLength);

void releasePixelBuffer(PixelBuffer &buffer);
