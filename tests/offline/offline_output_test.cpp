// What the offline commands print: the progress bar and the benchmark's
// figures.
#include <gtest/gtest.h>

#include <sstream>

#include "offline/progress_bar.h"
#include "offline/show_bench.h"

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

}  // namespace
