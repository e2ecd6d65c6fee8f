// The blitter's 16-bit lane arithmetic against the plain 32-bit formulas,
// over every pixel value, and the vector transposition against the plain one.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/back_buffer.h"
#include "present/blitter.h"
#include "present/transpose.h"
#include "support/fakes.h"

namespace {

uint32_t r8(uint32_t p) { return (p >> 8) & 0xF8; }
uint32_t g8(uint32_t p) { return (p >> 3) & 0xFC; }
uint32_t b8(uint32_t p) { return (p & 0x1F) << 3; }
uint16_t pack(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>(((r & ~7u) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

uint16_t mulReference(uint32_t p, int32_t a) {
    auto c = [a](uint32_t v) { return std::min<uint32_t>((v * static_cast<uint32_t>(a)) >> 8, 255); };
    return pack(c(r8(p)), c(g8(p)), c(b8(p)));
}
uint16_t inverseReference(uint32_t p, int32_t a) {
    auto c = [a](int32_t v) { return static_cast<uint32_t>(((255 - v) * a + v * (256 - a)) >> 8); };
    return pack(c(r8(p)), c(g8(p)), c(b8(p)));
}
uint16_t trailReference(uint32_t s, uint32_t d, int32_t a) {
    const uint32_t r = (r8(d) * a + r8(s) * (256 - a)) >> 8;
    const uint32_t g = (g8(d) * a + g8(s) * (256 - a)) >> 8;
    const uint32_t b = (b8(s) * (256 - a) + b8(d) * a) >> 11;
    return static_cast<uint16_t>(((r & ~7u) << 8) | ((g & 0xFC) << 3) | b);
}

// Presents a frame holding every 16-bit value (and some twice) over `shown`.
std::vector<uint16_t> presentAll(const char* mode, int32_t control, const std::vector<uint16_t>& shown,
                                 std::vector<uint16_t>& picture) {
    fakes::FakeDisplay display(2, 480);
    display.memory = shown;
    Blitter blitter(display);
    blitter.handleCommand(0, "setmode", mode);
    blitter.control = ParamTrack(control);
    blitter.update(0);
    picture.resize(kScreenPixels);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint16_t>(i);
    blitter.present(picture.data());
    return display.memory;
}

TEST(PixelOps, EveryPixelMatchesTheFormulas) {
    std::mt19937 rng(11);
    std::vector<uint16_t> shown(kScreenPixels);
    for (auto& p : shown) p = static_cast<uint16_t>(rng());
    std::vector<uint16_t> picture;

    for (int32_t a : {1, 2, 100, 128, 255, 257, 300, 511, 700, 1024, 4095, 65535, 65536, 70000, -5}) {
        const auto out = presentAll("mul", a, shown, picture);
        for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], mulReference(picture[i], a)) << "mul " << a << " " << i;
    }
    for (int32_t a : {1, 37, 128, 200, 255, 256}) {
        const auto out = presentAll("inverse", a, shown, picture);
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], inverseReference(picture[i], a)) << "inverse " << a << " " << i;
    }
    for (int32_t a : {1, 90, 128, 254, 255}) {
        const auto out = presentAll("motionblur", a, shown, picture);
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], trailReference(picture[i], shown[i], a)) << "motionblur " << a << " " << i;
    }
}

TEST(PixelOps, VectorTransposeMatchesThePlainOne) {
    std::mt19937 rng(3);
    std::vector<uint16_t> in(64 * 8), fast(64 * 8), plain(64 * 8);
    for (auto& p : in) p = static_cast<uint16_t>(rng());
    for (std::ptrdiff_t inStride : {8, -8, 37, -64})
        for (std::ptrdiff_t outStride : {8, 20, -8, -64}) {
            const uint16_t* src = in.data() + (inStride < 0 ? 7 * -inStride : 0);
            const std::ptrdiff_t outBase = outStride < 0 ? 7 * -outStride : 0;
            std::fill(fast.begin(), fast.end(), 0);
            std::fill(plain.begin(), plain.end(), 0);
            pixel::transpose8x8(src, inStride, fast.data() + outBase, outStride);
            pixel::transpose8x8Plain(src, inStride, plain.data() + outBase, outStride);
            EXPECT_EQ(fast, plain) << inStride << " " << outStride;
            EXPECT_EQ(plain[outBase + 2 * outStride + 5], src[5 * inStride + 2]);
        }
}

}  // namespace
