// Saving the view under the pointer as an uncompressed 24-bit TGA file.
#pragma once

#include <cstdio>

constexpr int TGA_HEADER_SIZE = 18;

// Tries this many names, from the next number on, before giving up when the chosen
// ones already exist.
constexpr int SNAPSHOT_NAME_TRIES = 100;

// Writes the header and the width x height image of pixels (3 bytes a pixel, red
// first, bottom row first) as blue, green, red from the top row down, a byte at a time
// through the stream's buffer. Returns false if a write failed.
bool writeTga(std::FILE *file, const unsigned char *pixels, int width, int height);

// Writes the view in pointerWindow to the next free "frac%03i.tga" in the working
// directory; nothing without a view under the pointer. Never replaces an existing
// file; a file whose writing fails is removed. Nothing is reported.
void saveSnapshot();
