#pragma once
// RGB565 pixels: red in bits 11-15, green in bits 5-10, blue in bits 0-4.
//
// Widening gives 8-bit channels with zero low bits; packing keeps the top 5,
// 6 and 5 bits of 8-bit channels. Callers that compute a channel as a wider
// product and shift it down pass the shifted value: pack masks red and green
// to their fields and shifts blue by 3 without a mask, which is exactly
// "(R AND 0xF8) << 8 | (G AND 0xFC) << 3 | B >> 3" for any channel values.
// The functions are templates so that the blitter's loops keep 16-bit lanes.

#include <cstdint>

namespace rgb565 {

template <typename T>
constexpr T red8(T p) {
    return static_cast<T>((p >> 8) & 0xF8);
}
template <typename T>
constexpr T green8(T p) {
    return static_cast<T>((p >> 3) & 0xFC);
}
template <typename T>
constexpr T blue8(T p) {
    return static_cast<T>((p & 0x1F) << 3);
}

template <typename T>
constexpr uint16_t pack(T r, T g, T b) {
    return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

// The RGB565 form of a 32-bit pixel (blue bits 0-7, green 8-15, red 16-23).
constexpr uint16_t fromXrgb(uint32_t p) { return pack<uint32_t>((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// Adds 8-bit channels to the pixel, each sum clamped to 255.
constexpr uint16_t addSaturated(uint16_t p, uint32_t r, uint32_t g, uint32_t b) {
    const uint32_t sr = red8<uint32_t>(p) + r, sg = green8<uint32_t>(p) + g, sb = blue8<uint32_t>(p) + b;
    return pack<uint32_t>(sr < 255 ? sr : 255, sg < 255 ? sg : 255, sb < 255 ? sb : 255);
}

}  // namespace rgb565
