// The globe: how sphere-map entries, angles and the two ring layers reach
// the back buffer, and the shape of the generated maps.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/resource_ids.h"
#include "assets/resources.h"
#include "effects/worldefu.h"

namespace {

constexpr uint16_t kBackground = 0x1234;

// 256 x 512 planet maps whose texels name their own row: red = row & 255,
// green = row >> 8 (day) or 0x80 | row >> 8 (night), alpha (the daylight
// mask) 255 everywhere unless changed.
struct PlanetMaps {
    std::vector<uint32_t> day = std::vector<uint32_t>(256 * 512), night = std::vector<uint32_t>(256 * 512);
    PlanetMaps() {
        for (uint32_t row = 0; row < 512; ++row)
            for (uint32_t u = 0; u < 256; ++u) {
                day[row * 256 + u] = 0xFF000000u | (row & 255) << 16 | (row >> 8) << 8;
                night[row * 256 + u] = (row & 255) << 16 | (0x80 | row >> 8) << 8;
            }
    }
};

std::vector<uint16_t> filledBuffer(uint16_t value = kBackground) { return std::vector<uint16_t>(240 * 320, value); }

uint16_t rgb565(uint32_t r, uint32_t g, uint32_t b) { return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)); }

TEST(GlobeDrawing, EntryMinusOneLeavesTheBackgroundAndOthersLandBelowRow40) {
    PlanetMaps maps;
    std::vector<int32_t> globe(GlobeEffect::kGlobeEntries, -1);
    const int index = 100 * 240 + 17;
    globe[index] = 300 * 256 + 9;  // row 300, column 9
    auto buffer = filledBuffer();
    GlobeEffect::drawGlobe(buffer.data(), globe.data(), maps.day.data(), maps.night.data(), 0, 0);
    for (size_t i = 0; i < buffer.size(); ++i) {
        if (i == static_cast<size_t>(40 * 240 + index)) continue;
        ASSERT_EQ(buffer[i], kBackground) << "pixel " << i;
    }
    // Full daylight: the day texel of row 300, each channel scaled by 255/256.
    EXPECT_EQ(buffer[40 * 240 + index], rgb565((44 * 255) >> 8, (1 * 255) >> 8, 0));
}

TEST(GlobeDrawing, NegativeAnglesWrapAroundTheMapRows) {
    PlanetMaps maps;
    // Night on the mask rows 0..255, day on 256..511.
    for (int row = 0; row < 256; ++row)
        for (int u = 0; u < 256; ++u) maps.day[row * 256 + u] &= 0x00FFFFFF;
    std::vector<int32_t> globe(GlobeEffect::kGlobeEntries, -1);
    globe[0] = 0 * 256 + 3;
    auto minus = filledBuffer(), wrapped = filledBuffer();
    GlobeEffect::drawGlobe(minus.data(), globe.data(), maps.day.data(), maps.night.data(), -32, 0);
    GlobeEffect::drawGlobe(wrapped.data(), globe.data(), maps.day.data(), maps.night.data(), 480, 0);
    EXPECT_EQ(minus, wrapped);
    // Texel row 480 (224 + 256) in daylight (mask row 480 as well).
    EXPECT_EQ(minus[9600], rgb565((224 * 255) >> 8, (1 * 255) >> 8, 0));

    // The mask row is the texel row plus the time angle: -32 acts as 480
    // (mask row 448, day), -288 as 224 (mask row 192, night).
    GlobeEffect::drawGlobe(minus.data(), globe.data(), maps.day.data(), maps.night.data(), -32, -32);
    GlobeEffect::drawGlobe(wrapped.data(), globe.data(), maps.day.data(), maps.night.data(), -32, 480);
    EXPECT_EQ(minus, wrapped);
    GlobeEffect::drawGlobe(minus.data(), globe.data(), maps.day.data(), maps.night.data(), -32, -288);
    EXPECT_EQ(minus[9600], rgb565((224 * 255) >> 8, (0x81 * 255) >> 8, 0));  // the night texel
}

// A ring with one band pixel (row 5, column 7) whose layers both point at
// texture row 100, column 3.
struct Ring {
    std::vector<uint32_t> map = std::vector<uint32_t>(GlobeEffect::kRingEntries, 0xFFFFFFFFu);
    std::vector<uint32_t> texture = std::vector<uint32_t>(32 * 512, 0);
    std::vector<uint8_t> mask = std::vector<uint8_t>(32 * 512, 0);
    static constexpr int kPixel = 5 * 240 + 88 + 7;
    Ring(bool first, bool second) {
        const uint32_t texel = 100 * 32 + 3;
        map[5 * 64 + 7] = (first ? texel : 0xFFFF) | (second ? texel : 0xFFFF) << 16;
        texture[texel] = 128u << 24 | 200u << 16 | 40u << 8 | 96u;
        mask[texel] = 100;
    }
    std::vector<uint16_t> draw(int32_t textAngle, int32_t clip, int32_t clipEnd) {
        auto buffer = filledBuffer(0x4208);  // each channel 64
        GlobeEffect::drawRing(buffer.data(), map.data(), texture.data(), mask.data(), textAngle, clip, clipEnd);
        return buffer;
    }
};

TEST(GlobeRing, LayersBlendColourFirstThenWhite) {
    // Coloured lettering at alpha 128 over grey 64: (c * 128 + 64 * 128) >> 8.
    const uint32_t r1 = (200 * 128 + 64 * 128) >> 8, g1 = (40 * 128 + 64 * 128) >> 8, b1 = (96 * 128 + 64 * 128) >> 8;
    const uint16_t coloured = static_cast<uint16_t>((r1 & 0xF8) << 8 | (g1 & 0xFC) << 3 | b1 >> 3);
    EXPECT_EQ(Ring(true, false).draw(0, 0, 511)[Ring::kPixel], coloured);

    // Then towards white by 100 over the coloured result, from its 565 channels.
    auto white = [](uint32_t c) { return (255 * 100 + c * 155) >> 8; };
    const uint32_t r2 = white(r1 & 0xF8), g2 = white(g1 & 0xFC), b2 = white((b1 >> 3) << 3);
    const uint16_t both = static_cast<uint16_t>((r2 & 0xF8) << 8 | (g2 & 0xFC) << 3 | b2 >> 3);
    const auto buffer = Ring(true, true).draw(0, 0, 511);
    EXPECT_EQ(buffer[Ring::kPixel], both);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0x4208), 240 * 320 - 1);
}

TEST(GlobeRing, ClipBoundsHideTheRingOutsideTheirOpenInterval) {
    Ring ring(true, true);
    const uint16_t untouched = 0x4208;
    // Row 100 shows only for clip < 100 < clipEnd.
    EXPECT_NE(ring.draw(0, 99, 101)[Ring::kPixel], untouched);
    EXPECT_EQ(ring.draw(0, 100, 511)[Ring::kPixel], untouched);
    EXPECT_EQ(ring.draw(0, 0, 100)[Ring::kPixel], untouched);
    EXPECT_EQ(ring.draw(0, 300, 300)[Ring::kPixel], untouched);
    EXPECT_EQ(ring.draw(0, 511, 48)[Ring::kPixel], untouched);
    // A negative clip compares as a huge unsigned number: nothing shows.
    EXPECT_EQ(ring.draw(0, -1, 511)[Ring::kPixel], untouched);
    EXPECT_EQ(ring.draw(0, -400, 511)[Ring::kPixel], untouched);
    // The text angle moves the row: 100 + 420 wraps to 8, hidden by clip 48;
    // -32 acts as 480 (100 + 480 wraps to 68).
    EXPECT_EQ(ring.draw(420, 48, 511)[Ring::kPixel], untouched);
    EXPECT_EQ(ring.draw(-32, 48, 511), ring.draw(480, 48, 511));
    EXPECT_NE(ring.draw(-32, 48, 511)[Ring::kPixel], untouched);
}

// The generated maps: a disc of about 202 pixels in the middle of the
// square whose entries stay inside the planet maps' window, and a ring whose
// halves are empty or valid texel references.
TEST(GlobeMaps, GeneratedSphereAndRingMapsHaveTheirShape) {
    std::vector<int32_t> globe(GlobeEffect::kGlobeEntries);
    ASSERT_TRUE(loadTable32(reinterpret_cast<uint32_t*>(globe.data()), GlobeEffect::kGlobeEntries, res::kGlobeSphereMap));
    int top = 240, bottom = -1, left = 240, right = -1, inside = 0;
    for (int i = 0; i < GlobeEffect::kGlobeEntries; ++i) {
        const int32_t e = globe[i];
        if (e == -1) continue;
        ++inside;
        top = std::min(top, i / 240), bottom = std::max(bottom, i / 240);
        left = std::min(left, i % 240), right = std::max(right, i % 240);
        ASSERT_GE(e & 255, 24);
        ASSERT_LE(e & 255, 233);
        ASSERT_GE(e >> 8, 152);
        ASSERT_LE(e >> 8, 361);
    }
    EXPECT_EQ(top, 20);
    EXPECT_EQ(bottom, 221);
    EXPECT_EQ(left, 19);
    EXPECT_EQ(right, 220);
    EXPECT_NEAR(inside, 3.14159 * 101 * 101, 400);

    std::vector<uint32_t> ring(GlobeEffect::kRingEntries);
    ASSERT_TRUE(loadTable32(ring.data(), GlobeEffect::kRingEntries, res::kGlobeRingMap));
    int nearSide = 0, farSide = 0, both = 0;
    for (uint32_t w : ring) {
        const uint32_t first = w & 0xFFFF, second = w >> 16;
        ASSERT_TRUE(first == 0xFFFF || first < 16384);
        ASSERT_TRUE(second == 0xFFFF || second < 16384);
        farSide += first != 0xFFFF;
        nearSide += second != 0xFFFF;
        both += first != 0xFFFF && second != 0xFFFF;
    }
    EXPECT_GT(nearSide, 3000);
    EXPECT_GT(farSide, 500);
    EXPECT_GT(both, 0);
}

// A map that comes out shorter or longer than its table is refused, so the
// effect never draws from entries the resource did not fill.
TEST(GlobeMaps, MapsThatDoNotFillTheirTableExactlyAreRefused) {
    std::vector<uint32_t> ring(GlobeEffect::kRingEntries + 16);
    EXPECT_FALSE(loadTable32(ring.data(), GlobeEffect::kRingEntries + 16, res::kGlobeRingMap));
    EXPECT_FALSE(loadTable32(ring.data(), GlobeEffect::kRingEntries - 16, res::kGlobeRingMap));
    EXPECT_FALSE(loadTable32(ring.data(), GlobeEffect::kRingEntries, 4242));
    EXPECT_TRUE(loadTable32(ring.data(), GlobeEffect::kRingEntries, res::kGlobeRingMap));
}

}  // namespace
