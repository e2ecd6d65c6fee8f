// Scripts at the edges of what the checks let pass: every track of every
// effect, and the blitter's, driven to the ends of the 32-bit range in each
// curve, and thousands of rows at one position. The show plays them (in the
// asan build: without undefined behaviour) and ends each frame.
#include <gtest/gtest.h>

#include <string>

#include "app/offline_show.h"
#include "app/script_check.h"
#include "effects/catalogue.h"
#include "support/fakes.h"

namespace {

SongTimeline& songTimeline() {
    static SongTimeline timeline;
    static const bool loaded = timeline.loadShowModule();
    EXPECT_TRUE(loaded);
    return timeline;
}

// Plays `frames` frames of the script from its start, which must pass the checks.
void play(const std::string& text, int frames) {
    ScriptTable table;
    ScriptProblems problems;
    ASSERT_TRUE(loadScriptText(text, songTimeline(), table, problems)) << problemReport("script", problems);
    fakes::FakeDialogs dialogs;
    OfflineSettings settings;
    settings.endMs = 1000 * frames / settings.fps;
    settings.script = table.rows();
    OfflineShow show(settings, dialogs);
    ASSERT_TRUE(show.start());
    int made = 0;
    while (show.nextFrame()) ++made;
    show.finish();
    EXPECT_EQ(made, frames);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(ScriptExtremes, EveryTrackAtTheEndsOfItsRangePlays) {
    const char* const curves[] = {"linear", "smooth", "fast", "slow", "sin", "cos", "constant"};
    const char* const loops[] = {"continue", "stop", "loop", "pingpong"};
    const char* const modes[] = {"normal", "inverse", "mul", "motionblur"};
    for (int turn = 0; turn < 2; ++turn) {
        const std::string low = turn == 0 ? "-2147483648" : "2147483647";
        const std::string high = turn == 0 ? "2147483647" : "-2147483648";
        const std::string length = turn == 0 ? "1" : "2147483647";
        int k = 0;
        for (const EffectMaker& maker : effectCatalogue()) {
            SCOPED_TRACE(maker.name + " turn " + std::to_string(turn));
            std::string text = "0:0 blitter setmode " + std::string(modes[(k + turn) % 4]) + "\n";
            text += "0:0 blitter setparam \"param=control mode=" + std::string(curves[k % 7]) + " loopmode=" +
                    loops[k % 4] + " length=" + length + " value0=" + low + " value1=" + high + "\"\n";
            text += "0:0 demosys seteffect " + maker.name + "\n";
            int j = k;
            for (const NamedTrack& track : maker.create()->tracks()) {
                ++j;
                text += "0:0 " + maker.name + " setparam \"param=" + std::string(track.name) + " mode=" +
                        curves[j % 7] + " loopmode=" + loops[j % 4] + " length=" + length + " value0=" + low +
                        " value1=" + high + "\"\n";
            }
            text += "35:0 demosys stop\n";
            play(text, 6);
            ++k;
        }
    }
}

TEST(ScriptExtremes, ThousandsOfRowsAtOnePositionRunInOneFrame) {
    std::string text = "0:0 demosys seteffect tunnelefu\n0:0 blitter setmode mul\n";
    for (int i = 0; i < 20000; ++i)
        text += "0:0 blitter setparam \"param=control mode=linear length=" + std::to_string(i + 1) +
                " value0=" + std::to_string(i) + " value1=256\"\n";
    text += "35:0 demosys stop\n";
    play(text, 3);
}

}  // namespace
