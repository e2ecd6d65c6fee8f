#include "show/demo_script.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "anim/param_track.h"
#include "support/fakes.h"

namespace {

TEST(DemoScript, HasItsRowsInPositionOrder) {
    ASSERT_EQ(DemoScriptRowCount, 185);
    ASSERT_EQ(demoScript().size(), 185u);
    for (int i = 1; i < DemoScriptRowCount; ++i) {
        const ScriptEntry& a = DemoScript[i - 1];
        const ScriptEntry& b = DemoScript[i];
        EXPECT_TRUE(a.position() <= b.position()) << "row " << i;
    }
}

void expectRow(int index, int order, int row, const char* target, const char* command, const char* argument) {
    const ScriptEntry& e = DemoScript[index];
    EXPECT_EQ(e.order, order) << index;
    EXPECT_EQ(e.row, row) << index;
    EXPECT_STREQ(e.target, target) << index;
    EXPECT_STREQ(e.command, command) << index;
    if (argument) {
        EXPECT_STREQ(e.argument, argument) << index;
    } else {
        EXPECT_EQ(e.argument, nullptr) << index;
    }
}

TEST(DemoScript, KeepsTheLiteralRows) {
    expectRow(0, 0, 0, "blitter", "setmode", "motionblur");
    expectRow(86, 22, 0, "fractalefu", "setparam",
              "param=zoom mode=linear loopmode=stop length=6400 value0=0, value1=4095");
    expectRow(88, 23, 0, "fractalefu", "setparam",
              "param=zoom mode=linear loopmode=stop length=6400 value0=4095, value1=0");
    expectRow(103, 26, 0, "spriteefu", "setparam", "param=mode mode=constant loopmode=stop length=1 value0=0");
    expectRow(104, 26, 0, "spriteefu", "setparam", "param=len1 mode=constant loopmode=stop length=1 value0=0");
    expectRow(110, 26, 4, "spriteefu", "setparam", "param=len1 mode=constant loopmode=stop length=1 value0=5");
    expectRow(128, 26, 120, "spriteefu", "setparam", "param=len6 mode=constant loopmode=stop length=1 value0=20");
    expectRow(131, 27, 0, "spriteefu", "setparam", "param=pump mode=linear loopmode=continue length=1600 value0=0 value1=1024");
    expectRow(138, 27, 4, "spriteefu", "setparam", "param=len1 mode=constant loopmode=stop length=1 value0=4");
    expectRow(156, 27, 120, "spriteefu", "setparam", "param=len6 mode=constant loopmode=stop length=1 value0=23");
    expectRow(157, 28, 0, "demosys", "seteffect", "vesiefu");
    expectRow(184, 35, 0, "demosys", "stop", nullptr);
}

// Every row speaks the script's vocabulary, so no row is silently lost to a typo.
TEST(DemoScript, UsesOnlyTheVocabulary) {
    const auto& names = fakes::showEffectNames();
    const std::set<std::string> effects(names.begin(), names.end());
    const std::set<std::string> modes = {"normal", "inverse", "mul", "motionblur"};
    for (int i = 0; i < DemoScriptRowCount; ++i) {
        const ScriptEntry& e = DemoScript[i];
        const std::string target = e.target, command = e.command;
        if (target == "demosys") {
            if (command == "stop") continue;
            EXPECT_TRUE(command == "init" || command == "deinit" || command == "seteffect") << i;
            EXPECT_TRUE(effects.count(e.argument)) << i;
        } else if (target == "blitter" && command == "setmode") {
            EXPECT_TRUE(modes.count(e.argument)) << i;
        } else {
            EXPECT_TRUE(target == "blitter" || effects.count(target)) << i;
            ASSERT_EQ(command, "setparam") << i;
            const ParamSettings s = parseParamString(e.argument);
            EXPECT_FALSE(s.param.empty()) << i;
            if (target == "blitter") {
                EXPECT_EQ(s.param, "control") << i;
            }
            EXPECT_FALSE(s.length.empty()) << i;
        }
    }
}

}  // namespace
