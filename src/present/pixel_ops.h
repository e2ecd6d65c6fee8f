#pragma once
// Per-pixel arithmetic of the blitter's colour modes on RGB565 pixels. Each
// channel is widened to 8 bits with zero low bits, worked on, and packed back.
//
// Within the strengths each function states, every intermediate value fits
// in 16 bits, so the row loops run in 16-bit vector lanes; the results are
// exactly those of the 32-bit formulas.

#include <cstdint>

#include "anim/rgb565.h"

namespace pixel {

using rgb565::blue8;
using rgb565::green8;
using rgb565::pack;
using rgb565::red8;

// Blend towards the negative, a in 0..256 being the negative's weight:
// each channel ((255 - C) * a + C * (256 - a)) >> 8, at most 255 * 256.
inline uint16_t inverse(uint16_t p, uint16_t a) {
    const uint16_t keep = static_cast<uint16_t>(256 - a);
    auto mix = [a, keep](uint16_t c) {
        return static_cast<uint16_t>(static_cast<uint16_t>((255 - c) * a + c * keep) >> 8);
    };
    return pack(mix(red8(p)), mix(green8(p)), mix(blue8(p)));
}

// Brightness times a/256, each channel min((C * a) >> 8, 255), for a below
// 65536 given as high = a >> 8 and low = a & 255: (C * a) >> 8 equals
// C * high + ((C * low) >> 8), and neither term overflows 16 bits.
inline uint16_t multiply(uint16_t p, uint16_t high, uint16_t low) {
    auto scale = [high, low](uint16_t c) {
        const uint16_t v = static_cast<uint16_t>(c * high + static_cast<uint16_t>(c * low) / 256);
        return v < 255 ? v : static_cast<uint16_t>(255);
    };
    return pack(scale(red8(p)), scale(green8(p)), scale(blue8(p)));
}

// The same for a below 256, which darkens and never saturates.
inline uint16_t darken(uint16_t p, uint16_t a) {
    auto scale = [a](uint16_t c) { return static_cast<uint16_t>(static_cast<uint16_t>(c * a) >> 8); };
    return pack(scale(red8(p)), scale(green8(p)), scale(blue8(p)));
}

// The same for any strength: the product is an unsigned 32-bit number, which
// wraps for strengths no script uses.
inline uint16_t multiplyWide(uint16_t p, uint32_t a) {
    auto scale = [a](uint32_t c) {
        const uint32_t v = (c * a) >> 8;
        return static_cast<uint16_t>(v < 255 ? v : 255);
    };
    return pack(scale(red8(p)), scale(green8(p)), scale(blue8(p)));
}

// Mix of the shown pixel d (weight a/256, a in 1..255) with the new pixel s;
// each sum is at most 252 * 256. Blue goes straight into its 5-bit field.
inline uint16_t trail(uint16_t s, uint16_t d, uint16_t a) {
    const uint16_t fresh = static_cast<uint16_t>(256 - a);
    const uint16_t r = static_cast<uint16_t>(red8(d) * a + red8(s) * fresh) >> 8;
    const uint16_t g = static_cast<uint16_t>(green8(d) * a + green8(s) * fresh) >> 8;
    const uint16_t b = static_cast<uint16_t>(blue8(s) * fresh + blue8(d) * a) >> 8;
    return pack(r, g, b);
}

}  // namespace pixel
