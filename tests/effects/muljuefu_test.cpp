// The writhing tube: its sine table, the outward angle walk of one column
// (first rows, clipping at the screen's ends, the far side), the breathing
// backdrop at t = 0, ignored commands, and a frame to look at.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/muljuefu.h"
#include "support/png.h"

namespace {

constexpr uint16_t kUntouched = 0x5A5A;
// Guard rows above and below the screen catch writes past its ends.
constexpr int kGuard = 160;

class TubeColumn : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(effect.load()); }

    // Draws one column (screen column 0) into a buffer with guard rows and
    // returns that column's rows -kGuard .. 319 + kGuard.
    std::vector<uint16_t> column(int32_t cy, int32_t tw) {
        std::vector<uint16_t> buffer(240 * (320 + 2 * kGuard), kUntouched);
        drawn = TubeEffect::drawColumn(buffer.data() + kGuard * 240, skin.data(), effect.sineTable(), cy, tw);
        std::vector<uint16_t> rows(320 + 2 * kGuard);
        for (size_t r = 0; r < rows.size(); ++r) rows[r] = buffer[r * 240];
        return rows;
    }
    static uint16_t at(const std::vector<uint16_t>& rows, int screenRow) { return rows[screenRow + kGuard]; }
    void fillSkin(uint32_t alpha, uint32_t colour) {
        for (uint32_t& p : skin) p = alpha << 24 | colour;
    }

    TubeEffect effect;
    std::array<uint32_t, 256> skin{};
    TubeEffect::Span drawn{};
};

TEST_F(TubeColumn, SineTableFloorsItsEntries) {
    const auto& s = effect.sineTable();
    EXPECT_EQ((std::array<int32_t, 6>{s[0], s[64], s[128], s[192], s[1], s[255]}),
              (std::array<int32_t, 6>{0, 255, 0, -255, 6, -7}));
}

TEST_F(TubeColumn, FirstUpperStepWritesTwoRowsAndTheCentreRowNeedsALowerOffsetOfOne) {
    // Height 0 everywhere: angle 1 gives h = 0 (nothing), angle 2 gives h = 1,
    // the first lower row, at the centre row itself.
    fillSkin(0, 0x101010);
    // Mark the texel of angle -1 (column tw - 1) and of angle 2 (tw + 2).
    const int32_t tw = 40;
    skin[(tw - 1) & 255] = 0x00400000;  // red 64: * 63 >> 5 = 126
    skin[(tw + 2) & 255] = 0x00000040;  // blue 64: * 62 >> 5 = 124
    for (int32_t cy : {-64, 0, 63}) {
        SCOPED_TRACE(cy);
        const auto rows = column(cy, tw);
        EXPECT_EQ(at(rows, 160 + cy - 1), rgb565::pack(126u, 0u, 0u));
        EXPECT_EQ(at(rows, 160 + cy - 2), rgb565::pack(126u, 0u, 0u));
        EXPECT_EQ(at(rows, 160 + cy), rgb565::pack(0u, 0u, 124u));
    }
    // Brightness 2.0 at the front clamps at 255.
    fillSkin(0, 0xF0F0F0);
    EXPECT_EQ(at(column(0, 0), 158), 0xFFFF);
}

TEST_F(TubeColumn, TheTubeIsOneUnbrokenSpanAndStaysOnScreen) {
    // For centre offsets beyond the tube's own range as well, with bumpy
    // heights: every written row lies on the screen, row 319 never, and the
    // written rows form one unbroken span around the centre line.
    uint32_t seed = 12345;
    for (int32_t cy : {-159, -130, -64, -1, 0, 63, 100, 130, 159}) {
        for (int trial = 0; trial < 20; ++trial) {
            for (uint32_t& p : skin) {
                seed = seed * 1664525u + 1013904223u;
                p = (seed & 0xFF000000u) | 0x808080u;
            }
            const auto rows = column(cy, trial * 13);
            int first = -1, last = -1;
            for (int r = -kGuard; r < 320 + kGuard; ++r) {
                if (at(rows, r) == kUntouched) continue;
                if (first < 0) first = r;
                last = r;
            }
            SCOPED_TRACE(testing::Message() << "cy " << cy << " trial " << trial);
            ASSERT_GE(first, 0);
            ASSERT_LE(last, 318);
            ASSERT_EQ(drawn.top, first);
            ASSERT_EQ(drawn.bottom, last);
            for (int r = first; r <= last; ++r) ASSERT_NE(at(rows, r), kUntouched) << r;
        }
    }
}

TEST_F(TubeColumn, SpansReachingAnEndAreSkippedWholeAndASmallerOneStillDraws) {
    // cy = 130: lower spans must end above row 320, so h <= 29. Height 0
    // gives h = 14 at angle 19 and 15 at angle 21; a tall bump at angle 20
    // (h = 46) would reach past the end and is skipped, not cut, so angle
    // 21 draws the next row.
    fillSkin(0, 0x202020);
    skin[20] = 0xFF00FF00u;
    skin[21] = 0x00000040u;
    skin[(-20) & 255] = 0xFF00FF00u;
    skin[(-21) & 255] = 0x00000040u;
    const uint16_t angle21 = rgb565::pack(0u, 0u, (0x40u * 43) >> 5);
    auto rows = column(130, 0);
    EXPECT_EQ(at(rows, 160 + 130 + 14), angle21);
    for (int r = 319; r < 320 + kGuard; ++r) ASSERT_EQ(at(rows, r), kUntouched) << r;
    // The same above: cy = -130 lets upper spans reach h >= -29 only;
    // angle -19 ends at h = -15 and angle -21 draws h = -16, row 13.
    rows = column(-130, 0);
    EXPECT_EQ(at(rows, 13), angle21);
    for (int r = -kGuard; r < 0; ++r) ASSERT_EQ(at(rows, r), kUntouched) << r;
}

TEST_F(TubeColumn, FarSideBumpsThatStickOutAreBlack) {
    // Flat near side (h up to 31), tall far side (h up to 94 at angle 70).
    for (int k = 0; k < 256; ++k) skin[k] = (k >= 65 && k <= 127) || (k >= 129 && k <= 191) ? 0xFFFFFFFFu : 0x00808080u;
    const auto rows = column(0, 0);
    EXPECT_NE(at(rows, 160 + 20), 0);
    for (int r = 160 + 32; r < 160 + 90; ++r) ASSERT_EQ(at(rows, r), 0) << r;
    for (int r = 160 - 90; r < 160 - 33; ++r) ASSERT_EQ(at(rows, r), 0) << r;
}

class TubeFrame : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(effect.load());
        ASSERT_TRUE(effect.init());
    }
    TubeEffect effect;
};

TEST_F(TubeFrame, AtTimeZeroTheBackdropShows285RowsFromRowSeventeenAndAHalf) {
    EXPECT_EQ(TubeEffect::shownRows(0), 285 << 16);
    std::vector<uint16_t> screen(240 * 320, kUntouched);
    effect.drawBackground(screen.data(), 0);
    EXPECT_EQ(std::count(screen.begin(), screen.end(), kUntouched), 0);
    // Screen row 0 is the even blend of picture rows 17 and 18.
    Image backdrop;
    ASSERT_TRUE(backdrop.loadJpeg(res::kTubeBackdrop));
    const uint32_t* p = backdrop.pixels32();
    for (int x = 0; x < 240; x += 7) {
        const uint32_t u = p[17 * 240 + x], w = p[18 * 240 + x];
        auto blendChannel = [&](int shift) { return (((u >> shift) & 255) * 0x7FFF + ((w >> shift) & 255) * 0x8000) >> 16; };
        ASSERT_EQ(screen[x], rgb565::pack(blendChannel(16), blendChannel(8), blendChannel(0))) << x;
    }
}

TEST_F(TubeFrame, TheBackdropAroundTheTubeIsTheWholeBackdropOverdrawn) {
    // A frame draws the tube first and the backdrop only around it; the
    // pixels must be those of the backdrop drawn whole with the tube over it.
    for (int32_t t : {0, 1234, 40000, -5000}) {
        std::vector<uint16_t> frame(240 * 320, kUntouched), expected(240 * 320, kUntouched);
        effect.render(t, frame.data());
        effect.drawBackground(expected.data(), t);
        TubeEffect::Span covered[240];
        TubeEffect::drawTube(expected.data(), effect.surface().pixels32(), effect.sineTable(), t, covered);
        ASSERT_EQ(frame, expected) << t;
    }
}

TEST_F(TubeFrame, EveryCommandIsIgnoredAndFramesAreWorthALook) {
    std::vector<uint16_t> before(240 * 320), after(240 * 320);
    effect.render(3000, before.data());
    for (const char* command : {"setparam", "init", "seteffect", "anything"})
        effect.handleCommand(3000, command, "param=time mode=constant loopmode=stop length=1 value0=99");
    effect.render(3000, after.data());
    EXPECT_EQ(before, after);
    for (int32_t t : {0, 3000, 7777}) {
        effect.render(t, after.data());
        const std::string name = testpng::outputDir() + "/muljuefu_" + std::to_string(t) + ".png";
        EXPECT_TRUE(testpng::writeLandscape(name, after.data()));
    }
}

}  // namespace
