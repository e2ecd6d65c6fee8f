// The square shaft: which wall a ray meets (axis-parallel rays, no hit,
// corners), the near limit of the swimmers, the glow's size, and how the
// additive triangle and blit clip without moving a pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/holeefu.h"
#include "render/grid_tables.h"
#include "support/png.h"

namespace {

using Hit = ShaftEffect::WallHit;

std::vector<uint16_t> blank() { return std::vector<uint16_t>(240 * 320, 0); }

int countOf(const std::vector<uint16_t>& buffer, uint16_t value) {
    return static_cast<int>(std::count(buffer.begin(), buffer.end(), value));
}

// Pixel (x, y) of a equals pixel (x + dx, y + dy) of b wherever both are on the screen.
void expectShifted(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, int dx, int dy) {
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const int sx = x + dx, sy = y + dy;
            if (sx < 0 || sx >= 240 || sy < 0 || sy >= 320) continue;
            ASSERT_EQ(a[y * 240 + x], b[sy * 240 + sx]) << x << "," << y;
        }
}

TEST(ShaftRays, AxisParallelRaysMeetOnlyTheWallsAcrossThem) {
    // dx = 0: only y walls; 32768 * 256 / 100 = 83886.
    Hit up = ShaftEffect::castRay(0, 100, 50, 0, 0, 7);
    EXPECT_EQ(up.t, 83886);
    EXPECT_EQ(up.w, 0x2000);
    EXPECT_EQ(up.hz, 83886 * 50 >> 8);
    Hit down = ShaftEffect::castRay(0, -100, 50, 4000, 0, 7);
    EXPECT_EQ(down.w, 0xA000 - (4000 >> 2));
    // dy = 0: only x walls.
    Hit right = ShaftEffect::castRay(100, 0, 50, 0, 400, 7);
    EXPECT_EQ(right.t, 83886);
    EXPECT_EQ(right.w, 0x6000 - (400 >> 2));
    Hit left = ShaftEffect::castRay(-100, 0, 50, 0, 400, 7);
    EXPECT_EQ(left.w, (400 >> 2) + 0xE000);
}

TEST(ShaftRays, NoHitKeepsThePreviousWallCoordinate) {
    for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{-2, 3}}) {
        Hit hit = ShaftEffect::castRay(dx, dy, 8192, 0, 0, 0x1234);
        EXPECT_EQ(hit.t, ShaftEffect::kNoHit);
        EXPECT_EQ(hit.w, 0x1234);
        // 1000000 * 8192 wraps at 32 bits before the shift.
        EXPECT_EQ(hit.hz, static_cast<int32_t>(1000000u * 8192u) >> 8);
    }
}

TEST(ShaftRays, ACornerTakesTheFirstWallInOrder) {
    // From (0, 16384) the ray (100, 50, 0) meets y = +32768 and x = +32768
    // at the same t = 83886, at hx = 32767, hy = 32767: the y wall's
    // coordinate (0x3FFF) wins over the x wall's (0x4001).
    Hit hit = ShaftEffect::castRay(100, 50, 0, 0, 16384, 7);
    EXPECT_EQ(hit.t, 83886);
    EXPECT_EQ(hit.w, 0x3FFF);
}

// A camera looking straight along +z: depth = z, screen = 256 x / z + centre.
// A white glow's swimmer, its head at depth z before a camera looking straight
// along +z (depth = z, screen = 256 x / z + centre).
std::vector<uint16_t> swimmerAt(int32_t z) {
    struct StraightCamera : Mesh {
        StraightCamera() {
            FixedMatrix m;
            setIdentity(m);
            setMatrix(m);
        }
    };
    static const StraightCamera camera;
    static const std::vector<uint32_t> glow(64 * 64, 0x00FFFFFF);
    auto buffer = blank();
    ShaftEffect::drawSwimmer(buffer.data(), camera, glow.data(), 0, 0, 0, z);
    return buffer;
}

TEST(ShaftSwimmers, TheNearLimitIsExclusiveAndTheHeadGlowsWithoutItsTail) {
    EXPECT_EQ(swimmerAt(4096), blank());
    // Scale 8388608 / 4097 = 2047: 511 pixels across, the whole screen, and
    // no tail segment lies beyond the limit.
    EXPECT_EQ(countOf(swimmerAt(4097), 0xFFFF), 240 * 320);
}

TEST(ShaftSwimmers, TheGlowIs64PixelsAtDepth32768And256At8192) {
    const auto far = swimmerAt(32768);
    // White only where the glow lies (the tail, 0x603040, adds to it there).
    EXPECT_EQ(countOf(far, 0xFFFF), 64 * 64);
    EXPECT_EQ(far[128 * 240 + 88], 0xFFFF);
    EXPECT_EQ(far[191 * 240 + 151], 0xFFFF);
    EXPECT_EQ(countOf(swimmerAt(8192), 0xFFFF), 240 * 256);  // 256 x 256, clipped to the screen's width
}

TEST(ShaftTriangles, AllCornersOffScreenDrawNothingEvenCoveringIt) {
    auto buffer = blank();
    ShaftEffect::additiveTriangle(buffer.data(), 0x603040, -1000, -1000, 3000, -1000, 120, 5000);
    EXPECT_EQ(buffer, blank());
}

TEST(ShaftTriangles, ClippedTrianglesKeepTheirPixels) {
    // The same triangle wholly on the screen (no tests) and moved partly off
    // it (tested per pixel): where both are on the screen they agree.
    const int xs[3] = {10, 200, 60}, ys[3] = {10, 40, 300};
    auto inside = blank();
    ShaftEffect::additiveTriangle(inside.data(), 0x603040, xs[0], ys[0], xs[1], ys[1], xs[2], ys[2]);
    ASSERT_GT(countOf(inside, 0), 0);
    ASSERT_LT(countOf(inside, 0), 240 * 320);
    for (const auto& [dx, dy] : {std::pair{-50, -20}, std::pair{100, 60}, std::pair{-30, 100}}) {
        auto moved = blank();
        ShaftEffect::additiveTriangle(moved.data(), 0x603040, xs[0] + dx, ys[0] + dy, xs[1] + dx, ys[1] + dy,
                                      xs[2] + dx, ys[2] + dy);
        expectShifted(moved, inside, -dx, -dy);
    }
    // Added twice, the colour adds up and saturates at white.
    ShaftEffect::additiveTriangle(inside.data(), 0xFFFFFF, xs[0], ys[0], xs[1], ys[1], xs[2], ys[2]);
    EXPECT_EQ(inside[100 * 240 + 80], 0xFFFF);
}

TEST(ShaftTriangles, RowCountsThatWrapNeitherTrapNorOverflow) {
    // From y = INT32_MIN to INT32_MAX is -1 rows in 32 bits, and an x
    // difference of 2^23 is -2^31 in 8.8: the one quotient that overflows.
    // One corner on the screen, so the clipped fill runs over both halves.
    auto buffer = blank();
    ShaftEffect::additiveTriangle(buffer.data(), 0x603040, 0, INT32_MIN, 1 << 23, INT32_MAX, 10, 10);
    ShaftEffect::additiveTriangle(buffer.data(), 0x603040, 0, INT32_MIN, 20, 30, 10, 10);
    SUCCEED();
}

TEST(ShaftBlit, ClippedBlitsKeepTheirSourceWalk) {
    std::vector<uint32_t> picture(64 * 64);
    for (int i = 0; i < 64 * 64; ++i) picture[i] = (i * 37u) & 0x7F7F7F;
    auto centred = blank();
    ShaftEffect::scaledAdditiveBlit(centred.data(), 120, 160, 64, 64, 384, picture.data());  // 96 x 96
    for (const auto& [cx, cy] : {std::pair{10, 5}, std::pair{230, 300}}) {
        auto edge = blank();
        ShaftEffect::scaledAdditiveBlit(edge.data(), cx, cy, 64, 64, 384, picture.data());
        expectShifted(edge, centred, 120 - cx, 160 - cy);
    }
    auto none = blank();
    ShaftEffect::scaledAdditiveBlit(none.data(), 120, 160, 64, 64, 3, picture.data());  // 0 pixels wide
    EXPECT_EQ(none, blank());
}

TEST(ShaftEffectFrames, FramesToLookAt) {
    buildGridTables();
    ShaftEffect effect;
    ASSERT_TRUE(effect.load());
    auto buffer = blank();
    for (int32_t time : {1000, 20000, 47000}) {
        effect.render(time, buffer.data());
        EXPECT_TRUE(testpng::writeLandscape(testpng::outputDir() + "/holeefu_" + std::to_string(time) + ".png",
                                            buffer.data()));
    }
}

}  // namespace
