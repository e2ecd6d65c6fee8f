#include "anim/param_track.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

// Value of a track started at time 0 with the given string, e ms later.
int32_t valueAt(const std::string& settings, int32_t e) {
    ParamTrack track;
    track.applySettings(parseParamString(settings), 0);
    track.evaluate(e);
    return track.current;
}

struct Worked {
    const char* settings;
    int32_t e;
    int32_t expected;
};

TEST(ParamTrack, WorkedValues) {
    const Worked cases[] = {
        {"mode=linear loopmode=stop length=800 value0=0 value1=256", 200, 64},
        {"mode=linear loopmode=stop length=800 value0=1024 value1=256", 200, 832},
        {"mode=linear loopmode=stop length=800 value0=1024 value1=256", 5000, 256},
        {"mode=linear loopmode=continue length=1000 value0=0 value1=-32", 2500, -80},
        {"mode=linear loopmode=continue length=1000 value0=0 value1=-32", 10, 0},
        {"mode=slow loopmode=stop length=1500 value0=256 value1=0", 750, 192},
        {"mode=slow loopmode=stop length=7500 value0=0 value1=256", 3750, 64},
        {"mode=fast loopmode=stop length=1000 value0=0 value1=256", 250, 112},
        {"mode=fast loopmode=continue length=1000 value0=0 value1=256", 2000, 0},
        {"mode=smooth loopmode=stop length=400 value0=256 value1=0", 100, 219},
        {"mode=smooth loopmode=stop length=400 value0=256 value1=0", 200, 128},
        {"mode=sin loopmode=stop length=1000 value0=0 value1=100", 100, 58},
        {"mode=sin loopmode=stop length=1000 value0=0 value1=100", 250, 100},
        {"mode=cos loopmode=stop length=1000 value0=10 value1=100", 500, -90},
        {"mode=linear loopmode=loop length=1000 value0=0 value1=1000", 2500, 500},
        {"mode=linear loopmode=pingpong length=1000 value0=0 value1=1000", 1500, 500},
        {"mode=linear loopmode=pingpong length=1000 value0=0 value1=1000", 2000, 0},
        {"mode=linear loopmode=pingpong length=1000 value0=0 value1=1000", 1000, 1000},
        {"mode=linear loopmode=loop length=1000 value0=0 value1=1000", 1000, 1000},
        {"mode=linear loopmode=pingpong length=1000 value0=0 value1=1000", 3000, 1000},
        {"mode=linear loopmode=pingpong length=1000 value0=0 value1=1000", 2800, 800},
    };
    for (const Worked& c : cases) EXPECT_EQ(valueAt(c.settings, c.e), c.expected) << c.settings << " at e=" << c.e;
}

TEST(ParamTrack, FreshTracksHoldTheirInitialValue) {
    ParamTrack plain, seeded(-42);
    plain.evaluate(123456);
    seeded.evaluate(-7);
    EXPECT_EQ(plain.current, 0);
    EXPECT_EQ(seeded.current, -42);
    EXPECT_EQ(seeded.length, 1);
    EXPECT_EQ(seeded.mode, ParamTrack::kConstant);
    EXPECT_EQ(seeded.loopmode, ParamTrack::kStop);
}

TEST(ParamTrack, FoldingStartsJustPastTheEnd) {
    const std::string loop = "mode=linear loopmode=loop length=1000 value0=0 value1=1000";
    EXPECT_EQ(valueAt(loop, 1001), 1);
    EXPECT_EQ(valueAt(loop, -300), -300);  // before the start nothing folds
    const std::string fast = "mode=fast loopmode=continue length=1000 value0=0 value1=256";
    EXPECT_EQ(valueAt(fast, 1000), 256);
    EXPECT_EQ(valueAt(fast, 1500), 192);  // past the end the curve turns back
    EXPECT_EQ(valueAt("mode=slow loopmode=continue length=1000 value0=0 value1=100", 2000), 400);
    EXPECT_EQ(valueAt("mode=linear loopmode=continue length=1000 value0=0 value1=100", 3000), 300);
}

TEST(ParamTrack, LengthsBelowOneBecomeOne) {
    for (const char* length : {"0", "-5"}) {
        ParamTrack track;
        track.applySettings(parseParamString(std::string("mode=linear length=") + length + " value0=10 value1=20"), 0);
        EXPECT_EQ(track.length, 1);
        track.evaluate(1);
        EXPECT_EQ(track.current, 20);
    }
}

TEST(ParamTrack, MissingKeysKeepTheTrackGoing) {
    ParamTrack track;
    track.applySettings(parseParamString("param=x mode=linear loopmode=stop length=1000 value0=0 value1=1000"), 0);
    track.evaluate(300);
    ASSERT_EQ(track.current, 300);

    // No value0: the new ramp starts from the value last shown.
    track.applySettings(parseParamString("param=x length=1000 value1=0"), 300);
    EXPECT_EQ(track.value0, 300);
    track.evaluate(800);
    EXPECT_EQ(track.current, 150);

    // No length: not restarted, e keeps counting from the start at 300.
    track.applySettings(parseParamString("param=x value0=0 value1=100"), 900);
    EXPECT_EQ(track.start, 300);
    track.evaluate(800);
    EXPECT_EQ(track.current, 50);

    // Words in another case are not mode words.
    track.applySettings(parseParamString("mode=Linear loopmode=Loop"), 900);
    EXPECT_EQ(track.mode, ParamTrack::kLinear);
    EXPECT_EQ(track.loopmode, ParamTrack::kStop);
}

TEST(ParamTrack, ConstantShowsValue0FromTheNextEvaluate) {
    ParamTrack track(7);
    track.applySettings(parseParamString("param=pos1 mode=constant loopmode=stop length=1 value0=-110"), 50);
    EXPECT_EQ(track.current, 7);
    track.evaluate(50);
    EXPECT_EQ(track.current, -110);
}

TEST(ParseParamString, SplitsAtSingleSpaces) {
    const ParamSettings s =
        parseParamString(" \tparam=zoom mode=linear loopmode=stop length=6400 value0=0, value1=4095 \r\n");
    EXPECT_EQ(s.param, "zoom");
    EXPECT_EQ(s.mode, "linear");
    EXPECT_EQ(s.loopmode, "stop");
    EXPECT_EQ(s.length, "6400");
    EXPECT_EQ(s.value0, "0,");
    EXPECT_EQ(s.value1, "4095");
    EXPECT_EQ(parseParamNumber(s.value0), 0);
    EXPECT_EQ(parseParamNumber("4095,"), 4095);

    // Extra spaces change nothing; a later key wins; '=' may appear in values.
    const ParamSettings t = parseParamString("param=a   value0=1  value0=2 value1==3 other=9 bare mode =linear");
    EXPECT_EQ(t.param, "a");
    EXPECT_EQ(t.value0, "2");
    EXPECT_EQ(t.value1, "=3");
    EXPECT_EQ(t.mode, "");
    EXPECT_EQ(t.length, "");
    EXPECT_EQ(parseParamString("").param, "");
}

TEST(ParseParamNumber, ConvertsLikeTheScriptNeeds) {
    EXPECT_EQ(parseParamNumber("-110"), -110);
    EXPECT_EQ(parseParamNumber("  +25x"), 25);
    EXPECT_EQ(parseParamNumber("abc"), 0);
    EXPECT_EQ(parseParamNumber("-"), 0);
    EXPECT_EQ(parseParamNumber("2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(parseParamNumber("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(parseParamNumber("2147483648"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(parseParamNumber("-99999999999999999999999"), std::numeric_limits<int32_t>::min());
}

TEST(ParamTrack, ExtremeValuesStayDefined) {
    // Spans and products beyond 32 bits wrap (linear) or saturate (the
    // floating-point curves) instead of failing. Here the span wraps to -1.
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(valueAt("mode=linear loopmode=continue length=1 value0=-2147483648 value1=2147483647", 2), big - 1);
    for (const char* loop : {"continue", "pingpong"})
        (void)valueAt(std::string("mode=linear length=2000000000 value0=0 value1=2000000000 loopmode=") + loop, big);
    for (const char* mode : {"smooth", "fast", "slow", "sin", "cos"}) {
        for (const char* loop : {"continue", "stop", "loop", "pingpong"}) {
            const std::string s = std::string("mode=") + mode + " loopmode=" + loop +
                                  " length=2147483647 value0=-2147483648 value1=2147483647";
            for (int32_t e : {std::numeric_limits<int32_t>::min(), -1, 0, 1, big}) (void)valueAt(s, e);
        }
    }
}

// Random strings, huge numbers, missing '=', repeated keys: parsing, applying
// and evaluating must stay defined (the sanitizer build checks).
TEST(ParamTrack, SurvivesRandomStrings) {
    std::mt19937 rng(20240501);
    const char* pieces[] = {"param=", "mode=", "loopmode=", "length=", "value0=", "value1=", "linear", "smooth",
                            "fast", "slow", "sin", "cos", "constant", "loop", "pingpong", "continue", "stop",
                            "-", "+", "=", " ", "  ", "\t", ",", "99999999999999999999", "-2147483648",
                            "2147483647", "0", "1", "x"};
    ParamTrack track;
    for (int i = 0; i < 4000; ++i) {
        std::string s;
        const int parts = static_cast<int>(rng() % 12);
        for (int p = 0; p < parts; ++p) {
            if (rng() % 4 == 0) {
                s += static_cast<char>(rng() % 256);
            } else {
                s += pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))];
            }
        }
        const int32_t time = static_cast<int32_t>(rng());
        track.applySettings(parseParamString(s), time);
        EXPECT_GE(track.length, 1);
        EXPECT_GE(track.mode, 0);
        EXPECT_LE(track.mode, 6);
        track.evaluate(static_cast<int32_t>(rng()));
        track.evaluate(time);
    }
}

}  // namespace
