// The tunnel: the angle table's quadrants and half-turn line, the depth
// fade, rays along the axis, the camera's symmetry on the axis, and
// "distance" moving the object alone.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "effects/tunnelefu.h"
#include "render/grid_tables.h"
#include "support/png.h"

namespace {

class Tunnel : public testing::Test {
protected:
    static void SetUpTestSuite() { buildGridTables(); }
    void SetUp() override { ASSERT_TRUE(tunnel.load()); }
    static uint32_t turn(int32_t angle) { return static_cast<uint32_t>(angle) >> 24; }  // texel row
    TunnelEffect tunnel;
};

TEST_F(Tunnel, AngleTableGivesEachQuadrantItsQuarterTurn) {
    // (x, y) at row y + 128, column x + 128; 256 texel rows to a turn.
    EXPECT_EQ(tunnel.angle(128, 128), 0);      // the centre
    EXPECT_EQ(tunnel.angle(128, 255), 0);      // along +x
    EXPECT_EQ(tunnel.angle(255, 128), 1 << 30);     // +y: a quarter turn
    EXPECT_EQ(turn(tunnel.angle(0, 128)), 192u);    // -y: minus a quarter turn
    EXPECT_EQ(turn(tunnel.angle(255, 255)), 32u);   // the diagonals: eighths
    EXPECT_EQ(turn(tunnel.angle(0, 0)), 160u);
    // The half-turn line (-x, y = 0) would be 2^31 and is kept at 2^31 - 1;
    // just below it, (theta - pi) F is exactly -2^31.
    for (int column = 0; column < 128; ++column) {
        ASSERT_EQ(tunnel.angle(128, column), INT32_MAX) << column;
        ASSERT_EQ(tunnel.angle(127, column), INT32_MIN) << column;
    }
    // Mirror images: y -> -y negates, x -> -x gives half a turn minus the
    // angle (within the truncation's one unit), everywhere off that line.
    for (int j = 1; j < 128; ++j)
        for (int k = 0; k < 128; ++k) {
            const int32_t a = tunnel.angle(128 + j, 128 + k);
            ASSERT_EQ(tunnel.angle(127 - j, 128 + k), -a);
            const int64_t sum = int64_t{tunnel.angle(128 + j, 127 - k)} + a;
            ASSERT_NEAR(static_cast<double>(sum), 2147483648.0, 1.0) << j << "," << k;
        }
}

TEST_F(Tunnel, BrightnessFallsWithDepthAndClampsBothWays) {
    EXPECT_EQ(TunnelEffect::brightness(0), 255 << 16);  // 256 clamps to 255
    EXPECT_EQ(TunnelEffect::brightness(1023), 255 << 16);
    EXPECT_EQ(TunnelEffect::brightness(1024), 254 << 16);
    EXPECT_EQ(TunnelEffect::brightness(-1024), 254 << 16);
    EXPECT_EQ(TunnelEffect::brightness(130560), 1 << 16);
    EXPECT_EQ(TunnelEffect::brightness(131072), 0);
    EXPECT_EQ(TunnelEffect::brightness(-131072), 0);
    EXPECT_EQ(TunnelEffect::brightness(INT32_MIN), 0);
    EXPECT_EQ(TunnelEffect::brightness(INT32_MAX), 0);
}

TEST_F(Tunnel, OnTheAxisTheRayGoesFarAndBlackAndOppositeRaysMeetTheSameDepth) {
    FixedMatrix m;
    setIdentity(m);
    WarpGrid grid;
    const int32_t time = 1000;
    tunnel.castRays(grid, m, 0, 0, time);
    const int centre = 20 * 31 + 15;  // x = y = 0: the ray runs along the axis
    EXPECT_EQ(grid.V[centre], 0);
    EXPECT_EQ(grid.U[centre], (TunnelEffect::kAxisDepth + time * 64) << 16);
    // The rays through the centre and its eight neighbours have A = 256 (x * x
    // + y * y) <= 1000: they take the far depth and come out black. The more
    // a ray slants, the nearer it meets the wall and the brighter it is.
    const auto slant = [](int i) { return (i % 31 - 15) * (i % 31 - 15) + (i / 31 - 20) * (i / 31 - 20); };
    for (int i = 0; i < kGridPoints; ++i) {
        if (slant(i) <= 3) {
            ASSERT_EQ(grid.L[i], 0) << i;
            ASSERT_EQ(grid.U[i], grid.U[centre]) << i;
        }
        for (int j = 0; j < kGridPoints; ++j) {
            if (slant(i) < slant(j)) {
                ASSERT_LE(grid.L[i], grid.L[j]) << i << " " << j;
            }
        }
    }
    EXPECT_GT(grid.L[0], 128 << 16);  // the corner ray meets the wall near the camera
    // Camera on the axis: the depth depends on the ray's slant alone, so the
    // point opposite through the centre has the same column and brightness
    // and, off the axis, a row half a turn away.
    for (int i = 0; i < kGridPoints; ++i) {
        const int opposite = kGridPoints - 1 - i;
        ASSERT_EQ(grid.U[i], grid.U[opposite]) << i;
        ASSERT_EQ(grid.L[i], grid.L[opposite]) << i;
        if (grid.L[i] == 0) continue;
        const uint32_t apart = static_cast<uint32_t>(grid.V[i]) - static_cast<uint32_t>(grid.V[opposite]);
        ASSERT_NEAR(apart >> 24, 128, 1) << i;
    }
}

TEST_F(Tunnel, DistanceMovesTheObjectButNotTheTunnel) {
    const int32_t time = 9000;
    std::vector<uint16_t> near(240 * 320), far(240 * 320);
    tunnel.render(time, near.data());
    const WarpGrid nearGrid = tunnel.grid();
    tunnel.handleCommand(time, "setparam", "param=distance mode=constant loopmode=stop length=1 value0=150000");
    tunnel.render(time, far.data());
    for (int i = 0; i < kGridPoints; ++i) {
        ASSERT_EQ(tunnel.grid().U[i], nearGrid.U[i]);
        ASSERT_EQ(tunnel.grid().V[i], nearGrid.V[i]);
        ASSERT_EQ(tunnel.grid().L[i], nearGrid.L[i]);
    }
    EXPECT_NE(near, far);
    testpng::writeLandscape(testpng::outputDir() + "/tunnelefu_object_near.png", near.data());
    testpng::writeLandscape(testpng::outputDir() + "/tunnelefu_object_far.png", far.data());
}

}  // namespace
