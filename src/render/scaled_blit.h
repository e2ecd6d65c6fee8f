#pragma once
// A w x h picture drawn scaled by scale / 256 with nearest sampling, centred
// on (cx, cy) and clipped to the screen pixel by pixel; put(destination,
// source pixel) writes each pixel, so one walk serves every blend.
//
// The drawn size is dw = (w x scale) >> 8 by dh = (h x scale) >> 8 and its
// top-left corner (cx - (dw >> 1), cy - (dh >> 1)), all wrapping at 32 bits;
// a size of 0 or less draws nothing. The source advances by (w x 256) / dw
// columns (8.8) per pixel and (h x 256) / dh rows per row, over clipped rows
// and columns too: a picture partly off the screen shows the matching part.

#include <algorithm>
#include <cstdint>

#include "anim/intmath.h"
#include "anim/screen_size.h"

template <typename Pixel, typename Put>
void drawScaledCentred(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h, int32_t scale,
                       const Pixel* pixels, Put put) {
    const int32_t dw = zm::wrapMul(w, scale) >> 8, dh = zm::wrapMul(h, scale) >> 8;
    if (dw <= 0 || dh <= 0) return;
    const int32_t x0 = zm::wrapSub(cx, dw >> 1), y0 = zm::wrapSub(cy, dh >> 1);
    const int32_t stepX = zm::wrapMul(w, 256) / dw, stepY = zm::wrapMul(h, 256) / dh;
    // Only the part on the screen is visited (its bounds in 64 bits, where
    // the far corner cannot overflow); the source walk starts where stepping
    // from the picture's corner would have brought it.
    const int64_t xFrom = std::max<int64_t>(x0, 0), xTo = std::min<int64_t>(int64_t{x0} + dw, kScreenWidth);
    const int64_t yFrom = std::max<int64_t>(y0, 0), yTo = std::min<int64_t>(int64_t{y0} + dh, kScreenHeight);
    // The source column of every visible column, once per blit.
    int64_t columns[kScreenWidth];
    int64_t u = (xFrom - x0) * stepX;
    for (int64_t x = xFrom; x < xTo; ++x, u += stepX) columns[x - xFrom] = u >> 8;
    int64_t v = (yFrom - y0) * stepY;
    for (int64_t y = yFrom; y < yTo; ++y, v += stepY) {
        const Pixel* source = pixels + (v >> 8) * w;
        uint16_t* row = backBuffer + y * kScreenWidth;
        for (int64_t x = xFrom; x < xTo; ++x) put(row[x], source[columns[x - xFrom]]);
    }
}
