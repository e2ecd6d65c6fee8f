// What the offline commands print: the progress bar, the benchmark's
// figures and the warning before a very large video.
#include <gtest/gtest.h>

#include <sstream>

#include "offline/progress_bar.h"
#include "offline/show_bench.h"
#include "offline/video_output.h"

namespace {

TEST(ProgressBar, ShowsFramesPercentRateAndTimeLeft) {
    EXPECT_EQ(ProgressBar::text(5321, 13056, 25.05),
              "[#########...............]   5321/13056  40.8%   212.4 fps  0:36 left");
    EXPECT_EQ(ProgressBar::text(0, 100, 0.0), "[........................]      0/100   0.0%     0.0 fps  -:-- left");
    EXPECT_EQ(ProgressBar::text(100, 100, 2.0), "[########################]    100/100 100.0%    50.0 fps  0:00 left");

    // Off a terminal only the final state is written, once.
    std::ostringstream out;
    ProgressBar bar(out, 10, false);
    bar.update(5);
    EXPECT_TRUE(out.str().empty());
    bar.finish(10);
    EXPECT_NE(out.str().find("10/10 100.0%"), std::string::npos);
    EXPECT_EQ(out.str().back(), '\n');
}

TEST(ShowBench, MeanAndNinetyNinthPercentile) {
    std::vector<double> ms;
    for (int i = 1; i <= 200; ++i) ms.push_back(i);
    EXPECT_DOUBLE_EQ(meanOf(ms), 100.5);
    EXPECT_DOUBLE_EQ(percentileOf(ms, 99.0), 198.0);  // nearest rank: the 198th of 200
    EXPECT_DOUBLE_EQ(percentileOf({3.0}, 99.0), 3.0);
    EXPECT_DOUBLE_EQ(percentileOf({}, 99.0), 0.0);
    EXPECT_DOUBLE_EQ(meanOf({}), 0.0);
}

TEST(LargeVideoWarning, NamesSizeMemoryAndTimeOnlyWhenLarge) {
    constexpr long kWholeShow = 13056;  // frames at 60 fps
    const std::string huge = largeVideoWarning({240, 320, 16, 60, 44100, false}, kWholeShow);
    EXPECT_NE(huge.find("a 3840 x 5120 video"), std::string::npos) << huge;
    EXPECT_NE(huge.find("3.9 GB of memory"), std::string::npos) << huge;
    EXPECT_NE(huge.find(" minutes for 13056 frames"), std::string::npos) << huge;
    // The memory alone is worth a word, however short the range.
    EXPECT_FALSE(largeVideoWarning({240, 320, 16, 60, 44100, false}, 10).empty());
    // The release's 1440 x 1920 video and the default size say nothing.
    EXPECT_EQ(largeVideoWarning({240, 320, 6, 60, 44100, false}, kWholeShow), "");
    EXPECT_EQ(largeVideoWarning({320, 240, 3, 60, 44100, true}, kWholeShow), "");
}

}  // namespace
