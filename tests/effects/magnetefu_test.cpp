// The magnet field: a pole on a grid point, the field's direction and
// length, the glow's clipping and saturation, and commands being ignored.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "anim/rgb565.h"
#include "effects/magnetefu.h"
#include "render/grid_tables.h"
#include "support/png.h"

namespace {

using Poles = std::array<MagnetEffect::Pole, MagnetEffect::kPoles>;

constexpr uint16_t kGrey = 0x4208;

TEST(MagnetField, APoleOnAGridPointAddsNothingThereAndPullsElsewhere) {
    // Pole 0 on grid point (column 5, row 7); the others' charges are zero.
    WarpGrid alone, without;
    MagnetEffect::fillField(alone, Poles{{{5 * 256, 7 * 256, 96}, {3000, 4000, 0}, {0, 0, 0}, {1, 2, 0}}});
    const int on = 7 * 31 + 5;
    EXPECT_EQ(alone.U[on], 0);
    EXPECT_EQ(alone.V[on], 0);
    // Elsewhere the step has length 96 texels (8 fractional bits, 24 bits
    // up) and points at a positive pole: the point left of it moves right.
    const int left = 7 * 31 + 2;
    EXPECT_EQ(alone.U[left], (96 * 256) << 16);
    EXPECT_EQ(alone.V[left], 0);
    // The same pole with the other charge pushes the other way; a second
    // pole on the same point still adds nothing there.
    MagnetEffect::fillField(without, Poles{{{5 * 256, 7 * 256, -96}, {5 * 256, 7 * 256, 96}, {0, 0, 0}, {0, 0, 0}}});
    EXPECT_EQ(without.U[on], 0);
    EXPECT_EQ(without.U[left], 0);
}

TEST(MagnetField, PolesStartOffCentreAndStayOnTheirPaths) {
    const Poles start = MagnetEffect::poles(0);
    for (const auto& p : start) EXPECT_NE(p.x, 15 * 256);
    for (int32_t t = 0; t < 2000000; t += 997) {
        for (const auto& p : MagnetEffect::poles(t)) {
            ASSERT_GE(p.x, 5 * 256);
            ASSERT_LE(p.x, 25 * 256);
            ASSERT_GE(p.y, 5 * 256);
            ASSERT_LE(p.y, 35 * 256);
        }
    }
}

// The glow given as 32-bit pixels, packed as the effect keeps it.
std::vector<uint16_t> blitOnto(uint16_t background, int32_t cx, int32_t cy, const std::vector<uint32_t>& glow) {
    std::vector<uint16_t> light(glow.size()), buffer(240 * 320, background);
    for (size_t i = 0; i < glow.size(); ++i) light[i] = rgb565::fromXrgb(glow[i]);
    MagnetEffect::additiveBlit(buffer.data(), cx, cy, 128, 128, light.data());
    return buffer;
}

TEST(MagnetGlow, PackedAdditionIsTheEightBitSumClampedAndRepacked) {
    // Every destination pixel against source channels across their range.
    for (uint32_t d = 0; d < 65536; ++d)
        for (uint32_t c = 0; c < 256; c += 17) {
            const uint32_t r = c, g = (c * 7 + 3) & 255, b = 255 - c;
            const uint16_t dst = static_cast<uint16_t>(d);
            ASSERT_EQ(rgb565::addSaturated565(dst, rgb565::fromXrgb(r << 16 | g << 8 | b)),
                      rgb565::addSaturated(dst, r, g, b))
                << d << " " << c;
        }
    // The row form, eight lanes at a time and the rest singly, agrees with it.
    std::vector<uint16_t> row(65536 + 5), light(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        row[i] = static_cast<uint16_t>(i);
        light[i] = static_cast<uint16_t>(i * 40503u >> 3);
    }
    std::vector<uint16_t> expected(row.size());
    for (size_t i = 0; i < row.size(); ++i) expected[i] = rgb565::addSaturated565(row[i], light[i]);
    rgb565::addSaturatedRow(row.data(), light.data(), static_cast<int64_t>(row.size()));
    EXPECT_EQ(row, expected);
}

TEST(MagnetGlow, ClipsAtEveryEdgeAndKeepsItsSourceWalk) {
    // Source pixel (s, r) has blue 8 * (s & 31) and green 4 * (r & 63).
    std::vector<uint32_t> glow(128 * 128);
    for (int r = 0; r < 128; ++r)
        for (int s = 0; s < 128; ++s) glow[r * 128 + s] = (4u * (r & 63)) << 8 | 8u * (s & 31);
    // Centred at (40, 300): columns -24..103 and rows 236..363.
    const auto left = blitOnto(0, 40, 300, glow);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const bool covered = x <= 103 && y >= 236;
            const uint16_t expected = covered ? static_cast<uint16_t>(((4 * ((y - 236) & 63)) & 0xFC) << 3 | ((x + 24) & 31))
                                              : 0;
            ASSERT_EQ(left[y * 240 + x], expected) << x << "," << y;
        }
    // Off the right and top edges; wholly off screen and far out, nothing.
    const auto right = blitOnto(0, 230, 10, glow);
    EXPECT_EQ(right[0 * 240 + 239], ((4 * 54) & 0xFC) << 3 | ((239 - 166) & 31));
    EXPECT_EQ(right[73 * 240 + 166], (4 * 63) << 3);
    EXPECT_EQ(right[74 * 240 + 166], 0);
    const std::vector<uint16_t> untouched(240 * 320, kGrey);
    EXPECT_EQ(blitOnto(kGrey, -64, 100, glow), untouched);
    EXPECT_EQ(blitOnto(kGrey, 100, 384, glow), untouched);
    EXPECT_EQ(blitOnto(kGrey, INT32_MAX, INT32_MIN, glow), untouched);
}

TEST(MagnetGlow, AddsWithSaturationAndWhiteStaysWhite) {
    const std::vector<uint32_t> bright(128 * 128, 0x00FFFFFFu), some(128 * 128, 0xFF102030u);
    EXPECT_EQ(blitOnto(0xFFFF, 120, 160, bright)[160 * 240 + 120], 0xFFFF);
    EXPECT_EQ(blitOnto(0xFFFF, 120, 160, some)[160 * 240 + 120], 0xFFFF);
    // Grey 64 plus (16, 32, 48), the top byte ignored: (80, 96, 112).
    EXPECT_EQ(blitOnto(kGrey, 120, 160, some)[160 * 240 + 120], (80 & 0xF8) << 8 | (96 & 0xFC) << 3 | 112 >> 3);
}

TEST(MagnetEffectTest, IgnoresEveryCommandAndDrawsTheSameFrameForTheSameTime) {
    buildGridTables();
    MagnetEffect plain, commanded;
    for (const char* command : {"setparam", "init", "seteffect", "deinit"})
        commanded.handleCommand(100, command, "param=x mode=constant loopmode=stop length=1 value0=7");
    std::vector<uint16_t> a(240 * 320), b(240 * 320);
    plain.render(11000, a.data());
    commanded.render(11000, b.data());
    EXPECT_EQ(a, b);
    testpng::writeLandscape(testpng::outputDir() + "/magnetefu.png", a.data());
}

}  // namespace
