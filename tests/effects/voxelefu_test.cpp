// The voxel landscape: the level horizon, hidden ground, the shore seen
// across water, the cross-fade's ends, and a camera that flies on between
// showings.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "anim/rgb565.h"
#include "assets/image.h"
#include "effects/voxelefu.h"
#include "render/sine_tables.h"
#include "support/png.h"

namespace {

const std::array<int32_t, 2048> kSine = sineTable2048x256(), kCosine = cosineTable2048x256();

// A tiled texture whose texel (x, y) is texel(x), the same on every row.
std::vector<uint32_t> stripes(const std::function<uint32_t(int)>& texel) {
    std::vector<uint32_t> texture(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) texture[tiledIndex(x, y)] = texel(x);
    return texture;
}

uint32_t texel(uint32_t depth, uint32_t r, uint32_t g, uint32_t b) { return depth << 24 | r << 16 | g << 8 | b; }

std::vector<uint16_t> landscape(const std::vector<uint32_t>& texture, const VoxelEffect::View& view) {
    std::vector<uint16_t> buffer(240 * 320, 0x1234);
    VoxelEffect::drawLandscape(buffer.data(), texture.data(), kSine.data(), kCosine.data(), view);
    return buffer;
}

// Position p of view column n (n = 0 is the bottom screen row pair).
uint16_t at(const std::vector<uint16_t>& buffer, int n, int p) { return buffer[(319 - 2 * n) * 240 + 239 - p]; }

TEST(VoxelLandscape, NoTurnGivesTheSameLevelColumnEverywhere) {
    const uint16_t ground = rgb565::pack(192, 128, 64);
    const auto texture = stripes([](int) { return texel(0, 192, 128, 64); });
    const auto level = landscape(texture, {1000, 5000, -7000, 0});
    for (int n = 0; n < 160; ++n) {
        for (int p = 0; p < 240; ++p) {
            ASSERT_EQ(at(level, n, p), at(level, 0, p)) << n << " " << p;
            // Both rows of the pair.
            ASSERT_EQ(level[(318 - 2 * n) * 240 + 239 - p], at(level, n, p));
        }
    }
    // Flat ground at the highest depth reaches 160 - 3000 / 299 = 150; sky above.
    EXPECT_EQ(at(level, 0, 149), ground);
    EXPECT_NE(at(level, 0, 150), ground);
    // A turn tilts the horizon: the columns differ.
    const auto banked = landscape(texture, {1000, 5000, -7000, 200});
    EXPECT_NE(at(banked, 0, 150), at(banked, 159, 150));
    EXPECT_EQ(std::count(banked.begin(), banked.end(), 0x1234), 0);
}

TEST(VoxelLandscape, GroundBehindNearerGroundDrawsNothing) {
    // Column 0 looks along +x (heading 512) one texel per step from texel 0
    // at distance 15: distance j reads texel j - 15 and is drawn at the
    // previous texel's depth. Texels 10..20 lie lower (depth 100): only
    // texel 10, still drawn at the depth of texel 9, shows, at 35..39.
    const uint16_t a = rgb565::pack(255, 0, 0), b = rgb565::pack(0, 255, 0), c = rgb565::pack(0, 0, 255);
    const auto texture = stripes([](int x) {
        if (x < 10) return texel(0, 255, 0, 0);
        if (x <= 20) return texel(100, 0, 255, 0);
        return texel(0, 0, 0, 255);
    });
    const auto buffer = landscape(texture, {512, 0, 0, 0});
    for (int p = 0; p < 35; ++p) ASSERT_EQ(at(buffer, 0, p), a) << p;
    for (int p = 35; p < 40; ++p) ASSERT_EQ(at(buffer, 0, p), b) << p;
    // (At distance 271 the walk wraps round to texel 0, which tops the column.)
    for (int p = 40; p < 149; ++p) ASSERT_EQ(at(buffer, 0, p), c) << p;
}

TEST(VoxelLandscape, WaterTurnsBlueAndTheShoreRisesFromDepth128) {
    // Texels 0..49 water at depth 129, then dry ground at depth 100. Seen
    // through water the blue becomes 192 + blue / 4; the first dry sample
    // stands at the shore's depth 128 (not its own 100) and is still seen
    // through water.
    const auto texture = stripes([](int x) { return x < 50 ? texel(129, 10, 20, 100) : texel(100, 200, 100, 40); });
    const auto buffer = landscape(texture, {512, 0, 0, 0});
    EXPECT_EQ(at(buffer, 0, 0), rgb565::pack(10, 20, 192 + 25));
    EXPECT_EQ(at(buffer, 0, 48), rgb565::pack(10, 20, 192 + 25));
    EXPECT_EQ(at(buffer, 0, 49), rgb565::pack(200, 100, 192 + 10));
    EXPECT_EQ(at(buffer, 0, 50), rgb565::pack(200, 100, 192 + 10));
    EXPECT_EQ(at(buffer, 0, 51), rgb565::pack(200, 100, 40));
    EXPECT_EQ(at(buffer, 0, 66), rgb565::pack(200, 100, 40));
}

TEST(VoxelLandscape, MovingTheCameraByWholeTexelsMovesTheGroundWithIt) {
    // Any texture seen from (x, y) looks the same as that texture moved by
    // (a, b) texels seen from (x + 256 a, y + 256 b): positions wrap every
    // 256 texels both ways, in every direction of travel.
    std::vector<uint32_t> ground(256 * 256), moved(256 * 256);
    uint32_t seed = 12345;
    for (uint32_t& t : ground) {
        seed = seed * 1664525u + 1013904223u;
        t = (seed >> 24) % 180 << 24 | (seed & 0xFFFFFF);  // water and land, any colour
    }
    const int a = 77, b = -150;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) moved[tiledIndex((x + a) & 255, (y + b) & 255)] = ground[tiledIndex(x, y)];
    for (const VoxelEffect::View& view : {VoxelEffect::View{1024, 0x1234, -0x5678, 100},
                                          VoxelEffect::View{300, -70000, 3000000, -250},
                                          VoxelEffect::View{1900, 255, 65535, 0}}) {
        const VoxelEffect::View shifted{view.heading, view.x + 256 * a, view.y + 256 * b, view.turn};
        EXPECT_EQ(landscape(ground, view), landscape(moved, shifted)) << view.heading;
    }
}

TEST(VoxelCrossFade, ZeroKeepsTheLandscapeAnd256ShowsThePictureAlone) {
    std::vector<uint32_t> picture(240 * 320);
    std::vector<uint16_t> buffer(240 * 320);
    for (int i = 0; i < 240 * 320; ++i) {
        picture[i] = static_cast<uint32_t>(i) * 2654435761u;
        buffer[i] = static_cast<uint16_t>(i * 40503u);
    }
    auto faded = buffer;
    VoxelEffect::crossFade(faded.data(), picture.data(), 0);
    EXPECT_EQ(faded, buffer);
    VoxelEffect::crossFade(faded.data(), picture.data(), 256);
    for (int i = 0; i < 240 * 320; ++i) ASSERT_EQ(faded[i], rgb565::fromXrgb(picture[i])) << i;
    // Weights beyond the ends are held there.
    auto over = buffer;
    VoxelEffect::crossFade(over.data(), picture.data(), 1000);
    EXPECT_EQ(over, faded);
    VoxelEffect::crossFade(over.data(), picture.data(), -5);
    EXPECT_EQ(over, faded);
}

TEST(VoxelEffectFlight, TheCameraFliesOnAcrossShowingsAndStandsStillWithTheClock) {
    std::vector<uint16_t> buffer(240 * 320);
    VoxelEffect shown, fresh;
    ASSERT_TRUE(shown.load() && fresh.load());
    shown.render(1000, buffer.data());
    shown.render(1000, buffer.data());  // the same moment again: no further step
    shown.deinit();
    shown.render(9000, buffer.data());
    fresh.render(9000, buffer.data());
    EXPECT_NE(shown.positionX(), fresh.positionX());
    VoxelEffect steady;
    ASSERT_TRUE(steady.load());
    steady.render(1000, buffer.data());
    steady.render(9000, buffer.data());
    EXPECT_EQ(shown.positionX(), steady.positionX());
    EXPECT_EQ(shown.positionY(), steady.positionY());
    EXPECT_EQ(shown.heading(), steady.heading());
}

TEST(VoxelEffectFlight, FramesOfTheFlightToLookAt) {
    VoxelEffect effect;
    ASSERT_TRUE(effect.load());
    std::vector<uint16_t> buffer(240 * 320);
    for (int frame = 0; frame <= 120; ++frame) {
        effect.render(60000 + frame * 16, buffer.data());
        if (frame % 60 == 0) {
            EXPECT_TRUE(testpng::writeLandscape(testpng::outputDir() + "/voxelefu_" + std::to_string(frame) + ".png",
                                                buffer.data()));
        }
    }
}

}  // namespace
