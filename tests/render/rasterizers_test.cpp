// The triangle fillers and the depth sort of the face list.
#include <gtest/gtest.h>

#include <vector>

#include "assets/image.h"
#include "render/face_list.h"
#include "render/rasterizers.h"

namespace {

constexpr int kWidth = 240, kHeight = 320;

ProjectedVertex at(int32_t x, int32_t y, int32_t depth = 8192) {
    ProjectedVertex v{};
    v.screenX = x;
    v.screenY = y;
    v.depth = depth;
    return v;
}

// Pixels changed from the fill value, as a mask.
std::vector<bool> written(const std::vector<uint16_t>& screen, uint16_t fill) {
    std::vector<bool> mask(screen.size());
    for (size_t i = 0; i < screen.size(); ++i) mask[i] = screen[i] != fill;
    return mask;
}

// Expects exactly pixels [left >> 8, right >> 8) on rows first .. last - 1.
void expectSpans(const std::vector<bool>& mask, int first, int last, int32_t left0, int32_t leftStep,
                 int32_t right0, int32_t rightStep) {
    for (int y = 0; y < kHeight; ++y) {
        const int32_t n = y - first;
        const int32_t left = (left0 + n * leftStep) >> 8, right = (right0 + n * rightStep) >> 8;
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = y >= first && y < last && x >= left && x < right;
            ASSERT_EQ(mask[y * kWidth + x], inside) << "pixel " << x << "," << y;
        }
    }
}

TEST(Rasterizers, FlatTopDrawsItsLowerHalfOnly) {
    std::vector<uint16_t> screen(kWidth * kHeight, 0xFFFF);
    fillHalved(screen.data(), at(10, 10), at(30, 10), at(20, 30));
    // Left edge 10 -> 20 and right edge 30 -> 20 over 20 rows: 128 per row in 8.8.
    expectSpans(written(screen, 0xFFFF), 10, 30, 10 << 8, 128, 30 << 8, -128);
}

TEST(Rasterizers, FlatBottomDrawsItsUpperHalfOnly) {
    std::vector<uint16_t> screen(kWidth * kHeight, 0xFFFF);
    fillHalved(screen.data(), at(30, 30), at(20, 10), at(10, 30));
    expectSpans(written(screen, 0xFFFF), 10, 30, 20 << 8, -128, 20 << 8, 128);
}

TEST(Rasterizers, ClippedTriangleDarkensWhatALargerScreenWould) {
    // The same triangle moved wholly on screen takes the unclipped path;
    // whole-pixel moves shift its pixels exactly.
    const int dx = 60, dy = 40;
    std::vector<uint16_t> clipped(kWidth * kHeight, 0xFFFF), moved(kWidth * kHeight, 0xFFFF);
    fillHalved(clipped.data(), at(-30, -20), at(100, 50), at(120, 250));
    fillHalved(moved.data(), at(-30 + dx, -20 + dy), at(100 + dx, 50 + dy), at(120 + dx, 250 + dy));
    int darkened = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int mx = x + dx, my = y + dy;
            const bool expected = mx < kWidth && my < kHeight && moved[my * kWidth + mx] != 0xFFFF;
            ASSERT_EQ(clipped[y * kWidth + x] != 0xFFFF, expected) << x << "," << y;
            darkened += expected;
            if (expected) {
                ASSERT_EQ(clipped[y * kWidth + x], 0x7BEF);
            }
        }
    EXPECT_GT(darkened, 1000);
}

TEST(Rasterizers, TriangleWithEveryCornerOffScreenIsNotDrawn) {
    std::vector<uint16_t> screen(kWidth * kHeight, 0xFFFF);
    fillHalved(screen.data(), at(-1000, -1000), at(3000, -1000), at(-1000, 3000));
    for (uint16_t p : screen) ASSERT_EQ(p, 0xFFFF);
}

TEST(Rasterizers, TexturedFillReadsTheTiledTexture) {
    std::vector<uint16_t> texture(65536);
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x) texture[tiledIndex(x, y)] = static_cast<uint16_t>(y * 256 + x);
    ProjectedVertex a = at(0, 0), b = at(0, 100), c = at(100, 0);
    a.texU = 0, a.texV = 0;
    b.texU = 0, b.texV = 100;
    c.texU = 100, c.texV = 0;
    std::vector<uint16_t> screen(kWidth * kHeight, 0xFFFF);
    fillTextured(screen.data(), texture.data(), a, b, c);
    // Texture coordinates follow the screen one to one.
    EXPECT_EQ(screen[0], 0);
    EXPECT_EQ(screen[10 * kWidth + 20], 10 * 256 + 20);
    EXPECT_EQ(screen[50 * kWidth + 40], 50 * 256 + 40);
    EXPECT_EQ(screen[50 * kWidth + 60], 0xFFFF);  // beyond the diagonal
}

TEST(Rasterizers, DepthSplitDarkensWhatLiesBeyondTheLimit) {
    std::vector<uint16_t> texture(65536, 0x1234);
    std::vector<uint16_t> screen(kWidth * kHeight, 0xFFFF);
    // Depth grows from 1000 at the top to 3000 at row 100; the limit at 2000.
    fillTexturedSplit(screen.data(), texture.data(), at(0, 0, 1000), at(200, 0, 1000), at(0, 100, 3000), 2000);
    EXPECT_EQ(screen[10 * kWidth + 10], 0x1234);
    EXPECT_EQ(screen[49 * kWidth + 10], 0x1234);
    EXPECT_EQ(screen[51 * kWidth + 10], 0x7BEF);
    EXPECT_EQ(screen[90 * kWidth + 5], 0x7BEF);
}

TEST(Rasterizers, CoverageCountsEachPixelOfATwoByTwoBlock) {
    std::vector<int32_t> coverage(120 * 160, 0);
    fillCoverage(coverage.data(), at(0, 0), at(0, 40), at(40, 0));
    EXPECT_EQ(coverage[0], 512);                  // block (0, 0) fully covered
    EXPECT_EQ(coverage[5 * 120 + 5], 512);
    EXPECT_EQ(coverage[30 * 120 + 30], 0);        // beyond the diagonal
}

TEST(FaceList, SortsFarFirstAndKeepsTiesInOrder) {
    ProjectedVertex depths[] = {at(0, 0, 100), at(0, 0, 300), at(0, 0, 200), at(0, 0, 300), at(0, 0, 100)};
    clearFaceList();
    for (const ProjectedVertex& v : depths) ASSERT_TRUE(appendFace(&v, &v, &v, nullptr));
    sortFaceList();
    const FaceList& list = faceList();
    const ProjectedVertex* expected[] = {&depths[1], &depths[3], &depths[2], &depths[0], &depths[4]};
    ASSERT_EQ(list.count, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(list.order[i]->vertex[0], expected[i]) << i;
}

TEST(FaceList, HoldsAtMostFourThousandFaces) {
    const ProjectedVertex v = at(0, 0);
    clearFaceList();
    for (int i = 0; i < kMaxDrawFaces; ++i) ASSERT_TRUE(appendFace(&v, &v, &v, nullptr));
    EXPECT_FALSE(appendFace(&v, &v, &v, nullptr));
    EXPECT_EQ(faceList().count, kMaxDrawFaces);
}

}  // namespace
