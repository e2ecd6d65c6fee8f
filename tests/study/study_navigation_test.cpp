// Where the keys and clicks of study mode jump: inside the song always,
// across pattern ends, and nowhere past the song's ends.
#include <gtest/gtest.h>

#include "study/study_navigation.h"
#include "study_rig.h"
#include "show/demo_script.h"

namespace {

using studytest::timeline;

SongPosition target(SongPosition now, Jump jump) {
    SongPosition to{-1, -1};
    EXPECT_TRUE(jumpTarget(timeline(), showScenes(timeline(), demoScript()), now, jump, to));
    return to;
}

bool jumps(SongPosition now, Jump jump) {
    SongPosition to;
    return jumpTarget(timeline(), showScenes(timeline(), demoScript()), now, jump, to);
}

TEST(StudyNavigation, ScenesOrdersAndRowsStayInsideTheSong) {
    const SongPosition last{timeline().orderCount() - 1, timeline().rowsAt(timeline().orderCount() - 1) - 1};
    EXPECT_EQ(target({9, 0}, Jump::PreviousScene), (SongPosition{7, 0}));  // at a scene start: the one before
    EXPECT_EQ(target({9, 1}, Jump::PreviousScene), (SongPosition{9, 0}));
    EXPECT_EQ(target({9, 0}, Jump::NextScene), (SongPosition{11, 0}));
    EXPECT_FALSE(jumps({0, 32}, Jump::PreviousScene));  // the first scene
    EXPECT_EQ(target({0, 5}, Jump::NextScene), (SongPosition{0, 32}));
    EXPECT_FALSE(jumps({32, 1}, Jump::NextScene));  // the last scene

    EXPECT_FALSE(jumps({0, 7}, Jump::PreviousOrder));
    EXPECT_FALSE(jumps(last, Jump::NextOrder));
    EXPECT_FALSE(jumps({0, 15}, Jump::RowsBack));
    EXPECT_EQ(target({0, 16}, Jump::RowsBack), (SongPosition{}));
    EXPECT_FALSE(jumps({last.order, last.row - 15}, Jump::RowsOn));
    EXPECT_EQ(target({last.order, last.row - 16}, Jump::RowsOn), last);
    // Across a pattern's end and back.
    const int rows = timeline().rowsAt(20);
    EXPECT_EQ(target({20, rows - 4}, Jump::RowsOn), (SongPosition{21, 12}));
    EXPECT_EQ(target({21, 12}, Jump::RowsBack), (SongPosition{20, rows - 4}));
    EXPECT_EQ(target({21, 12}, Jump::Restart), (SongPosition{}));
}

TEST(StudyNavigation, ATimeFindsTheRowPlayingThen) {
    EXPECT_EQ(rowAtTime(timeline(), 0), (SongPosition{}));
    EXPECT_EQ(rowAtTime(timeline(), -5), (SongPosition{}));
    for (const SongPosition row : {SongPosition{9, 0}, SongPosition{17, timeline().rowsAt(17) - 3}, SongPosition{32, 1}}) {
        const int32_t at = timeline().timeAt(row);
        EXPECT_EQ(rowAtTime(timeline(), at), row);
        EXPECT_EQ(rowAtTime(timeline(), at + 1), row);
        EXPECT_LT(rowAtTime(timeline(), at - 1), row);
    }
    const int lastOrder = timeline().orderCount() - 1;
    EXPECT_EQ(rowAtTime(timeline(), timeline().lengthMs() + 1000),
              (SongPosition{lastOrder, timeline().rowsAt(lastOrder) - 1}));
}

}  // namespace
