// Matrices, the integer square root and the grid tables.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "render/fixed_matrix.h"
#include "render/grid_tables.h"
#include "render/isqrt.h"

namespace {

FixedMatrix identity() {
    FixedMatrix m;
    setIdentity(m);
    return m;
}

TEST(FixedMatrix, RotationsTruncateTheirSinesAndCosines) {
    FixedMatrix z = identity();
    rotate(z, 0x4000, 'z');
    EXPECT_EQ(z.m[0], 0);  // cos(pi/2) x 256 truncates to 0
    EXPECT_EQ(z.m[1], 256);
    EXPECT_EQ(z.m[4], -256);
    EXPECT_EQ(z.m[5], 0);
    EXPECT_EQ(z.m[10], 256);

    FixedMatrix y = identity();
    rotate(y, 0x8000, 'y');
    EXPECT_EQ(y.m[0], -256);
    EXPECT_EQ(y.m[2], 0);  // sin(pi) is tiny and truncates to 0
    EXPECT_EQ(y.m[8], 0);
    EXPECT_EQ(y.m[10], -256);

    FixedMatrix x = identity();
    rotate(x, 0x2000, 'x');  // an eighth of a turn: 181 = trunc(256 / sqrt 2)
    EXPECT_EQ(x.m[5], 181);
    EXPECT_EQ(x.m[6], 181);
    EXPECT_EQ(x.m[9], -181);
    EXPECT_EQ(x.m[10], 181);
}

TEST(FixedMatrix, UnknownAxisAndIdentityLeaveTheMatrixAlone) {
    FixedMatrix m = identity();
    rotate(m, 0x1234, 'z');
    translate(m, 100, -200, 300);
    const FixedMatrix before = m;
    rotate(m, 0x1234, 'q');
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m.m[i], before.m[i]) << i;
}

TEST(FixedMatrix, TranslateOnIdentityKeepsTheOffsets) {
    FixedMatrix m = identity();
    translate(m, 1, 2, 3);
    EXPECT_EQ(m.m[3], 1);
    EXPECT_EQ(m.m[7], 2);
    EXPECT_EQ(m.m[11], 3);
    EXPECT_EQ(m.m[0], 256);
}

TEST(FixedMatrix, MultiplyWrapsInsteadOfSaturating) {
    FixedMatrix a = identity(), b = identity();
    a.m[0] = 0x40000000;
    b.m[0] = 1024;  // 2^30 x 2^10 = 2^40 wraps to 0 in 32 bits
    multiply(a, b);
    EXPECT_EQ(a.m[0], 0);
}

TEST(Isqrt, FloorOfTheSquareRoot) {
    EXPECT_EQ(isqrt(0), 0u);
    EXPECT_EQ(isqrt(24), 4u);
    EXPECT_EQ(isqrt(25), 5u);
    EXPECT_EQ(isqrt(4294967295u), 65535u);
    EXPECT_EQ(isqrt(65535u * 65535u), 65535u);
    EXPECT_EQ(isqrt(65535u * 65535u - 1), 65534u);
    // Both sides of every perfect square, where a rounded root would slip.
    for (uint32_t r = 1; r <= 65535; ++r) {
        ASSERT_EQ(isqrt(r * r), r);
        ASSERT_EQ(isqrt(r * r - 1), r - 1);
    }
    std::mt19937 rng(17);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t n = rng() >> (rng() % 32);
        const uint64_t root = isqrt(n);
        ASSERT_TRUE(root * root <= n && (root + 1) * (root + 1) > n) << n;
    }
}

TEST(GridTables, AngleAndRadiusAroundTheCentre) {
    buildGridTables();
    auto at = [](int j, int k) { return j * kGridColumns + k; };
    EXPECT_EQ(gridAngle[at(20, 15)], 0);
    EXPECT_EQ(gridRadius[at(20, 15)], 0);
    EXPECT_EQ(gridAngle[at(20, 30)], 256);
    EXPECT_EQ(gridRadius[at(20, 30)], 3840);
    EXPECT_EQ(gridAngle[at(0, 15)], 512);
    EXPECT_EQ(gridRadius[at(0, 15)], 5120);
    EXPECT_EQ(gridAngle[at(40, 0)], -104);
    EXPECT_EQ(gridRadius[at(40, 0)], 6400);
    EXPECT_EQ(gridAngle[at(0, 0)], -407);
    EXPECT_EQ(gridAngle[at(20, 0)], -256);
    EXPECT_EQ(gridAngle[at(40, 15)], 0);
}

}  // namespace
