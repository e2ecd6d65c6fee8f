// The fractal zoom: which picture shows where at a depth, how depths wrap,
// the repeated edge pixels at the shallowest views, the 1023-based filter,
// and that the five zoom pictures really are each other's centres.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "anim/rgb565.h"
#include "assets/image.h"
#include "assets/resource_ids.h"
#include "effects/fractalefu.h"
#include "support/png.h"

namespace {

constexpr int kPixels = 240 * 320;
using Pictures = std::array<std::vector<uint32_t>, FractalZoomEffect::kLevels>;

std::vector<uint16_t> zoomFrame(const Pictures& pictures, int32_t z) {
    const uint32_t* p[FractalZoomEffect::kLevels];
    for (int i = 0; i < FractalZoomEffect::kLevels; ++i) p[i] = pictures[i].data();
    std::vector<uint16_t> frame(kPixels, 0x5A5A);
    FractalZoomEffect::drawZoom(frame.data(), p, z);
    return frame;
}

// Picture i is one colour, red 20 + 40 i: after the filter's 1023-based
// weights red 19 + 40 i, which packs to a different 5-bit red per picture.
Pictures uniformPictures() {
    Pictures pictures;
    for (int i = 0; i < FractalZoomEffect::kLevels; ++i) pictures[i].assign(kPixels, (20u + 40u * i) << 16);
    return pictures;
}
// Which uniform picture a pixel shows, -1 for none.
int pictureAt(const std::vector<uint16_t>& frame, int x, int y) {
    const int red = frame[y * 240 + x] >> 11;
    return red >= 2 && (red - 2) % 5 == 0 ? (red - 2) / 5 : -1;
}

Pictures noisePictures() {
    Pictures pictures;
    uint32_t seed = 12345;
    for (auto& picture : pictures) {
        picture.resize(kPixels);
        for (uint32_t& p : picture) p = (seed = seed * 1664525u + 1013904223u) >> 8;
    }
    return pictures;
}

TEST(FractalZoom, DepthPicksThePairAndTheScale) {
    // z = 0: picture 1 at half size inside picture 0; 1023: picture 1 at full
    // size but for its last column and row; 1024: pictures 1 and 2 as at 0.
    const struct {
        int32_t z, x, y, picture;
    } cases[] = {{0, 0, 0, 0},       {0, 120, 160, 1},    {0, 61, 160, 1},      {0, 58, 160, 0},
                 {1023, 0, 0, 1},    {1023, 238, 318, 1}, {1023, 239, 100, 0},  {1023, 100, 319, 0},
                 {1024, 0, 0, 1},    {1024, 120, 160, 2}, {4095, 0, 0, 4}};
    const Pictures pictures = uniformPictures();
    for (const auto& c : cases) EXPECT_EQ(pictureAt(zoomFrame(pictures, c.z), c.x, c.y), c.picture) << c.z << " " << c.x << "," << c.y;
}

// The zoom pixel by pixel in raster order, straight from sample(): the
// drawing gathers and blends row by row and must give the same pixels.
std::vector<uint16_t> referenceFrame(const Pictures& pictures, int32_t z) {
    z &= 4095;
    const uint32_t* outer = pictures[z >> 10].data();
    const uint32_t* inner = pictures[(z >> 10) + 1].data();
    const int32_t step = 2047 - (z & 1023);
    std::vector<uint16_t> frame(kPixels);
    uint16_t last = 0;
    for (int32_t r = 0; r < 320; ++r)
        for (int32_t s = 0; s < 240; ++s) {
            const int32_t x = (step >> 1) - 120 * step + 122752 + s * step;
            const int32_t y = (step >> 1) - 160 * step + 163712 + r * step;
            const int32_t ox = (x + 122880) >> 1, oy = (y + 163840) >> 1;
            if (x >> 10 >= 0 && x >> 10 <= 238 && y >> 10 >= 0 && y >> 10 <= 318)
                last = rgb565::fromXrgb(FractalZoomEffect::sample(inner, x, y));
            else if (ox >> 10 >= 0 && ox >> 10 <= 238 && oy >> 10 >= 0 && oy >> 10 <= 318)
                last = rgb565::fromXrgb(FractalZoomEffect::sample(outer, ox, oy));
            frame[r * 240 + s] = last;
        }
    return frame;
}

TEST(FractalZoom, RowByRowDrawingMatchesThePixelByPixelRule) {
    const Pictures pictures = noisePictures();
    for (int32_t z : {0, 1, 4, 5, 6, 7, 300, 511, 1022, 1023, 1024, 2050, 3071, 4095})
        ASSERT_EQ(zoomFrame(pictures, z), referenceFrame(pictures, z)) << z;
}

TEST(FractalZoom, DepthsWrapAt4096) {
    const Pictures pictures = noisePictures();
    EXPECT_EQ(zoomFrame(pictures, 4096), zoomFrame(pictures, 0));
    EXPECT_EQ(zoomFrame(pictures, -1), zoomFrame(pictures, 4095));
    EXPECT_EQ(zoomFrame(pictures, 4096 * 5 + 777), zoomFrame(pictures, 777));
    EXPECT_NE(zoomFrame(pictures, 777), zoomFrame(pictures, 778));
}

TEST(FractalZoom, ShallowViewsRepeatTheirRightColumnAndBottomRow) {
    const Pictures pictures = noisePictures();
    const auto differs = [](const std::vector<uint16_t>& f, int a, int b) { return f[a] != f[b]; };
    for (int32_t level : {0, 1024, 3072}) {
        // Fraction 6: the right column falls outside both pictures.
        auto frame = zoomFrame(pictures, level + 6);
        for (int r = 0; r < 320; ++r) ASSERT_EQ(frame[r * 240 + 239], frame[r * 240 + 238]) << level << " row " << r;
        frame = zoomFrame(pictures, level + 7);
        int distinct = 0;
        for (int r = 0; r < 319; ++r) distinct += differs(frame, r * 240 + 239, r * 240 + 238);
        EXPECT_GT(distinct, 300) << level;
        // Fraction 4: the whole bottom row repeats the last pixel above it.
        frame = zoomFrame(pictures, level + 4);
        for (int s = 0; s < 240; ++s) ASSERT_EQ(frame[319 * 240 + s], frame[318 * 240 + 239]) << level << " column " << s;
        frame = zoomFrame(pictures, level + 5);
        distinct = 0;
        for (int s = 1; s < 240; ++s) distinct += differs(frame, 319 * 240 + s, 319 * 240 + s - 1);
        EXPECT_GT(distinct, 200) << level;
    }
}

TEST(FractalZoom, WeightsAddUpTo1023) {
    std::vector<uint32_t> white(kPixels, 0x00FFFFFF), eights(kPixels, 0x00080808);
    EXPECT_EQ(FractalZoomEffect::sample(white.data(), 5 << 10, 7 << 10), 0xFEFEFEu);
    EXPECT_EQ(FractalZoomEffect::sample(white.data(), (5 << 10) + 517, (7 << 10) + 1023), 0xFEFEFEu);
    EXPECT_EQ(FractalZoomEffect::sample(eights.data(), 100 << 10, 100 << 10), 0x070707u);
    // Midway between black and white columns: (255 * 1023 * 512) >> 20 = 127.
    std::vector<uint32_t> columns(kPixels);
    for (int i = 0; i < kPixels; ++i) columns[i] = (i % 240) % 2 ? 0x00FFFFFF : 0;
    EXPECT_EQ(FractalZoomEffect::sample(columns.data(), (10 << 10) + 512, 3 << 10), 0x7F7F7Fu);
}

// Mean absolute difference of 8-bit channels over pixel pairs.
template <class Channel>
double meanDifference(int count, Channel channelPair) {
    double total = 0;
    for (int i = 0; i < count; ++i)
        for (int shift : {0, 8, 16}) total += std::fabs(channelPair(i, shift));
    return total / (3.0 * count);
}

// The five zoom pictures as the show decodes them: picture i + 1 shrunk to
// half with 1-2-1 weights (outer pixel (60 + x, 80 + y) covers inner pixels
// 2x - 1 .. 2x + 1) matches the centre of picture i; the same one inner
// pixel off differs far more. And depths either side of a level change
// look alike.
TEST(FractalZoomPictures, EachLevelIsTheCentreOfThePreviousEnlargedTwice) {
    Image levels[FractalZoomEffect::kLevels];
    const uint32_t* p[FractalZoomEffect::kLevels];
    for (int i = 0; i < FractalZoomEffect::kLevels; ++i) {
        ASSERT_TRUE(levels[i].loadJpeg(res::kFractalZoom0 + i) && levels[i].bitsPerPixel == 32);
        p[i] = levels[i].pixels32();
    }
    for (int i = 0; i + 1 < FractalZoomEffect::kLevels; ++i) {
        const auto shrunk = [&](int x, int y, int shift, int offset) {
            double sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += ((p[i + 1][(2 * y + dy) * 240 + 2 * x + dx + offset] >> shift) & 255) *
                           (2 - std::abs(dx)) * (2 - std::abs(dy)) / 16.0;
            return sum - ((p[i][(80 + y) * 240 + 60 + x] >> shift) & 255);
        };
        // Outer columns 61..178 and rows 81..239 (inner columns up to 238, and one more when off).
        const auto at = [&](int offset) {
            return meanDifference(118 * 159, [&](int n, int shift) { return shrunk(1 + n % 118, 1 + n / 118, shift, offset); });
        };
        const double mean = at(0), off = at(1);
        std::printf("zoom pictures %d and %d: mean channel difference %.2f (%.2f one inner pixel off)\n", i, i + 1, mean, off);
        // Measured 4.0 to 6.6: JPEG and what 5 x 5 samples a pixel leave of
        // the aliasing in the finest filaments.
        EXPECT_LT(mean, 8.0) << i;
        EXPECT_LT(mean * 1.5, off) << i;
    }
    for (int32_t level : {1024, 2048, 3072}) {
        std::vector<uint16_t> before(kPixels), after(kPixels);
        FractalZoomEffect::drawZoom(before.data(), p, level - 1);
        FractalZoomEffect::drawZoom(after.data(), p, level);
        const double mean = meanDifference(kPixels, [&](int n, int shift) {
            const auto widen = [](uint16_t q) { return rgb565::red8(q) << 16 | rgb565::green8(q) << 8 | rgb565::blue8(q); };
            return static_cast<int>((widen(before[n]) >> shift) & 255) - static_cast<int>((widen(after[n]) >> shift) & 255);
        });
        std::printf("depths %d and %d: mean channel difference %.2f\n", level - 1, level, mean);
        EXPECT_LT(mean, 6.0) << level;  // measured 2.9 to 4.2
        if (level == 2048) testpng::writeLandscape(testpng::outputDir() + "/fractalefu_2048.png", after.data());
    }
}

}  // namespace
