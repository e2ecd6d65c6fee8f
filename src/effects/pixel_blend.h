#pragma once
// Blends of a 32-bit source pixel (blue bits 0-7, green 8-15, red 16-23)
// onto an RGB565 destination, shared by the effects that draw translucent
// pictures. The destination is widened to 8-bit channels with zero low bits.

#include <cstdint>

#include "anim/rgb565.h"

namespace blend {

inline uint32_t red8(uint32_t p) { return rgb565::red8(p); }
inline uint32_t green8(uint32_t p) { return rgb565::green8(p); }
inline uint32_t blue8(uint32_t p) { return rgb565::blue8(p); }
using rgb565::pack;

// Each channel becomes (source * a + destination * (256 - a)) >> 8, a in
// 0..255: alpha 0 keeps the destination, 255 is not quite the pure source.
// Red and blue share one multiply in two 16-bit lanes: neither lane's sum
// exceeds 255 * 256, so no carry crosses between them.
inline uint16_t over(uint16_t dst, uint32_t src, uint32_t a) {
    const uint32_t keep = 256 - a;
    const uint32_t rb = ((src >> 16) & 0xFF) << 16 | (src & 0xFF);
    const uint32_t dstRb = red8(dst) << 16 | blue8(dst);
    const uint32_t mixedRb = rb * a + dstRb * keep;
    const uint32_t g = (((src >> 8) & 0xFF) * a + green8(dst) * keep) >> 8;
    return pack(mixedRb >> 24, g, (mixedRb >> 8) & 0xFF);
}

// over() at alpha 255: (s * 255 + d) >> 8 is s when d >= s and s - 1 when
// d < s (for 8-bit s and d), which spares the multiplies where a picture is
// opaque.
inline uint16_t overOpaque(uint16_t dst, uint32_t src) {
    const uint32_t r = (src >> 16) & 0xFF, g = (src >> 8) & 0xFF, b = src & 0xFF;
    return pack(r - (red8(dst) < r), g - (green8(dst) < g), b - (blue8(dst) < b));
}

// Each channel becomes (255 * m + destination * (255 - m)) >> 8, m in 0..255.
inline uint16_t towardsWhite(uint16_t dst, uint32_t m) {
    const uint32_t keep = 255 - m;
    const uint32_t lift = 255 * m;
    return pack((lift + red8(dst) * keep) >> 8, (lift + green8(dst) * keep) >> 8, (lift + blue8(dst) * keep) >> 8);
}

}  // namespace blend
