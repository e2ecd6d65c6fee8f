// The twisting pole: where the scroller puts its glyphs on the strips
// (clipping at both ends, restarting at the end of the text), how a face is
// shaded by its width, and a frame of the real scene to look at.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/font.h"
#include "effects/tolppaefu.h"
#include "support/png.h"

namespace {

constexpr int kStride = 1264;

// Synthetic glyph pictures that say which font column each byte came from.
struct FakeFont {
    std::vector<uint8_t> brightness, coverage;
    FakeFont() : brightness(kStride * 32), coverage(kStride * 32) {
        for (int k = 0; k < 32; ++k)
            for (int x = 0; x < kStride; ++x) {
                brightness[k * kStride + x] = static_cast<uint8_t>(x);
                coverage[k * kStride + x] = static_cast<uint8_t>(x >> 8 | k << 3);
            }
    }
    // The font column line `line` of the strips shows, -1 if it differs by glyph row or is untouched.
    int column(const TextStrips& strips, int line) const {
        const int x = strips.brightness[line * 32] | (strips.coverage[line * 32] & 7) << 8;
        if (x >= kStride) return -1;
        for (int k = 0; k < 32; ++k)
            if (strips.brightness[line * 32 + k] != brightness[k * kStride + x] ||
                strips.coverage[line * 32 + k] != coverage[k * kStride + x])
                return -1;
        return x;
    }
};

const FakeFont& font() {
    static const FakeFont f;
    return f;
}

TextStrips filled(const char* text, std::initializer_list<int32_t> phases) {
    TextStrips strips;
    strips.coverage.fill(0xFF);  // column -1: untouched
    for (int32_t p : phases) strips.fill(text, p, font().brightness.data(), font().coverage.data(), kStride);
    return strips;
}

constexpr int kA = 32, kB = 64, kW = 720;  // glyph offsets, each 32 wide

TEST(PoleScroller, FirstCharacterStartsAtTheBottomLineAndClipsThere) {
    // Below the first character's width nothing is skipped.
    TextStrips s = filled("AB", {0});
    EXPECT_EQ(font().column(s, 319), kA);
    EXPECT_EQ(font().column(s, 288), kA + 31);
    EXPECT_EQ(font().column(s, 287), kB);
    EXPECT_EQ(font().column(s, 255), -1);  // the terminator stops the filling
    // Partly below the bottom: the strip offset advances with the phase.
    s = filled("AB", {31});
    EXPECT_EQ(font().column(s, 319), kA + 31);
    EXPECT_EQ(font().column(s, 318), kB);
    EXPECT_EQ(s.index, 0);
    // At exactly its width the first character is still walked over, not skipped.
    s = filled("AB", {32});
    EXPECT_EQ(font().column(s, 319), kB);
    EXPECT_EQ(s.passedWidth, 0);
}

TEST(PoleScroller, CharactersBeyondTheTopAreClippedAtLineZero) {
    // A space (20) then W's (32): the tenth W starts at 308 and keeps 12 columns.
    const TextStrips s = filled(" WWWWWWWWWWWW", {0});
    EXPECT_EQ(font().column(s, 319), 0);
    EXPECT_EQ(font().column(s, 299), kW);
    EXPECT_EQ(font().column(s, 11), kW);
    EXPECT_EQ(font().column(s, 0), kW + 11);
    EXPECT_EQ(s.index, 0);  // the first visible character, never the end
}

TEST(PoleScroller, TheEndOfTheTextRestartsTheIndexButKeepsTheWidth) {
    TextStrips s = filled("AB", {40});
    EXPECT_EQ(s.index, 0);
    EXPECT_EQ(s.passedWidth, 32);  // A has gone; B's end was reached
    EXPECT_EQ(font().column(s, 319), kB + 8);
    // The next frame starts the text again right behind where it ended.
    s = filled("AB", {40, 41});
    EXPECT_EQ(font().column(s, 319), kA + 9);
    EXPECT_EQ(font().column(s, 297), kA + 31);
    EXPECT_EQ(font().column(s, 296), kB);
}

TEST(PoleScroller, APhaseThatJumpsPastTheEndWrapsInsteadOfReadingBeyondIt) {
    // 100 skips A, B, (the end), A: as if every frame in between had been drawn.
    TextStrips jumped = filled("AB", {100});
    EXPECT_EQ(jumped.passedWidth, 96);
    EXPECT_EQ(font().column(jumped, 319), kB + 4);
    const TextStrips stepped = filled("AB", {10, 40, 70, 100});
    EXPECT_EQ(stepped.passedWidth, jumped.passedWidth);
    EXPECT_EQ(font().column(stepped, 319), font().column(jumped, 319));
    // An empty text draws nothing and does not hang.
    EXPECT_EQ(filled("", {1000}).passedWidth, 0);
    // The greetings themselves, far into the show.
    TextStrips far;
    far.fill(PoleEffect::kGreetings, 1000000, font().brightness.data(), font().coverage.data(), kStride);
    EXPECT_LT(far.index, 109);
}

TEST(PoleFace, WidthSetsTheBrightnessUnclampedAboveSixtyFour) {
    std::vector<uint32_t> texels(32, 0x00FFFFFF);
    std::vector<uint8_t> none(32, 0), full(32, 255);
    std::vector<uint16_t> row(100, 0x1234);
    // Zero or negative width: nothing.
    PoleEffect::drawFace(row.data(), 0, texels.data(), none.data(), none.data());
    PoleEffect::drawFace(row.data(), -5, texels.data(), none.data(), none.data());
    EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](uint16_t p) { return p == 0x1234; }));
    // 64 pixels: white. 80: each channel (255 * 255 * 320) >> 16 = 317, and
    // ((317 & ~7) << 8 | (317 & 0xFC) << 3 | 317 >> 3) & 0xFFFF = 0x39E7.
    PoleEffect::drawFace(row.data(), 64, texels.data(), none.data(), none.data());
    EXPECT_TRUE(std::all_of(row.begin(), row.begin() + 64, [](uint16_t p) { return p == 0xFFFF; }));
    EXPECT_EQ(row[64], 0x1234);
    PoleEffect::drawFace(row.data(), 80, texels.data(), none.data(), none.data());
    EXPECT_TRUE(std::all_of(row.begin(), row.begin() + 80, [](uint16_t p) { return p == 0x39E7; }));
    // Full coverage shows the text's brightness instead of the skin.
    std::fill(texels.begin(), texels.end(), 0u);
    PoleEffect::drawFace(row.data(), 64, texels.data(), full.data(), full.data());
    EXPECT_EQ(row[0], 0xFFFF);
}

TEST(PoleScene, AFrameToLookAt) {
    ASSERT_TRUE(loadFont());
    PoleEffect effect;
    ASSERT_TRUE(effect.load());
    effect.handleCommand(0, "setparam", "param=phase mode=linear loopmode=continue length=19200 value0=0 value1=3900");
    std::vector<uint16_t> frame(240 * 320, 0);
    effect.render(4000, frame.data());
    EXPECT_TRUE(testpng::writeLandscape(testpng::outputDir() + "/tolppaefu_4000ms.png", frame.data()));
    std::sort(frame.begin(), frame.end());
    EXPECT_GT(std::unique(frame.begin(), frame.end()) - frame.begin(), 1000);
    effect.deinit();
    releaseFont();
}

}  // namespace
