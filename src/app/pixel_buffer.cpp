// Growth, shrinking and release of a view's pixel buffer.
#include "app/pixel_buffer.h"

#include <cstdlib>
#include <cstring>

bool resizePixelBuffer(PixelBuffer &buffer, size_t newLength)
{
    if (newLength > buffer.capacity) {
        void *grown = std::realloc(buffer.bytes, newLength);
        if (grown == nullptr) {
            return false;
        }
        buffer.bytes = static_cast<unsigned char *>(grown);
        buffer.capacity = newLength;
    }
    // Bytes past the old length may hold a tail dropped by an earlier shrink:
    // whatever was added must read as zero.
    if (newLength > buffer.length) {
        std::memset(buffer.bytes + buffer.length, 0, newLength - buffer.length);
    }
    buffer.length = newLength;
    return true;
}

void releasePixelBuffer(PixelBuffer &buffer)
{
    std::free(buffer.bytes);
    buffer = PixelBuffer{};
}
