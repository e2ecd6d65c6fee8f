#pragma once
// Per-pixel arithmetic of the blitter's colour modes on RGB565 pixels. Each
// channel is widened to 8 bits with zero low bits, worked on, and packed back.

#include <cstdint>

namespace pixel {

inline uint32_t red8(uint32_t p) { return (p >> 8) & 0xF8; }
inline uint32_t green8(uint32_t p) { return (p >> 3) & 0xFC; }
inline uint32_t blue8(uint32_t p) { return (p & 0x1F) << 3; }

inline uint16_t pack(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>(((r & ~7u) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

// Blend towards the negative; a in 0..256 is the negative's weight.
inline uint16_t inverse(uint32_t p, uint32_t a) {
    const uint32_t keep = 256 - a;
    const uint32_t r = red8(p), g = green8(p), b = blue8(p);
    return pack(((255 - r) * a + r * keep) >> 8, ((255 - g) * a + g * keep) >> 8, ((255 - b) * a + b * keep) >> 8);
}

// Brightness times a/256, each channel saturating at 255. The product is
// unsigned 32-bit, so it wraps for strengths no script uses.
inline uint16_t multiply(uint32_t p, uint32_t a) {
    auto scale = [a](uint32_t c) {
        const uint32_t v = (c * a) >> 8;
        return v < 255 ? v : 255;
    };
    return pack(scale(red8(p)), scale(green8(p)), scale(blue8(p)));
}

// Mix of the shown pixel d (weight a/256) with the new pixel s. Blue is
// computed straight into its 5-bit field.
inline uint16_t trail(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t fresh = 256 - a;
    const uint32_t r = (red8(d) * a + red8(s) * fresh) >> 8;
    const uint32_t g = (green8(d) * a + green8(s) * fresh) >> 8;
    const uint32_t b = (blue8(s) * fresh + blue8(d) * a) >> 11;
    return static_cast<uint16_t>(((r & ~7u) << 8) | ((g & 0xFC) << 3) | b);
}

}  // namespace pixel
