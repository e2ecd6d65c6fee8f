// The end scene: the breathing background's rows, the credit lines' script
// positions, and a frame to look at.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "assets/font.h"
#include "effects/loppuefu.h"
#include "render/row_blend.h"
#include "render/grid_tables.h"
#include "support/png.h"

namespace {

std::string setting(const char* name, int value) {
    return std::string("param=") + name + " mode=constant loopmode=stop length=1 value0=" + std::to_string(value);
}

TEST(EndSceneBackground, TimeZeroShows290RowsFromRow15) {
    EXPECT_EQ(EndSceneEffect::shownRows(0), 290 << 16);
    // Rows 15..305 green (row 15 blue), every other row red: no red may
    // reach the screen, and the first screen row is row 15 alone.
    std::vector<uint32_t> picture(240 * 320, 0x00FF0000u);
    std::fill(picture.begin() + 15 * 240, picture.begin() + 306 * 240, 0x0000FF00u);
    std::fill(picture.begin() + 15 * 240, picture.begin() + 16 * 240, 0x000000FFu);
    std::vector<uint16_t> screen(240 * 320, 0);
    EndSceneEffect::drawBackground(screen.data(), picture.data(), 0);
    EXPECT_TRUE(std::all_of(screen.begin(), screen.begin() + 240, [](uint16_t p) { return p == 0x001F; }));
    EXPECT_TRUE(std::none_of(screen.begin(), screen.end(), [](uint16_t p) { return (p >> 11) != 0; }));
}

TEST(EndSceneBackground, TheBreathStaysWithin265To315RowsAndReadsNoFurtherThanRow318) {
    int32_t least = 1 << 30, most = 0;
    for (int32_t t = 0; t < 9000; ++t) {
        const int32_t g = EndSceneEffect::shownRows(t);
        least = std::min(least, g), most = std::max(most, g);
        int32_t y = 0, step = 0;
        stretchedRows(g, y, step);
        ASSERT_GE(y >> 16, 0) << t;
        ASSERT_LE(((y + 319 * step) >> 16) + 1, 318) << t;
    }
    EXPECT_GE(least, 265 << 16);
    EXPECT_LE(most, 315 << 16);
    EXPECT_LT(least, 266 << 16);  // a whole breath was seen
    EXPECT_GT(most, 314 << 16);
}

class EndScene : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(loadFont());
        buildGridTables();
    }
    static void TearDownTestSuite() { releaseFont(); }
};

TEST_F(EndScene, TheScriptsStartingPositionsPutAllThreeLinesOffScreen) {
    // Where the script puts them at 32:0, then where they slide to at 33:0.
    std::vector<uint16_t> screen(240 * 320, 0x4208), before = screen;
    drawText(screen.data(), -110, 90, EndSceneEffect::kCreditLines[0], -1);
    drawText(screen.data(), 413, 120, EndSceneEffect::kCreditLines[1], -1);
    drawText(screen.data(), 160, 400, EndSceneEffect::kCreditLines[2], -1);
    EXPECT_EQ(screen, before);
    for (int line = 0; line < 3; ++line) {
        std::vector<uint16_t> shown = before;
        const int x[] = {160, 160, 160}, y[] = {90, 120, 150};
        drawText(shown.data(), x[line], y[line], EndSceneEffect::kCreditLines[line], -1);
        EXPECT_NE(shown, before) << line;
    }
}

TEST_F(EndScene, AFrameWithTheLinesInPlace) {
    EndSceneEffect scene;
    ASSERT_TRUE(scene.load());
    const std::pair<const char*, int> values[] = {{"pos1", 160}, {"pos2", 160}, {"pos3", 150}, {"camx", 5000},
                                                  {"camz", 60000}, {"roll", 3000}, {"heading", 9000}};
    for (const auto& [name, value] : values) scene.handleCommand(0, "setparam", setting(name, value));
    std::vector<uint16_t> screen(240 * 320, 0);
    scene.render(1200, screen.data());
    ASSERT_TRUE(scene.initialised);
    testpng::writeLandscape(testpng::outputDir() + "/loppuefu.png", screen.data());
    // The three lines are white-centred text: some pixels are pure white.
    EXPECT_GT(std::count(screen.begin(), screen.end(), 0xFFFF), 100);
}

}  // namespace
