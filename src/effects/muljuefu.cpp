#include "effects/muljuefu.h"

#include <cmath>

#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/picture_checks.h"
#include "render/row_blend.h"
#include "render/sine_tables.h"

using zm::wrapAdd;
using zm::wrapMul;

namespace {

constexpr int kWidth = kScreenWidth;

// The skin's colour at brightness factor / 32 (0..2), each channel clamped.
uint16_t shade(uint32_t p, uint32_t factor) {
    const uint32_t r = (((p >> 16) & 255) * factor) >> 5, g = (((p >> 8) & 255) * factor) >> 5;
    const uint32_t b = ((p & 255) * factor) >> 5;
    return rgb565::pack<uint32_t>(r < 255 ? r : 255, g < 255 ? g : 255, b < 255 ? b : 255);
}

}  // namespace

bool TubeEffect::load() {
    sine_ = floorSineTable255();
    return true;
}

bool TubeEffect::init() {
    if (initialised) return true;
    // A picture loaded before a failure stays loaded until deinit or destruction.
    if (!surface_.loadWithMask(res::kTubeSkin, res::kGroundDepth) || !hasShape(surface_, 256, 256, 32)) return false;
    // The stretch reads 240-pixel rows 2..318 of the backdrop.
    if (!background_.loadJpeg(res::kTubeBackdrop) || !hasShape(background_, kWidth, kScreenHeight, 32)) return false;
    initialised = true;
    return true;
}

void TubeEffect::deinit() {
    if (!initialised) return;
    initialised = false;
    surface_.release();
    background_.release();
}

int32_t TubeEffect::shownRows(int32_t time) {
    // 255..315 rows in 16.16; one breath takes about 2244 ms.
    return zm::truncToInt32((std::sin(time * 0.0028) * 30.0 + 285.0) * 65536.0);
}

void TubeEffect::drawBackground(uint16_t* backBuffer, int32_t time) const {
    int32_t y = 0, step = 0;
    stretchedRows(shownRows(time), y, step);
    drawRowBlended(backBuffer, background_.pixels32(), y, step);
}

void TubeEffect::drawColumn(uint16_t* column, const uint32_t* skinRow, const std::array<int32_t, 256>& sine,
                            int32_t cy, int32_t tw) {
    // Lower half, angles 0..127 facing the viewer then turning away: each
    // span runs from the extent drawn so far to this angle's offset h. A span
    // that would reach the bottom edge is skipped whole.
    uint16_t* out = column + (kCentreRow + cy) * kWidth;
    int32_t extent = 0;
    for (int32_t k = 0; k < 128; ++k) {
        const uint32_t p = skinRow[(k + tw) & 255];
        const int32_t h = (sine[k] * static_cast<int32_t>((p >> 24) + 128)) >> 10;
        if (h <= extent || h + cy >= kCentreRow) continue;
        const uint16_t colour = k > 64 ? 0 : shade(p, static_cast<uint32_t>(64 - k));
        for (; extent < h; ++extent, out += kWidth) *out = colour;
    }
    // Upper half, angles -1..-127, writing upwards from the row above the
    // centre line. The extent starts at 1, so the first span is two rows or
    // more; a span that would reach the top edge is skipped whole.
    out = column + (kCentreRow + cy - 1) * kWidth;
    extent = 1;
    for (int32_t k = -1; k > -128; --k) {
        const uint32_t p = skinRow[(k + tw) & 255];
        const int32_t h = (sine[k & 255] * static_cast<int32_t>((p >> 24) + 128)) >> 10;
        if (h >= extent || h + cy <= -kCentreRow) continue;
        const uint16_t colour = k < -64 ? 0 : shade(p, static_cast<uint32_t>(64 + k));
        for (; extent > h; --extent, out -= kWidth) *out = colour;
    }
}

void TubeEffect::drawTube(uint16_t* backBuffer, const uint32_t* skin, const std::array<int32_t, 256>& sine,
                          int32_t time) {
    const int32_t t3 = wrapMul(time, 3), t7 = wrapMul(time, 7), t32 = wrapMul(time, 32);
    const int32_t wave1 = t3 >> 5, wave2 = t3 >> 4, wave3 = zm::wrapNeg(t3) >> 6, wave4 = zm::wrapNeg(t7) >> 7;
    for (int32_t x = 0; x < kWidth; ++x) {
        const int32_t i1 = wave1 + (x >> 1), i2 = wave2 + ((-x) >> 2), i3 = wave3 + x, i4 = wave4 + x;
        // The centre line snakes -64..63 rows about row 160; the twist
        // (-96..95) turns the skin's columns around the tube.
        const int32_t cy = (sine[i4 & 255] + sine[i1 & 255]) >> 3;
        const int32_t tw = (sine[i2 & 255] + sine[i3 & 255] + sine[i1 & 255]) >> 3;
        // The skin slides along the tube by one row every 8 ms.
        const int32_t v = (wrapAdd(t32, 256 * x) >> 8) & 255;
        drawColumn(backBuffer + x, skin + v * 256, sine, cy, tw);
    }
}

void TubeEffect::draw(int32_t time, uint16_t* backBuffer) {
    drawBackground(backBuffer, time);
    drawTube(backBuffer, surface_.pixels32(), sine_, time);
}
