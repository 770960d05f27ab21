// The TGA snapshot: header layout, pixel order and the exclusive creation of the file.
#include "export/tga_snapshot.h"

#include "app/viewer_state.h"
#include "export/snapshot_numbering.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>

bool writeTga(std::FILE *file, const unsigned char *pixels, int width, int height)
{
    const unsigned char header[TGA_HEADER_SIZE] = {
        0,                              // 0: no image identification field
        0,                              // 1: no colour map
        2,                              // 2: uncompressed true colour
        0, 0,                           // 3: colour map first entry
        0, 0,                           // 5: colour map length
        0,                              // 7: colour map entry size
        0, 0,                           // 8: x origin
        0, 0,                           // 10: y origin
        uint8_t(width), uint8_t(width >> 8),    // 12: width, low 16 bits, little-endian
        uint8_t(height), uint8_t(height >> 8),  // 14: height
        24,                             // 16: bits per pixel
        0x20,                           // 17: bit 5: the first row stored is the top row
    };
    bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header;

    // The buffer holds the bottom row first and red first; the file wants the top row
    // first and blue first.
    for (int row = height - 1; row >= 0; --row) {
        const unsigned char *pixel = pixels + size_t(row) * size_t(width) * 3u;
        for (int column = 0; column < width; ++column, pixel += 3) {
            ok &= std::fputc(pixel[2], file) != EOF;
            ok &= std::fputc(pixel[1], file) != EOF;
            ok &= std::fputc(pixel[0], file) != EOF;
        }
    }
    return ok && !std::ferror(file);
}

// Creates the next free snapshot file from number on: exclusively, so that an existing
// file (one the listing missed, or a symbolic link planted under that name) is never
// emptied or written through. Stores the name used.
static std::FILE *createSnapshotFile(int number, char *name, size_t nameSize)
{
    for (int tries = 0; tries < SNAPSHOT_NAME_TRIES; ++tries, ++number) {
        std::snprintf(name, nameSize, "frac%03i.tga", number);
        errno = 0;
        if (std::FILE *file = std::fopen(name, "wbx")) {
            return file;
        }
        if (errno != EEXIST || number == INT_MAX) {
            return nullptr;
        }
    }
    return nullptr;
}

void saveSnapshot()
{
    const PixelBuffer *pixels = viewUnderPointer().pixels;
    if (pixels == nullptr) {
        return;
    }
    const int width = viewer.viewWidth;
    const int height = viewer.viewHeight;
    // A refused reshape can leave a size below zero: no image, no file. A size of zero
    // is an empty image, the header alone. Otherwise the buffer must hold all of it.
    if (width < 0 || height < 0) {
        return;
    }
    if (width > 0 && height > 0 && !viewHasImage(*pixels)) {
        return;
    }

    const int highest = nextSnapshotNumber();
    if (highest == INT_MAX) {
        return;  // no next number
    }
    char name[32];  // "frac" + any int + ".tga"
    std::FILE *file = createSnapshotFile(highest + 1, name, sizeof name);
    if (file == nullptr) {
        return;
    }
    bool ok = writeTga(file, pixels->bytes, width, height);
    ok &= std::fclose(file) == 0;
    // A short file would pass for an image; a failed snapshot leaves nothing behind.
    if (!ok) {
        std::remove(name);
    }
}
