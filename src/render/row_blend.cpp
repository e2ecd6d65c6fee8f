#include "render/row_blend.h"

#include <cmath>

#include "anim/intmath.h"

namespace {
constexpr int kWidth = 240, kRows = 320;
}

void drawRowBlended(uint16_t* backBuffer, const uint32_t* picture, int32_t y, int32_t step) {
    for (int r = 0; r < kRows; ++r, y = zm::wrapAdd(y, step)) {
        const uint32_t e = static_cast<uint32_t>(y) & 0xFFFF;
        const uint32_t* upper = picture + (y >> 16) * kWidth;
        const uint32_t* lower = upper + kWidth;
        uint16_t* out = backBuffer + r * kWidth;
        for (int x = 0; x < kWidth; ++x) out[x] = rowBlendedPixel(upper[x], lower[x], e);
    }
}

void stretchedRows(int32_t g, int32_t& y, int32_t& step) {
    y = zm::wrapSub(20971520, g) >> 1;
    step = g / 320;
}

void drawStretched(uint16_t* backBuffer, const uint32_t* picture, int32_t g) {
    int32_t y = 0, step = 0;
    stretchedRows(g, y, step);
    drawRowBlended(backBuffer, picture, y, step);
}

int32_t breathingRows(int32_t time, double rate, double amplitude, double middle) {
    return zm::truncToInt32((std::sin(time * rate) * amplitude + middle) * 65536.0);
}
