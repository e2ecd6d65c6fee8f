#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "assets/resource_ids.h"
#include "assets/image.h"
#include "assets/resources.h"
#include "jpeg_maker.h"

namespace {

using testjpeg::Rgb;

constexpr int kFontBrightnessId = res::kFontBrightness;

// Colour and grey pictures whose every pixel differs from its neighbours,
// so that a misplaced texel shows.
std::vector<uint8_t> colourPattern(int width, int height) {
    return testjpeg::colour(width, height, [](int x, int y) {
        return Rgb{uint8_t(x * 7 + y), uint8_t(x ^ y), uint8_t(y * 3 + x * 5)};
    });
}

std::vector<uint8_t> greyPattern(int width, int height) {
    return testjpeg::grey(width, height, [](int x, int y) { return uint8_t(x * 3 + y * 11); });
}

std::vector<uint8_t> greyLevel(int width, int height, uint8_t level) {
    return testjpeg::grey(width, height, [=](int, int) { return level; });
}

TEST(ImageDecode, ConvertsOneColourToEachFormat) {
    const auto jpeg = testjpeg::colour(16, 16, [](int, int) { return Rgb{255, 128, 7}; });
    Image image;
    ASSERT_TRUE(image.loadJpeg(jpeg));
    EXPECT_EQ(image.bitsPerPixel, 32);
    for (int i = 0; i < 16 * 16; ++i) {
        ASSERT_EQ(image.pixels[i * 4 + 0], 7);
        ASSERT_EQ(image.pixels[i * 4 + 1], 128);
        ASSERT_EQ(image.pixels[i * 4 + 2], 255);
        ASSERT_EQ(image.pixels[i * 4 + 3], 130);  // alpha: the grey level
    }
    EXPECT_EQ(image.pixels32()[0], 0x82FF8007u);

    ASSERT_TRUE(image.loadJpeg16(jpeg));
    EXPECT_EQ(image.bitsPerPixel, 16);
    for (int i = 0; i < 16 * 16; ++i) ASSERT_EQ(image.pixels16()[i], 0xFC00);
}

struct Outcome {
    bool loaded;
    int bitsPerPixel;
};

// What each loader makes of a 256 x 256 grey and colour picture.
TEST(ImageDecode, EachLoaderGivesItsFormat) {
    const auto grey = greyPattern(256, 256);
    const auto colour = colourPattern(256, 256);
    struct Case {
        const char* loader;
        bool (Image::*load)(Image::Bytes);
        Outcome fromGrey, fromColour;
    };
    const Case cases[] = {
        {"loadJpeg", &Image::loadJpeg, {true, 8}, {true, 32}},
        {"loadJpeg16", &Image::loadJpeg16, {true, 8}, {true, 16}},
        {"loadTiled", &Image::loadTiled, {true, 8}, {true, 32}},
        {"loadTiled16", &Image::loadTiled16, {false, 8}, {true, 16}},  // grey refused, left linear
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loader);
        Image image;
        EXPECT_EQ((image.*c.load)(grey), c.fromGrey.loaded);
        EXPECT_EQ(image.bitsPerPixel, c.fromGrey.bitsPerPixel);
        EXPECT_NE(image.pixels, nullptr);
        EXPECT_EQ((image.*c.load)(colour), c.fromColour.loaded);
        EXPECT_EQ(image.bitsPerPixel, c.fromColour.bitsPerPixel);
        EXPECT_EQ(image.width, 256);
        EXPECT_EQ(image.height, 256);
    }
}

TEST(ImageDecode, ResourceLoadersReadTheEmbeddedPictures) {
    Image image;
    ASSERT_TRUE(image.loadJpeg(kFontBrightnessId));
    EXPECT_EQ(image.width, 1264);
    EXPECT_EQ(image.height, 32);
    EXPECT_EQ(image.bitsPerPixel, 8);
    ASSERT_TRUE(image.loadJpeg16(kFontBrightnessId));
    EXPECT_EQ(image.bitsPerPixel, 8);

    // Not 256 x 256: refused, but the linear picture stays loaded.
    EXPECT_FALSE(image.loadTiled(kFontBrightnessId));
    EXPECT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width, 1264);

    // A missing picture leaves the Image empty, even after an earlier load.
    EXPECT_FALSE(image.loadJpeg(999));
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_FALSE(image.loadTiled16(999));
    EXPECT_FALSE(image.loadWithMask(999, kFontBrightnessId));
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(ImageTiles, TexelsMoveToTheirTiles) {
    static_assert(tiledIndex(9, 10) == 2129);
    static_assert(tiledIndex(255, 255) == 65535);

    struct Case {
        std::vector<uint8_t> jpeg;
        bool (Image::*linear)(Image::Bytes);
        bool (Image::*tiled)(Image::Bytes);
        int elementSize;
    };
    const Case cases[] = {
        {greyPattern(256, 256), &Image::loadJpeg, &Image::loadTiled, 1},
        {colourPattern(256, 256), &Image::loadJpeg, &Image::loadTiled, 4},
        {colourPattern(256, 256), &Image::loadJpeg16, &Image::loadTiled16, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elementSize);
        Image linear, tiled;
        ASSERT_TRUE((linear.*c.linear)(c.jpeg));
        ASSERT_TRUE((tiled.*c.tiled)(c.jpeg));
        const int size = c.elementSize;
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                ASSERT_EQ(std::memcmp(tiled.pixels + tiledIndex(x, y) * size, linear.pixels + (y * 256 + x) * size,
                                      size),
                          0)
                    << "texel " << x << ", " << y;
            }
        }
    }
}

TEST(ImageTiles, WrongSizeStaysLinear) {
    Image image;
    EXPECT_FALSE(image.loadTiled16(colourPattern(240, 320)));
    EXPECT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width, 240);
    EXPECT_EQ(image.bitsPerPixel, 16);
}

TEST(ImageLifecycle, LoadingAgainReplacesThePixels) {
    const auto first = colourPattern(64, 48);
    Image once, twice;
    ASSERT_TRUE(once.loadJpeg(first));
    ASSERT_TRUE(twice.loadJpeg(greyPattern(32, 32)));
    ASSERT_TRUE(twice.loadJpeg(first));  // the grey pixels are freed (the leak checker would say otherwise)
    ASSERT_TRUE(twice.loadJpeg(first));
    ASSERT_EQ(twice.width, 64);
    EXPECT_EQ(std::memcmp(once.pixels, twice.pixels, 64 * 48 * 4), 0);

    twice.release();
    EXPECT_EQ(twice.pixels, nullptr);
    EXPECT_EQ(twice.width, 64);  // release keeps the size
    twice.release();
}

TEST(ImageMask, AlphaComesFromTheMask) {
    const auto picture = colourPattern(32, 16);
    Image image, mask;
    ASSERT_TRUE(image.loadJpeg(picture));
    std::vector<uint8_t> ownGrey;
    for (int i = 0; i < 32 * 16; ++i) ownGrey.push_back(image.pixels[i * 4 + 3]);

    // A mask of another size changes nothing.
    ASSERT_TRUE(mask.loadJpeg(greyLevel(16, 32, 200)));
    EXPECT_FALSE(image.setAlphaFromMask(mask));
    for (int i = 0; i < 32 * 16; ++i) ASSERT_EQ(image.pixels[i * 4 + 3], ownGrey[i]);

    // A grey mask is copied, a colour mask contributes its grey level.
    ASSERT_TRUE(mask.loadJpeg(greyPattern(32, 16)));
    EXPECT_TRUE(image.setAlphaFromMask(mask));
    for (int i = 0; i < 32 * 16; ++i) ASSERT_EQ(image.pixels[i * 4 + 3], mask.pixels[i]);
    ASSERT_TRUE(mask.loadJpeg(testjpeg::colour(32, 16, [](int, int) { return Rgb{255, 128, 7}; })));
    EXPECT_TRUE(image.setAlphaFromMask(mask));
    EXPECT_EQ(image.pixels[3], 130);

    // Only 32-bit pictures have alpha; an empty mask is refused.
    Image sixteen;
    ASSERT_TRUE(sixteen.loadJpeg16(picture));
    EXPECT_FALSE(sixteen.setAlphaFromMask(mask));
    mask.release();
    EXPECT_FALSE(image.setAlphaFromMask(mask));
}

TEST(ImageMask, MaskedLoadersShareTheLayout) {
    const auto picture = colourPattern(256, 256);
    const auto maskJpeg = greyPattern(256, 256);
    Image linearMask, tiledMask, masked, tiledMasked;
    ASSERT_TRUE(linearMask.loadJpeg(maskJpeg));
    ASSERT_TRUE(tiledMask.loadTiled(maskJpeg));
    ASSERT_TRUE(masked.loadWithMask(picture, maskJpeg));
    ASSERT_TRUE(tiledMasked.loadTiledWithMask(picture, maskJpeg));
    for (int i = 0; i < 256 * 256; ++i) {
        ASSERT_EQ(masked.pixels[i * 4 + 3], linearMask.pixels[i]);
        ASSERT_EQ(tiledMasked.pixels[i * 4 + 3], tiledMask.pixels[i]);
    }

    // A mask that does not load fails the call but keeps the picture.
    const std::vector<uint8_t> notJpeg(100, 0x55);
    EXPECT_FALSE(masked.loadWithMask(picture, notJpeg));
    EXPECT_NE(masked.pixels, nullptr);
    // A grey picture has no alpha to set.
    EXPECT_FALSE(masked.loadWithMask(maskJpeg, maskJpeg));
    EXPECT_EQ(masked.bitsPerPixel, 8);
}

TEST(CompressedResource, MissingIdLeavesTheBufferAlone) {
    std::vector<uint8_t> buffer(64, 0xAB);
    EXPECT_EQ(loadCompressedResource(buffer.data(), 64, 4242), 0u);
    for (uint8_t b : buffer) ASSERT_EQ(b, 0xAB);
    // A picture is not a BZ2 resource.
    EXPECT_EQ(loadCompressedResource(buffer.data(), 64, kFontBrightnessId), 0u);
    for (uint8_t b : buffer) ASSERT_EQ(b, 0xAB);
}

}  // namespace
