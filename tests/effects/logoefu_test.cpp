// The logo scroll: which picture rows reach the screen for a position, how
// two rows blend, and how positions outside 16 bits wrap.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/logoefu.h"

namespace {

constexpr int kHeight = 1600;

// 240 x 1600: odd rows white, even rows black.
std::vector<uint32_t> stripedPicture() {
    std::vector<uint32_t> picture(240 * kHeight);
    for (int row = 0; row < kHeight; ++row)
        std::fill_n(picture.begin() + row * 240, 240, (row & 1) ? 0xFFFFFFFFu : 0xFF000000u);
    return picture;
}

std::vector<uint16_t> scroll(const std::vector<uint32_t>& picture, int32_t pos) {
    std::vector<uint16_t> buffer(240 * 320, 0x1234);
    LogoEffect::drawScroll(buffer.data(), picture.data(), kHeight, pos);
    return buffer;
}

TEST(LogoScroll, PositionZeroShowsRows1279To1598Alone) {
    const auto buffer = scroll(stripedPicture(), 0);
    // Screen row r is picture row 1279 + r: white on even screen rows. The
    // last screen row (picture row 1598, black) reads row 1599 (white) with
    // weight 0.
    for (int r = 0; r < 320; ++r)
        for (int x = 0; x < 240; ++x) ASSERT_EQ(buffer[r * 240 + x], (r & 1) ? 0x0000 : 0xFFFF) << "row " << r;
}

TEST(LogoScroll, HalfwayBlendsTwoRowsNearlyEvenly) {
    // 32768 starts at row 639 with fraction 32768: white and black rows weigh
    // 32767 and 32768 (or the other way round), so every channel is 127.
    const auto buffer = scroll(stripedPicture(), 32768);
    const uint16_t grey = (127 & 0xF8) << 8 | (127 & 0xFC) << 3 | 127 >> 3;
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [&](uint16_t p) { return p == grey; }));
}

TEST(LogoScroll, OnlyTheLow16BitsOfThePositionCount) {
    std::vector<uint32_t> picture(240 * kHeight);
    for (int i = 0; i < 240 * kHeight; ++i) picture[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    EXPECT_EQ(scroll(picture, 65536), scroll(picture, 0));
    EXPECT_EQ(scroll(picture, -1), scroll(picture, 65535));
    EXPECT_EQ(scroll(picture, 65536 * 3 + 1000), scroll(picture, 1000));
    EXPECT_NE(scroll(picture, 1000), scroll(picture, 0));
}

TEST(LogoScroll, WhiteStaysWhiteForEveryFraction) {
    const std::vector<uint32_t> white(240 * kHeight, 0x00FFFFFF);
    for (int32_t pos : {0, 1, 777, 32768, 50001, 65535}) {
        const auto buffer = scroll(white, pos);
        ASSERT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint16_t p) { return p == 0xFFFF; })) << pos;
    }
}

}  // namespace
