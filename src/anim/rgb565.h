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

// Adds two RGB565 pixels channel by channel, each sum clamped at the
// channel's top. Adding fromXrgb(q) this way gives exactly
// addSaturated(p, red, green, blue) of q's 8-bit channels: the widened
// channels' low bits are zero, so the dropped low bits of q never carry, and
// a sum reaching 255 packs to the channel's top either way. Each channel is
// moved to the top of a 16-bit lane and added with unsigned saturation, which
// vector units do eight or sixteen pixels at a time.
constexpr uint16_t addSaturated565(uint16_t p, uint16_t q) {
    auto topAdd = [](uint16_t a, uint16_t b) {
        const uint16_t sum = static_cast<uint16_t>(a + b);
        return sum < a ? static_cast<uint16_t>(0xFFFF) : sum;
    };
    const uint16_t r = topAdd(p & 0xF800, q & 0xF800) & 0xF800;
    const uint16_t g = topAdd(static_cast<uint16_t>(p << 5) & 0xFC00, static_cast<uint16_t>(q << 5) & 0xFC00) >> 5;
    const uint16_t b = topAdd(static_cast<uint16_t>(p << 11), static_cast<uint16_t>(q << 11)) >> 11;
    return static_cast<uint16_t>(r | (g & 0x07E0) | b);
}

// addSaturated565 over a row: out[i] = addSaturated565(out[i], in[i]), eight
// pixels at a time in 16-bit vector lanes, the rest one by one.
inline void addSaturatedRow(uint16_t* out, const uint16_t* in, int64_t count) {
    using Lanes = uint16_t __attribute__((vector_size(16)));
    auto topAdd = [](Lanes a, Lanes b) {
        const Lanes sum = a + b;
        return sum | static_cast<Lanes>(sum < a);  // a lane that wrapped becomes 0xFFFF
    };
    int64_t i = 0;
    for (; i + 8 <= count; i += 8) {
        Lanes p, q;
        __builtin_memcpy(&p, out + i, sizeof p);
        __builtin_memcpy(&q, in + i, sizeof q);
        const Lanes r = topAdd(p & 0xF800, q & 0xF800) & 0xF800;
        const Lanes g = (topAdd((p << 5) & 0xFC00, (q << 5) & 0xFC00) >> 5) & 0x07E0;
        const Lanes b = topAdd(p << 11, q << 11) >> 11;
        const Lanes sum = r | g | b;
        __builtin_memcpy(out + i, &sum, sizeof sum);
    }
    for (; i < count; ++i) out[i] = addSaturated565(out[i], in[i]);
}

}  // namespace rgb565
