#include "effects/muljuefu.h"

#include <algorithm>

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
// The screen offset of a skin point at sine value s: radius 255 scaled by
// (height + 128) / 1024, the height in the texel's top byte.
inline int32_t offset(int32_t s, uint32_t texel) { return (s * static_cast<int32_t>((texel >> 24) + 128)) >> 10; }

// The offset of the tallest height (255) at sine value s.
constexpr int32_t tallest(int32_t s) { return (s * 383) >> 10; }

// The skin's colour at brightness factor / 32 (0..2), each channel clamped.
// Red and blue share one multiply in two 16-bit lanes (255 x 64 < 65536).
inline uint16_t shade(uint32_t p, uint32_t factor) {
    const uint32_t rb = (p & 0x00FF00FFu) * factor, g = (((p >> 8) & 255) * factor) >> 5;
    const uint32_t r = rb >> 21, b = (rb & 0xFFFF) >> 5;
    return rgb565::pack<uint32_t>(r < 255 ? r : 255, g < 255 ? g : 255, b < 255 ? b : 255);
}

}  // namespace

bool TubeEffect::load() {
    sine_ = floorSineTable255();
    return true;
}

bool TubeEffect::acquire() {
    // A picture loaded before a failure stays loaded until deinit or destruction.
    if (!surface_.loadWithMask(res::kTubeSkin, res::kGroundDepth) || !hasShape(surface_, 256, 256, 32)) return false;
    // The stretch reads 240-pixel rows 2..318 of the backdrop.
    if (!background_.loadJpeg(res::kTubeBackdrop) || !hasShape(background_, kWidth, kScreenHeight, 32)) return false;
    return true;
}

void TubeEffect::release() {
    surface_.release();
    background_.release();
}

int32_t TubeEffect::shownRows(int32_t time) {
    // 255..315 rows in 16.16; one breath takes about 2244 ms.
    return breathingRows(time, 0.0028, 30.0, 285.0);
}

void TubeEffect::drawBackground(uint16_t* backBuffer, int32_t time) const {
    drawStretched(backBuffer, background_.pixels32(), shownRows(time));
}

void TubeEffect::drawBackgroundAround(uint16_t* backBuffer, int32_t time, const Span* covered) const {
    // The backdrop where the tube left its pixels: rows in 8-column blocks,
    // blocks the tube covers whole skipped, blocks it does not touch blended
    // whole, the rest pixel by pixel. The same pixels as drawBackground.
    constexpr int kBlock = 8, kBlocks = kWidth / kBlock;
    Span whole[kBlocks], any[kBlocks];  // rows covered by all / by some columns
    for (int b = 0; b < kBlocks; ++b) {
        whole[b] = any[b] = covered[b * kBlock];
        for (int x = b * kBlock + 1; x < (b + 1) * kBlock; ++x) {
            whole[b] = {std::max(whole[b].top, covered[x].top), std::min(whole[b].bottom, covered[x].bottom)};
            any[b] = {std::min(any[b].top, covered[x].top), std::max(any[b].bottom, covered[x].bottom)};
        }
    }
    int32_t y = 0, step = 0;
    stretchedRows(shownRows(time), y, step);
    const uint32_t* picture = background_.pixels32();
    for (int32_t r = 0; r < kScreenHeight; ++r, y = wrapAdd(y, step)) {
        const uint32_t e = static_cast<uint32_t>(y) & 0xFFFF;
        const uint32_t* upper = picture + (y >> 16) * kWidth;
        const uint32_t* lower = upper + kWidth;
        uint16_t* out = backBuffer + r * kWidth;
        for (int b = 0, x0 = 0; b < kBlocks; ++b, x0 += kBlock) {
            if (r >= whole[b].top && r <= whole[b].bottom) continue;
            if (r < any[b].top || r > any[b].bottom) {
                for (int x = x0; x < x0 + kBlock; ++x) out[x] = rowBlendedPixel(upper[x], lower[x], e);
            } else {
                for (int x = x0; x < x0 + kBlock; ++x)
                    if (r < covered[x].top || r > covered[x].bottom) out[x] = rowBlendedPixel(upper[x], lower[x], e);
            }
        }
    }
}

TubeEffect::Span TubeEffect::drawColumn(uint16_t* column, const uint32_t* skinRow,
                                        const std::array<int32_t, 256>& sine, int32_t cy, int32_t tw) {
    // Lower half, angles 0..127 facing the viewer then turning away: each
    // span runs from the extent drawn so far to this angle's offset h. A span
    // that would reach the bottom edge (h + cy >= 160) is skipped whole.
    const int32_t lowerLimit = kCentreRow - 1 - cy;  // the largest h allowed
    uint16_t* out = column + (kCentreRow + cy) * kWidth;
    int32_t extent = 0;
    for (int32_t k = 0; k <= 64; ++k) {
        const uint32_t p = skinRow[(k + tw) & 255];
        const int32_t h = offset(sine[k], p);
        if (h <= extent || h > lowerLimit) continue;
        const uint16_t colour = shade(p, static_cast<uint32_t>(64 - k));
        do {
            *out = colour;
            out += kWidth;
        } while (++extent < h);
    }
    // Past a quarter turn the far side shows black, and the sine only falls:
    // once even the tallest height cannot reach beyond the extent, no later
    // angle draws.
    for (int32_t k = 65; k < 128 && tallest(sine[k]) > extent; ++k) {
        const int32_t h = offset(sine[k], skinRow[(k + tw) & 255]);
        if (h <= extent || h > lowerLimit) continue;
        do {
            *out = 0;
            out += kWidth;
        } while (++extent < h);
    }

    const int32_t bottom = kCentreRow + cy + extent - 1;

    // Upper half, angles -1..-127, writing upwards from the row above the
    // centre line. The extent starts at 1, so the first span is two rows or
    // more; a span that would reach the top edge (h + cy <= -160) is skipped.
    const int32_t upperLimit = -kCentreRow + 1 - cy;  // the smallest h allowed
    out = column + (kCentreRow + cy - 1) * kWidth;
    extent = 1;
    for (int32_t k = -1; k >= -64; --k) {
        const uint32_t p = skinRow[(k + tw) & 255];
        const int32_t h = offset(sine[k & 255], p);
        if (h >= extent || h < upperLimit) continue;
        const uint16_t colour = shade(p, static_cast<uint32_t>(64 + k));
        do {
            *out = colour;
            out -= kWidth;
        } while (--extent > h);
    }
    for (int32_t k = -65; k > -128 && tallest(sine[k & 255]) < extent; --k) {
        const int32_t h = offset(sine[k & 255], skinRow[(k + tw) & 255]);
        if (h >= extent || h < upperLimit) continue;
        do {
            *out = 0;
            out -= kWidth;
        } while (--extent > h);
    }
    return {kCentreRow + cy + extent - 1, bottom};
}

void TubeEffect::drawTube(uint16_t* backBuffer, const uint32_t* skin, const std::array<int32_t, 256>& sine,
                          int32_t time, Span* covered) {
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
        covered[x] = drawColumn(backBuffer + x, skin + v * 256, sine, cy, tw);
    }
}

void TubeEffect::draw(int32_t time, uint16_t* backBuffer) {
    // The tube first, then the backdrop only around it: the backdrop's
    // blend is the costlier per pixel, and the tube hides a third of it.
    Span covered[kWidth];
    drawTube(backBuffer, surface_.pixels32(), sine_, time, covered);
    drawBackgroundAround(backBuffer, time, covered);
}
