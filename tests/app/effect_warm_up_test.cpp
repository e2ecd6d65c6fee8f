// The warm-up initialises and frees fresh copies of a show's effects, the
// ones its script names first, then the rest, each once.

#include <gtest/gtest.h>

#include "app/effect_warm_up.h"
#include "support/fakes.h"

using namespace fakes;

TEST(EffectWarmUp, WarmsEachEffectOnceInTheOrderTheScriptNeedsThem) {
    std::map<std::string, EffectRecord> records;
    CallLog log;
    const std::vector<EffectMaker> effects = fakeEffects({"first", "second", "third"}, records, &log);
    const ScriptEntry script[] = {{0, 0, "blitter", "setparam", ""},
                                  {0, 4, "third", "init", ""},
                                  {1, 0, "second", "init", ""},
                                  {2, 0, "third", "deinit", ""},
                                  {3, 0, "system", "stop", nullptr}};
    ShowDefinition show;
    show.script = script;
    show.effects = &effects;
    EffectWarmUp warmUp(show);
    int steps = 1;
    while (warmUp.step()) ++steps;
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(warmUp.done());
    EXPECT_FALSE(warmUp.step());
    EXPECT_EQ(log.calls, (std::vector<std::string>{"init third", "deinit third", "init second", "deinit second",
                                                   "init first", "deinit first"}));
    for (const auto& [name, record] : records) EXPECT_TRUE(record.deleted) << name;
}
