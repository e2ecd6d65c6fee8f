#pragma once
// View rays through the warp grid's points, for the effects that cast them
// into a scene and texture the grid with what they hit, and the brightness
// that falls with the hit's depth.

#include <algorithm>
#include <cstdint>

#include "anim/intmath.h"
#include "render/fixed_matrix.h"

// Calls cast(index, dx, dy, dz) for every grid point, row by row. Point
// (column k, row j) looks along (k - 15, j - 20, 32), turned back into the
// world by the transpose of the rotation part of the view matrix; grid
// spacing 8 at depth 32 is the 256-pixel focal length of the projection.
// Products and sums wrap at 32 bits.
template <typename Cast>
void castGridRays(const FixedMatrix& matrix, Cast cast) {
    const int32_t* m = matrix.m;
    int index = 0;
    for (int32_t y = -20; y <= 20; ++y) {
        // Each row's direction starts from the y and z terms; x adds per column.
        const int32_t rowX = zm::wrapAdd(zm::wrapMul(m[4], y), zm::wrapMul(m[8], 32));
        const int32_t rowY = zm::wrapAdd(zm::wrapMul(m[5], y), zm::wrapMul(m[9], 32));
        const int32_t rowZ = zm::wrapAdd(zm::wrapMul(m[6], y), zm::wrapMul(m[10], 32));
        for (int32_t x = -15; x <= 15; ++x, ++index)
            cast(index, zm::wrapAdd(zm::wrapMul(m[0], x), rowX), zm::wrapAdd(zm::wrapMul(m[1], x), rowY),
                 zm::wrapAdd(zm::wrapMul(m[2], x), rowZ));
    }
}

// The grid's brightness (16.16) at depth d: full - (|d| >> 9), clamped to
// 0..255. |d| is taken unsigned, so that even the most negative depth is far.
inline int32_t depthShade(int32_t d, int32_t full) {
    const uint32_t magnitude = d < 0 ? 0u - static_cast<uint32_t>(d) : static_cast<uint32_t>(d);
    return static_cast<int32_t>(std::clamp<int64_t>(full - int64_t{magnitude >> 9}, 0, 255)) << 16;
}
