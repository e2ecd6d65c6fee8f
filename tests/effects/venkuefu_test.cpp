// The credits: the twirled warp, the scaled alpha blit (sizes, clipping,
// alpha) and which picture shows where for a credit value.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/resource_ids.h"
#include "effects/venkuefu.h"
#include "render/grid_tables.h"

namespace {

constexpr uint16_t kBackground = 0x4208;

std::vector<uint16_t> blit(int32_t cx, int32_t cy, int32_t w, int32_t h, int32_t factor,
                           const std::vector<uint32_t>& pixels) {
    std::vector<uint16_t> buffer(240 * 320, kBackground);
    CreditsEffect::scaledAlphaBlit(buffer.data(), cx, cy, w, h, factor, pixels.data());
    return buffer;
}

// Bounding box of the pixels that changed: left, top, right, bottom.
std::vector<int> changedBox(const std::vector<uint16_t>& buffer) {
    int left = 240, top = 320, right = -1, bottom = -1;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x)
            if (buffer[y * 240 + x] != kBackground) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    return {left, top, right, bottom};
}

TEST(CreditsBlit, FactorSetsTheSizeAndNothingIsDrawnAtZeroOrBelow) {
    const std::vector<uint32_t> opaque(10 * 6, 0xFF000000u);
    const std::vector<uint16_t> untouched(240 * 320, kBackground);
    EXPECT_EQ(blit(100, 100, 10, 6, 0, opaque), untouched);
    EXPECT_EQ(blit(100, 100, 10, 6, -256, opaque), untouched);
    EXPECT_EQ(blit(100, 100, 10, 6, 25, opaque), untouched);  // 10 * 25 >> 8 = 0
    EXPECT_EQ(changedBox(blit(100, 100, 10, 6, 256, opaque)), (std::vector<int>{95, 97, 104, 102}));
    EXPECT_EQ(changedBox(blit(100, 100, 10, 6, 128, opaque)), (std::vector<int>{98, 99, 102, 101}));
}

TEST(CreditsBlit, AlphaZeroKeepsTheDestinationAndFullAlphaIsNotQuiteTheSource) {
    EXPECT_EQ(blit(50, 50, 1, 1, 256, {0x00FFFFFFu})[50 * 240 + 50], kBackground);
    // Source red 8 at alpha 255 over black: (8 * 255 + 0) >> 8 = 7, which
    // packs to 0, where the pure source would have packed to 0x0800.
    std::vector<uint16_t> black(240 * 320, 0);
    CreditsEffect::scaledAlphaBlit(black.data(), 50, 50, 1, 1, 256, std::vector<uint32_t>{0xFF080000u}.data());
    EXPECT_EQ(black[50 * 240 + 50], 0x0000);
    // And white over grey 64 at alpha 255: (255 * 255 + 64) >> 8 = 254.
    EXPECT_EQ(blit(50, 50, 1, 1, 256, {0xFFFFFFFFu})[50 * 240 + 50], 0xFFFF);
}

TEST(CreditsBlit, EveryAlphaFollowsTheBlendFormula) {
    // Source channels 0..255 in steps over destination channels 0..255, at
    // every alpha: each result is (s * a + d * (256 - a)) >> 8, packed.
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t s = 0; s < 256; s += 15) {
            for (uint32_t d = 0; d < 32; d += 3) {
                const uint16_t dst = static_cast<uint16_t>(d << 11 | (d * 2) << 5 | d);
                std::vector<uint16_t> buffer(240 * 320, dst);
                const uint32_t src = a << 24 | s << 16 | (255 - s) << 8 | s;
                CreditsEffect::scaledAlphaBlit(buffer.data(), 10, 10, 1, 1, 256, &src);
                const uint32_t keep = 256 - a;
                const uint32_t r = (s * a + (d << 3) * keep) >> 8, g = ((255 - s) * a + (d << 3) * keep) >> 8;
                const uint32_t b = (s * a + (d << 3) * keep) >> 8;
                ASSERT_EQ(buffer[10 * 240 + 10], (r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3) << a << " " << s << " " << d;
            }
        }
    }
}

TEST(CreditsBlit, ClippedPicturesKeepTheirSourceWalk) {
    // 8 x 4 picture, column k has blue 8k (packs to k), drawn twice its size
    // centred on the top-left corner: only its lower-right quarter shows.
    std::vector<uint32_t> picture(8 * 4);
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 8; ++k) picture[row * 8 + k] = 0xFF000000u | (row * 64u) << 8 | (8u * k);
    const auto buffer = blit(0, 0, 8, 4, 512, picture);
    EXPECT_EQ(changedBox(buffer), (std::vector<int>{0, 0, 7, 3}));
    // Screen (x, y) is 16 x 8 destination pixel (x + 8, y + 4): source
    // column (x + 8) / 2 and row (y + 4) / 2.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint32_t src = picture[((y + 4) / 2) * 8 + (x + 8) / 2];
            // Over grey 64 at alpha 255.
            const uint32_t g = (((src >> 8) & 255) * 255 + 64) >> 8, b = ((src & 255) * 255 + 64) >> 8;
            ASSERT_EQ(buffer[y * 240 + x], ((g & 0xFC) << 3) | (b >> 3)) << x << "," << y;
        }
    // The same picture off the right and bottom edges stops at the screen.
    EXPECT_EQ(changedBox(blit(238, 318, 8, 4, 512, picture)), (std::vector<int>{230, 314, 239, 319}));
}

class CreditsPictures : public testing::Test {
protected:
    static void SetUpTestSuite() { buildGridTables(); }
    void SetUp() override {
        ASSERT_TRUE(credits.load());
        ASSERT_TRUE(credits.init());
        credits.scale.current = 256;
    }
    std::vector<uint16_t> drawn(int32_t credit) {
        std::vector<uint16_t> buffer(240 * 320, 0);
        credits.credit.current = credit;
        credits.drawPictures(buffer.data(), kTime);
        return buffer;
    }
    static constexpr int32_t kTime = 1234;
    CreditsEffect credits;
};

TEST_F(CreditsPictures, CreditSixShowsPictureTwoOnePixelAboveCreditFour) {
    int32_t cx4 = 0, cy4 = 0, cx6 = 0, cy6 = 0, cx0 = 0, cy0 = 0;
    credits.pictureCentre(kTime, 4, cx4, cy4);
    credits.pictureCentre(kTime, 6, cx6, cy6);
    credits.pictureCentre(kTime, 0, cx0, cy0);
    EXPECT_EQ(cx6, cx4);
    EXPECT_EQ(cy6, cy4 - 1);
    EXPECT_EQ(cy6, cy0 - 3);

    std::vector<uint16_t> expected(240 * 320, 0);
    const Image& tv = credits.television();
    const Image& picture = credits.creditPicture(2);
    CreditsEffect::scaledAlphaBlit(expected.data(), cx6, cy6, tv.width, tv.height, 256, tv.pixels32());
    CreditsEffect::scaledAlphaBlit(expected.data(), cx6, cy6, picture.width, picture.height, 256, picture.pixels32());
    EXPECT_EQ(drawn(6), expected);
    EXPECT_NE(drawn(6), drawn(4));  // another picture, one row lower
}

// The warp's grid point (k, j) lands unchanged on pixel (8 (k + 15), 8 (j + 20)),
// the corner of its cell: that pixel shows the texel the twirl and zoom
// formulas name, written here from their description. The times include
// ones whose products wrap and whose sine indices are negative.
TEST_F(CreditsPictures, WarpCornersShowTheTexelsOfTheTwirlAndZoom) {
    int32_t table[1024];
    for (int i = 0; i < 1024; ++i) table[i] = static_cast<int32_t>(std::sin(2 * 3.141592653589793 * i / 1024) * 1023);
    auto S = [&](int32_t n) { return table[n & 1023]; };
    auto wrap = [](int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); };
    Image texture;
    ASSERT_TRUE(texture.loadTiled16(res::kCreditsTexture));
    for (int32_t time : {0, 20000, 400000, 2000000000, -6000000}) {
        SCOPED_TRACE(time);
        std::vector<uint16_t> screen(240 * 320);
        credits.drawWarp(screen.data(), time);
        const int32_t a = wrap(int64_t{time} + 5420556);
        const int32_t p1 = wrap(a * -13LL) >> 4, p2 = wrap(a * 14LL) >> 6, p3 = wrap(a * -5LL) >> 5, p4 = wrap(a * -10LL) >> 6;
        const int32_t y0 = S(wrap(a * -35LL) >> 8), x0 = S(wrap(a * 15LL) >> 8);
        for (int j = -20; j < 20; ++j) {
            for (int k = -15; k < 15; ++k) {
                const int i = (j + 20) * 31 + (k + 15);
                const int64_t zoom = (S(3 * gridAngle[i] + p1) + 6400) * 8;
                const int32_t twist = (S(((gridRadius[i] * 17) >> 8) + p3) >> 3) + (S(((gridRadius[i] * 11) >> 8) + p2) >> 4) + p4;
                const int64_t sn = S(twist), cs = S(twist - 256);
                const uint32_t u = static_cast<uint32_t>(wrap((cs * zoom * k - sn * zoom * j + x0 * (int64_t{1} << 20)) * 2));
                const uint32_t v = static_cast<uint32_t>(wrap((sn * zoom * k + cs * zoom * j + y0 * (int64_t{1} << 20)) * 2));
                ASSERT_EQ(screen[(8 * (j + 20)) * 240 + 8 * (k + 15)], texture.pixels16()[tiledIndex(u >> 24, v >> 24)])
                    << "grid point " << k << ", " << j;
            }
        }
    }
}

TEST_F(CreditsPictures, ScaleZeroOrNegativeLeavesTheWarpAlone) {
    const std::vector<uint16_t> black(240 * 320, 0);
    credits.scale.current = 0;
    EXPECT_EQ(drawn(1), black);
    credits.scale.current = -40;
    EXPECT_EQ(drawn(1), black);
}

}  // namespace
