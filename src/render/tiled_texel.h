#pragma once
// Element index of texel (tx, ty), each 0..255, in a 256 x 256 picture stored
// as 32 x 32 tiles of 8 x 8 texels, so that texels close in any direction lie
// close in memory.

#include <cstdint>

inline uint32_t tiledIndex(uint32_t tx, uint32_t ty) {
    return ((ty >> 3) << 11) | ((tx >> 3) << 6) | ((ty & 7) << 3) | (tx & 7);
}
