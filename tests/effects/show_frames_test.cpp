// The opening of the show rendered at the positions worth looking at, as
// the viewer sees them (after the blitter) and as the effect drew them.
// The pictures land in the test output folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "show_frames.h"
#include "support/png.h"

namespace {

struct Position {
    int order, row;
};

class ShowFrames : public testing::TestWithParam<Position> {};

TEST_P(ShowFrames, EffectDrawsAVisiblePicture) {
    const auto [order, row] = GetParam();
    const showframes::Frame frame = showframes::renderShowAt(order, row);
    ASSERT_TRUE(frame.drawn);
    const std::string name = std::to_string(order) + "_" + std::to_string(row);
    testpng::writeLandscape(testpng::outputDir() + "/show_" + name + ".png", frame.display.data());
    testpng::writeLandscape(testpng::outputDir() + "/effect_" + name + ".png", frame.backBuffer.data());
    // A real picture has many different colours, not a cleared or flat buffer.
    std::vector<uint16_t> colours = frame.backBuffer;
    std::sort(colours.begin(), colours.end());
    const auto distinct = std::unique(colours.begin(), colours.end()) - colours.begin();
    EXPECT_GT(distinct, 200);
}

INSTANTIATE_TEST_SUITE_P(Opening, ShowFrames,
                         testing::Values(Position{1, 0}, Position{3, 64}, Position{5, 8}, Position{6, 0},
                                         Position{7, 24}, Position{8, 80}),
                         [](const testing::TestParamInfo<Position>& info) {
                             return "at_" + std::to_string(info.param.order) + "_" + std::to_string(info.param.row);
                         });

}  // namespace
