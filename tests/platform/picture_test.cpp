// The picture's way to the window: the surface layouts the blitter walks,
// the widening to 8-bit channels, whole-multiple enlargement and the loading box.
#include <gtest/gtest.h>

#include <vector>

#include "anim/screen_size.h"
#include "platform/portable/loading_box.h"
#include "platform/portable/picture_surface.h"
#include "platform/portable/window_layout.h"
#include "support/png.h"

namespace {

// Where the blitter's walk puts picture pixel (x, y), as an index into the
// surface's rows: base + y * yPitch/2 + x * xPitch/2.
std::ptrdiff_t landing(const SurfaceLayout& layout, int x, int y) {
    return layout.baseOffset + static_cast<std::ptrdiff_t>(y) * (layout.yPitch / 2) +
           static_cast<std::ptrdiff_t>(x) * (layout.xPitch / 2);
}

TEST(PictureSurface, LandscapeTurnsThePictureAQuarterTurnClockwise) {
    const SurfaceLayout layout = surfaceLayout(Orientation::Landscape);
    EXPECT_EQ(layout.width, 320);
    EXPECT_EQ(layout.height, 240);
    EXPECT_EQ(layout.xPitch, 640);
    EXPECT_EQ(layout.yPitch, -2);
    // Each picture pixel lands on its own surface pixel inside the surface.
    std::vector<int> hits(320 * 240, 0);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const std::ptrdiff_t at = landing(layout, x, y);
            ASSERT_GE(at, 0);
            ASSERT_LT(at, 320 * 240);
            ++hits[at];
        }
    for (int count : hits) ASSERT_EQ(count, 1);
    // Turned clockwise: the picture's top edge is the right edge, its left
    // edge the top; the text the font writes along the picture's height reads
    // left to right.
    EXPECT_EQ(landing(layout, 0, 0), 319);                   // top-left -> top-right
    EXPECT_EQ(landing(layout, 239, 0), 239 * 320 + 319);     // top-right -> bottom-right
    EXPECT_EQ(landing(layout, 0, 319), 0);                   // bottom-left -> top-left
    EXPECT_EQ(landing(layout, 239, 319), 239 * 320);         // bottom-right -> bottom-left

    PictureSurface surface(Orientation::Landscape);
    EXPECT_EQ(surface.base(), surface.pixels() + 319);
    const DisplayProperties props = surface.properties();
    EXPECT_EQ(props.width, 320);
    EXPECT_EQ(props.height, 240);
    EXPECT_EQ(props.xPitch, 640);
    EXPECT_EQ(props.yPitch, -2);
    EXPECT_EQ(props.bitsPerPixel, 16);
}

TEST(PictureSurface, PortraitIsThePlainLayout) {
    const SurfaceLayout layout = surfaceLayout(Orientation::Portrait);
    EXPECT_EQ(layout.width, 240);
    EXPECT_EQ(layout.height, 320);
    EXPECT_EQ(layout.xPitch, 2);
    EXPECT_EQ(layout.yPitch, 480);
    for (int y = 0; y < kScreenHeight; y += 17)
        for (int x = 0; x < kScreenWidth; x += 13) ASSERT_EQ(landing(layout, x, y), y * 240 + x);
}

TEST(PictureSurface, WideningKeepsBlackBlackAndWhiteWhite) {
    EXPECT_EQ(widenRgb565(0x0000), 0xFF000000u);
    EXPECT_EQ(widenRgb565(0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(widenRgb565(0xF800), 0xFFFF0000u);
    EXPECT_EQ(widenRgb565(0x07E0), 0xFF00FF00u);
    EXPECT_EQ(widenRgb565(0x001F), 0xFF0000FFu);
    // Top bits repeated: red 16 -> 132, green 32 -> 130, blue 1 -> 8.
    EXPECT_EQ(widenRgb565(static_cast<uint16_t>((16 << 11) | (32 << 5) | 1)), 0xFF848208u);
    // Each channel rises steadily over its whole range.
    for (uint32_t g = 1; g < 64; ++g)
        ASSERT_GT((widenRgb565(static_cast<uint16_t>(g << 5)) >> 8) & 0xFF,
                  (widenRgb565(static_cast<uint16_t>((g - 1) << 5)) >> 8) & 0xFF);
    const uint16_t row[3] = {0x0000, 0xFFFF, 0x8410};
    uint32_t wide[3];
    widenRgb565(row, wide, 3);
    EXPECT_EQ(wide[2], widenRgb565(0x8410));
}

TEST(WindowLayout, EnlargesByWholeMultiplesWithBlackBorders) {
    PixelRect fit = fitWholeMultiple(1000, 800, 320, 240);  // 3x: 960 x 720
    EXPECT_EQ(fit.width, 960);
    EXPECT_EQ(fit.height, 720);
    EXPECT_EQ(fit.x, 20);
    EXPECT_EQ(fit.y, 40);
    fit = fitWholeMultiple(1920, 1080, 240, 320);  // portrait on a wide screen: 3x by height
    EXPECT_EQ(fit.width, 720);
    EXPECT_EQ(fit.height, 960);
    EXPECT_EQ(fit.x, 600);
    EXPECT_EQ(fit.y, 60);
    fit = fitWholeMultiple(320, 240, 320, 240);
    EXPECT_EQ(fit.x, 0);
    EXPECT_EQ(fit.width, 320);
    fit = fitWholeMultiple(200, 100, 320, 240);  // never below 1x: the centre shows
    EXPECT_EQ(fit.width, 320);
    EXPECT_EQ(fit.x, -60);
    EXPECT_EQ(fit.y, -70);
}

TEST(WindowLayout, StartsAtAScaleThatSuitsTheDesktop) {
    EXPECT_EQ(defaultWindowScale(1920, 1040, 320, 240), 3);
    EXPECT_EQ(defaultWindowScale(1920, 1040, 240, 320), 2);
    EXPECT_EQ(defaultWindowScale(3840, 2100, 320, 240), 4);
    EXPECT_EQ(defaultWindowScale(800, 600, 320, 240), 2);
    EXPECT_EQ(defaultWindowScale(300, 200, 320, 240), 1);
}

// The share of the bar's inside that holds blocks.
int barPixels(const std::vector<uint32_t>& picture) {
    int count = 0;
    for (uint32_t p : picture) count += p == 0xFF1C4FA8u;
    return count;
}

TEST(LoadingBox, FillsTheBarWithTheProgress) {
    std::vector<uint32_t> picture(320 * 240);
    int previous = -1;
    for (int position = 0; position <= 18; ++position) {
        paintLoadingBox(picture.data(), 320, 240, 0, 18, position);
        const int filled = barPixels(picture);
        if (position == 0) {
            EXPECT_EQ(filled, 0);
        }
        EXPECT_GT(filled, previous) << position;
        previous = filled;
        if (position == 9) {
            std::vector<uint8_t> rgb;
            for (uint32_t p : picture) rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
            testpng::writeRgb(testpng::outputDir() + "/loading_box_9_of_18.png", rgb, 320, 240);
        }
    }
    // Positions outside the range stand at its ends.
    paintLoadingBox(picture.data(), 320, 240, 0, 18, 40);
    EXPECT_EQ(barPixels(picture), previous);
    paintLoadingBox(picture.data(), 320, 240, 0, 18, -3);
    EXPECT_EQ(barPixels(picture), 0);
    // The box sits in the middle of either picture; the corners stay black.
    std::vector<uint32_t> upright(240 * 320);
    paintLoadingBox(upright.data(), 240, 320, 0, 18, 18);
    EXPECT_EQ(upright[0], 0xFF000000u);
    EXPECT_EQ(upright[240 * 320 - 1], 0xFF000000u);
    EXPECT_EQ(upright[160 * 240 + 120], 0xFFFFFFFFu);
}

}  // namespace
