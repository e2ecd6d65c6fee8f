// The typewriter warp: how many characters each count shows, the swirl's
// motion without pump, modes without a picture, and frames to look at.
// (The track names are checked for every effect by the catalogue's tests.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/font.h"
#include "effects/spriteefu.h"
#include "render/grid_tables.h"
#include "support/png.h"

namespace {

using Frame = std::vector<uint16_t>;

class Typewriter : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(loadFont());
        buildGridTables();
    }
    static void TearDownTestSuite() { releaseFont(); }
    void SetUp() override {
        ASSERT_TRUE(effect.load());
        ASSERT_TRUE(effect.init());
    }

    void set(const std::string& track, int32_t value) {
        effect.handleCommand(0, "setparam", "param=" + track + " mode=constant loopmode=stop length=1 value0=" +
                                                std::to_string(value));
    }
    void setCounts(int32_t count) {
        for (int line = 1; line <= 6; ++line) set("len" + std::to_string(line), count);
    }
    Frame frame(int32_t time) {
        Frame buffer(240 * 320, 0x1234);
        effect.render(time, buffer.data());
        return buffer;
    }

    TypewriterEffect effect;
};

TEST_F(Typewriter, CountsZeroAndNegativeShowNothingMinusOneAndPastTheEndShowAll) {
    for (int32_t mode : {0, 1}) {
        SCOPED_TRACE(mode);
        set("mode", mode);
        setCounts(0);
        const Frame bare = frame(5000);
        for (int32_t count : {-2, -7, -2147483647 - 1}) {
            setCounts(count);
            EXPECT_EQ(frame(5000), bare) << count;
        }
        setCounts(-1);
        const Frame whole = frame(5000);
        EXPECT_NE(whole, bare);
        for (int32_t count : {23, 24, 1000, 2147483647}) {
            setCounts(count);
            EXPECT_EQ(frame(5000), whole) << count;
        }
        setCounts(1);
        EXPECT_NE(frame(5000), bare);
    }
}

TEST_F(Typewriter, SwirlMovesWithTimeWhenPumpStaysZero) {
    set("mode", 1);
    set("pump", 0);
    setCounts(0);
    EXPECT_NE(frame(1000), frame(1040));
}

TEST_F(Typewriter, ModesOtherThanTheTwoDrawNothing) {
    setCounts(-1);
    for (int32_t mode : {2, -1, 7, 1 << 30}) {
        set("mode", mode);
        EXPECT_EQ(frame(1000), Frame(240 * 320, 0x1234)) << mode;
    }
}

TEST_F(Typewriter, FramesToLookAt) {
    setCounts(-1);
    for (int32_t mode : {0, 1}) {
        set("mode", mode);
        const Frame picture = frame(8000);
        EXPECT_TRUE(testpng::writeLandscape(testpng::outputDir() + "/spriteefu_mode" + std::to_string(mode) + ".png",
                                            picture.data()));
    }
}

}  // namespace
