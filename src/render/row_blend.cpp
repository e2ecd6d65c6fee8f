#include "render/row_blend.h"

#include "anim/intmath.h"
#include "anim/rgb565.h"

namespace {
constexpr int kWidth = 240, kRows = 320;
}

void drawRowBlended(uint16_t* backBuffer, const uint32_t* picture, int32_t y, int32_t step) {
    for (int r = 0; r < kRows; ++r, y = zm::wrapAdd(y, step)) {
        const uint32_t e = static_cast<uint32_t>(y) & 0xFFFF, f = 0xFFFF - e;
        const uint32_t* upper = picture + (y >> 16) * kWidth;
        const uint32_t* lower = upper + kWidth;
        uint16_t* out = backBuffer + r * kWidth;
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t u = upper[x], w = lower[x];
            const uint32_t red = ((u >> 16) & 255) * f + ((w >> 16) & 255) * e;
            const uint32_t green = ((u >> 8) & 255) * f + ((w >> 8) & 255) * e;
            const uint32_t blue = (u & 255) * f + (w & 255) * e;
            out[x] = rgb565::pack(red >> 16, green >> 16, blue >> 16);
        }
    }
}

void stretchedRows(int32_t g, int32_t& y, int32_t& step) {
    y = zm::wrapSub(20971520, g) >> 1;
    step = g / 320;
}
