// The opening of the show rendered offline at the moments worth looking at:
// each frame must hold a real picture (many colours, not a cleared or flat
// buffer). The frames, as the viewer sees them and as the effect drew them,
// land in the test output folder to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/offline_show.h"
#include "app/timeline.h"
#include "support/fakes.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

class OpeningFrames : public testing::TestWithParam<SongPosition> {};

TEST_P(OpeningFrames, ShowAPicture) {
    static SongTimeline timeline;
    ASSERT_TRUE(timeline.loadModuleOf(*builtInShow().assets));
    const SongPosition position = GetParam();

    OfflineSettings settings(builtInShow());
    settings.start = planStart(timeline, demoScript(), position);
    settings.endMs = settings.start.timeMs + 1000;
    fakes::FakeDialogs dialogs;
    OfflineShow show(settings, dialogs);
    ASSERT_TRUE(show.start());
    ASSERT_TRUE(show.nextFrame());

    const std::string name = std::to_string(position.order) + "_" + std::to_string(position.row);
    const uint16_t* backBuffer = show.demo().backBuffer();
    testpng::writeRgb565(testpng::outputDir() + "/show_" + name + ".png", show.picture().pixels(),
                         show.picture().width(), show.picture().height());
    testpng::writeLandscape(testpng::outputDir() + "/effect_" + name + ".png", backBuffer);

    std::vector<uint16_t> colours(backBuffer, backBuffer + 240 * 320);
    std::sort(colours.begin(), colours.end());
    EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 200);
    show.finish();
}

INSTANTIATE_TEST_SUITE_P(Show, OpeningFrames,
                         testing::Values(SongPosition{1, 0}, SongPosition{3, 64}, SongPosition{5, 8},
                                         SongPosition{6, 0}, SongPosition{7, 24}, SongPosition{8, 80},
                                         SongPosition{9, 16}, SongPosition{10, 80}, SongPosition{11, 40},
                                         SongPosition{12, 64}, SongPosition{13, 64}, SongPosition{16, 32},
                                         SongPosition{18, 32}, SongPosition{24, 40}, SongPosition{25, 80},
                                         SongPosition{26, 40}, SongPosition{26, 120}, SongPosition{27, 64},
                                         SongPosition{27, 124}, SongPosition{28, 60}, SongPosition{29, 120},
                                         SongPosition{31, 64}, SongPosition{32, 64}, SongPosition{33, 80},
                                         SongPosition{34, 100}),
                         [](const testing::TestParamInfo<SongPosition>& info) {
                             return "at_" + std::to_string(info.param.order) + "_" +
                                    std::to_string(info.param.row);
                         });

}  // namespace
