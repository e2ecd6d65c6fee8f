// Every effect of the catalogue through the life the script gives it:
// load, init, render, deinit, render (which initialises it again), deinit.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/font.h"
#include "show/catalogue.h"
#include "present/blitter.h"
#include "render/grid_tables.h"
#include "support/fakes.h"

namespace {

class Catalogue : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(loadFont());
        buildGridTables();
    }
    static void TearDownTestSuite() { releaseFont(); }
};

TEST_F(Catalogue, NamesFollowTheRegistryOrder) {
    const std::vector<std::string> registry = {"worldefu", "muljuefu", "tunnelefu", "tolppaefu", "voxelefu",
                                               "spriteefu", "vesiefu", "fractalefu", "magnetefu", "logoefu",
                                               "venkuefu", "loppuefu", "holeefu"};
    size_t next = 0;
    for (const EffectMaker& entry : effectCatalogue()) {
        while (next < registry.size() && registry[next] != entry.name) ++next;
        ASSERT_LT(next, registry.size()) << entry.name << " is out of order or unknown";
        ++next;
    }
}

TEST_F(Catalogue, EveryEffectSurvivesInitDeinitAndRenderingAfterDeinit) {
    for (const EffectMaker& entry : effectCatalogue()) {
        SCOPED_TRACE(entry.name);
        std::unique_ptr<Effect> effect = entry.create();
        ASSERT_FALSE(effect->initialised);
        ASSERT_TRUE(effect->load());
        ASSERT_TRUE(effect->init());
        ASSERT_TRUE(effect->initialised);
        ASSERT_TRUE(effect->init());  // a second init is a no-op

        std::vector<uint16_t> first(kScreenPixels, 0x5A5A), second(kScreenPixels, 0x5A5A);
        effect->render(1000, first.data());
        EXPECT_NE(first, std::vector<uint16_t>(kScreenPixels, 0x5A5A));

        effect->deinit();
        EXPECT_FALSE(effect->initialised);
        effect->deinit();  // nothing left to free
        effect->render(1000, second.data());
        EXPECT_TRUE(effect->initialised);
        EXPECT_EQ(first, second);  // the same frame after reloading everything
        effect->deinit();
    }
}

// "setparam" with each listed name reaches that name's own track; a name no
// track has, and any other command, change no track.
void expectTracksAnswerByName(CommandTarget& target, const TrackList& tracks) {
    const auto setting = [](std::string_view name, int value) {
        return "param=" + std::string(name) + " mode=constant loopmode=stop length=1 value0=" + std::to_string(value);
    };
    for (size_t n = 0; n < tracks.size(); ++n) {
        target.handleCommand(0, "setparam", setting(tracks[n].name, 1000 + static_cast<int>(n)));
        for (const char* other : {"init", "seteffect", "setmode", "Setparam", "setparam "})
            target.handleCommand(0, other, setting(tracks[n].name, 7));
    }
    target.handleCommand(0, "setparam", setting("nosuchtrack", 7));
    target.handleCommand(0, "setparam", setting("", 7));
    for (size_t n = 0; n < tracks.size(); ++n) {
        SCOPED_TRACE(std::string(tracks[n].name));
        tracks[n].track->evaluate(10);
        EXPECT_EQ(tracks[n].track->current, 1000 + static_cast<int>(n));
    }
}

TEST(ScriptTargets, EveryListedTrackAnswersToItsOwnNameOnly) {
    for (const EffectMaker& entry : effectCatalogue()) {
        SCOPED_TRACE(entry.name);
        std::unique_ptr<Effect> effect = entry.create();
        expectTracksAnswerByName(*effect, effect->tracks());
    }
    fakes::FakeDisplay display(2, 480);
    Blitter blitter(display);
    expectTracksAnswerByName(blitter, blitter.tracks());
}

}  // namespace
