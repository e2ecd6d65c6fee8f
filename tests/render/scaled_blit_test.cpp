// The scaled, centred blit's edges: centres at the ends of the 32-bit range,
// a picture larger than the screen, and sizes that come to nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "render/scaled_blit.h"

namespace {

// Each pixel written takes its source's value; the rest stay 0xFFFF.
std::vector<uint16_t> blit(int32_t cx, int32_t cy, int32_t w, int32_t h, int32_t scale,
                           const std::vector<uint16_t>& pixels) {
    std::vector<uint16_t> screen(240 * 320, 0xFFFF);
    drawScaledCentred(screen.data(), cx, cy, w, h, scale, pixels.data(),
                      [](uint16_t& out, uint16_t source) { out = source; });
    return screen;
}

std::vector<uint16_t> numbered(int32_t w, int32_t h) {
    std::vector<uint16_t> pixels(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>(i);
    return pixels;
}

TEST(ScaledBlit, CentresAtTheEndsOfTheRangeDrawNothingAndReadNothingOutside) {
    const std::vector<uint16_t> untouched(240 * 320, 0xFFFF);
    const auto picture = numbered(16, 16);
    for (const int32_t c : {INT32_MIN, INT32_MIN + 5, INT32_MAX - 5, INT32_MAX}) {
        EXPECT_EQ(blit(c, 160, 16, 16, 256, picture), untouched) << c;
        EXPECT_EQ(blit(120, c, 16, 16, 256, picture), untouched) << c;
        EXPECT_EQ(blit(c, c, 16, 16, 4096, picture), untouched) << c;
    }
}

TEST(ScaledBlit, APictureLargerThanTheScreenFillsItFromTheMatchingPart) {
    // 64 x 80 at four times its size (256 x 320) centred on the screen:
    // screen (x, y) is picture pixel ((x + 8) / 4, y / 4).
    const auto picture = numbered(64, 80);
    const auto screen = blit(120, 160, 64, 80, 1024, picture);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(screen[y * 240 + x], picture[(y / 4) * 64 + (x + 8) / 4]) << x << "," << y;
}

TEST(ScaledBlit, SizesOfNothingOrLessDrawNothing) {
    const std::vector<uint16_t> untouched(240 * 320, 0xFFFF);
    const auto picture = numbered(16, 16);
    EXPECT_EQ(blit(120, 160, 16, 16, 0, picture), untouched);
    EXPECT_EQ(blit(120, 160, 16, 16, 15, picture), untouched);  // 16 x 15 >> 8 = 0
    EXPECT_EQ(blit(120, 160, 16, 16, -256, picture), untouched);
    EXPECT_EQ(blit(120, 160, 0, 16, 256, picture), untouched);
    // The size wraps at 32 bits: 16 x 2^28 is 2^32, which is 0.
    EXPECT_EQ(blit(120, 160, 16, 16, 1 << 28, picture), untouched);
}

}  // namespace
