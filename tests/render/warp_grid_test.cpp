// Drawing of the texture-warp grid.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "anim/intmath.h"
#include "assets/image.h"
#include "render/warp_grid.h"

namespace {

constexpr int kWidth = 240, kHeight = 320;

// A texture whose texel at (x, y) holds a value naming it.
std::vector<uint16_t> namedTexels() {
    std::vector<uint16_t> texture(65536);
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x) texture[tiledIndex(x, y)] = static_cast<uint16_t>(y * 256 + x);
    return texture;
}

TEST(WarpGrid, OneTexelPerCellMagnifiesEightTimes) {
    const std::vector<uint16_t> texture = namedTexels();
    auto grid = std::make_unique<WarpGrid>();
    for (int j = 0; j < kGridRows; ++j)
        for (int k = 0; k < kGridColumns; ++k) {
            grid->U[j * kGridColumns + k] = k << 24;
            grid->V[j * kGridColumns + k] = j << 24;
        }
    std::vector<uint16_t> screen(kWidth * kHeight);
    grid->draw(screen.data(), texture.data());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(screen[y * kWidth + x], (y >> 3) * 256 + (x >> 3)) << x << "," << y;
}

TEST(WarpGrid, CoordinatesWrapAroundTheTexture) {
    const std::vector<uint16_t> texture = namedTexels();
    auto grid = std::make_unique<WarpGrid>();
    for (int i = 0; i < kGridPoints; ++i) {
        grid->U[i] = 0;
        grid->V[i] = 0;
    }
    std::vector<uint16_t> screen(kWidth * kHeight, 0xFFFF);
    grid->draw(screen.data(), texture.data());
    for (uint16_t p : screen) ASSERT_EQ(p, 0);  // texel (0, 0) everywhere

    // Column 255 and one more step: U runs from 0xFF000000 past 2^32 to 0.
    for (int i = 0; i < kGridPoints; ++i) grid->U[i] = static_cast<int32_t>(0xFF000000u + (i % kGridColumns) * (1u << 24));
    grid->draw(screen.data(), texture.data());
    EXPECT_EQ(screen[0], 255);
    EXPECT_EQ(screen[8], 0);
    EXPECT_EQ(screen[16], 1);
}

// Eighth-steps are arithmetic shifts, so a difference of -1 steps by -1 (a
// division by 8 would step by 0). In the first cell the right and lower
// corners lie one unit below the top-left one: only the top-left pixel keeps
// its value, every step away from it drops below it.
TEST(WarpGrid, NegativeDifferencesStepByFlooredEighths) {
    auto grid = std::make_unique<WarpGrid>();
    for (int i = 0; i < kGridPoints; ++i) {
        grid->U[i] = 1 << 24;  // texel column 1
        grid->V[i] = 0;
        grid->L[i] = 256 << 16;
    }
    grid->U[1] = grid->U[kGridColumns] = (1 << 24) - 1;  // texel column 0
    grid->L[1] = grid->L[kGridColumns] = (256 << 16) - 1;  // brightness 255

    const std::vector<uint16_t> texture = namedTexels();
    std::vector<uint16_t> screen(kWidth * kHeight);
    grid->draw(screen.data(), texture.data());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(screen[y * kWidth + x], x == 0 && y == 0 ? 1 : 0) << x << "," << y;
    EXPECT_EQ(screen[100 * kWidth + 100], 1);

    // Red 8, green 4, blue 8: brightness 256 keeps one unit of red, green and
    // blue (0x0821), 255 loses them all.
    const std::vector<uint32_t> dim(65536, 0x00080408u);
    grid->drawShaded(screen.data(), dim.data());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(screen[y * kWidth + x], x == 0 && y == 0 ? 0x0821 : 0) << x << "," << y;
    EXPECT_EQ(screen[100 * kWidth + 100], 0x0821);
}

TEST(WarpGrid, ShadedDrawScalesChannelsBeforePacking) {
    std::vector<uint32_t> texture(65536, 0x00C88040u);  // red 200, green 128, blue 64
    auto grid = std::make_unique<WarpGrid>();
    for (int i = 0; i < kGridPoints; ++i) grid->U[i] = grid->V[i] = 0;
    std::vector<uint16_t> screen(kWidth * kHeight);
    const struct {
        int32_t brightness;
        uint16_t expected;
    } cases[] = {
        {256, static_cast<uint16_t>((200 & 0xF8) << 8 | (128 & 0xFC) << 3 | 64 >> 3)},
        {128, static_cast<uint16_t>((100 & 0xF8) << 8 | (64 & 0xFC) << 3 | 32 >> 3)},
        {0, 0},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < kGridPoints; ++i) grid->L[i] = c.brightness << 16;
        grid->drawShaded(screen.data(), texture.data());
        EXPECT_EQ(screen[0], c.expected) << c.brightness;
        EXPECT_EQ(screen[kWidth * kHeight - 1], c.expected) << c.brightness;
    }
}

TEST(WarpGrid, ShadedDrawOutsideTheUsualRangeFollowsTheFormula) {
    // Nothing clamps the brightness: products wrap and only their packed bits remain.
    const uint32_t texel = 0x00C88040u;
    std::vector<uint32_t> texture(65536, texel);
    auto grid = std::make_unique<WarpGrid>();
    for (int i = 0; i < kGridPoints; ++i) grid->U[i] = grid->V[i] = 0;
    std::vector<uint16_t> screen(kWidth * kHeight);
    for (int32_t f : {257, 300, 1000, 20000, -1, -300}) {
        for (int i = 0; i < kGridPoints; ++i) grid->L[i] = zm::wrapShl(f, 16);
        grid->drawShaded(screen.data(), texture.data());
        const uint32_t uf = static_cast<uint32_t>(f);
        const uint32_t r = 200 * uf, g = 128 * uf, b = 64 * uf;
        const uint16_t expected = static_cast<uint16_t>((((r >> 8) & 0xF8) << 8) | (((g >> 8) & 0xFC) << 3) | (b >> 11));
        EXPECT_EQ(screen[1234], expected) << f;
    }
}

TEST(WarpGrid, BrightnessIsInterpolatedInEighths) {
    std::vector<uint32_t> texture(65536, 0x00FFFFFFu);
    auto grid = std::make_unique<WarpGrid>();
    for (int i = 0; i < kGridPoints; ++i) {
        grid->U[i] = grid->V[i] = 0;
        grid->L[i] = (i % kGridColumns) % 2 == 0 ? 0 : 256 << 16;  // dark, bright, dark, ...
    }
    std::vector<uint16_t> screen(kWidth * kHeight);
    grid->drawShaded(screen.data(), texture.data());
    // Pixel 4 of the first cell: 4/8 of the way to full brightness.
    const uint16_t half = static_cast<uint16_t>((127 & 0xF8) << 8 | (127 & 0xFC) << 3 | 127 >> 3);
    EXPECT_EQ(screen[0], 0);
    EXPECT_EQ(screen[4], half);
    EXPECT_EQ(screen[8], 0xFFFF);
}

}  // namespace
