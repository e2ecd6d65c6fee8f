#pragma once
// The effects index their pictures with fixed sizes; a loaded picture of
// another shape fails the effect's init rather than being read out of bounds.

#include "assets/image.h"

inline bool hasShape(const Image& image, int width, int height, int bitsPerPixel) {
    return image.pixels != nullptr && image.width == width && image.height == height &&
           image.bitsPerPixel == bitsPerPixel;
}
