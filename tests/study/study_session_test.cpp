// Study mode's show: every jump lands on the picture the offline render
// makes from that position, steps back and forth give identical frames,
// a pause holds the picture and the music without a jump, and the panel
// reports the tracks as they stand at the frame's time.
#include <gtest/gtest.h>

#include "assets/image.h"
#include "present/blitter.h"
#include "study/study_controls.h"
#include "study/study_panel.h"
#include "study_rig.h"
#include "show/demo_script.h"

namespace {

using namespace studytest;

StudyInput key(StudyKey which) { return {StudyInput::Key, which}; }

// One input taken and done, as the window's loop does between two pictures.
bool press(StudyControls& controls, const StudyInput& input) {
    const bool goOn = controls.apply(input);
    controls.flush();
    return goOn;
}

TEST(StudySession, EveryKindOfJumpLandsOnTheRendersFrameThere) {
    Rig rig({10, 5});
    const SurfaceLayout surface = surfaceLayout(Orientation::Landscape);
    StudyView view(timeline(), demoScript(), surface.width, surface.height);
    StudyControls controls(rig.session, view);
    const int rows9 = timeline().rowsAt(9);
    const struct {
        StudyKey key;
        SongPosition lands;
    } jumps[] = {
        {StudyKey::Left, {9, 0}},    {StudyKey::Right, {11, 0}},   {StudyKey::Up, {9, 5}},
        {StudyKey::Down, {11, 5}},   {StudyKey::PageUp, {9, rows9 - 11}}, {StudyKey::PageDown, {10, 21}},
        {StudyKey::Home, {0, 0}},
    };
    for (const auto& jump : jumps) {
        SCOPED_TRACE(formatSongPosition(jump.lands));
        ASSERT_TRUE(rig.session.jumpTo({10, 5}));
        EXPECT_TRUE(press(controls, key(jump.key)));
        EXPECT_EQ(rig.session.jumpPosition(), jump.lands);
        EXPECT_EQ(rig.session.position(), jump.lands);
        EXPECT_EQ(rig.session.frame(), 0);
        EXPECT_TRUE(rig.session.paused());
        EXPECT_TRUE(rig.frame() == renderedFrame(jump.lands, 0));
    }

    // A click two seconds into the end scene lands on the row playing at
    // the moment under the pointer.
    const int32_t clickMs = timeline().timeAt({32, 0}) + 2000;
    const int x = view.timelineX(clickMs);
    EXPECT_TRUE(press(controls, {StudyInput::Click, StudyKey::Other, false, x, view.layout().timelineTop() + 20}));
    const SongPosition landed = rig.session.jumpPosition();
    EXPECT_EQ(landed.order, 32);
    EXPECT_LE(timeline().timeAt(landed), *view.clickTime(x, view.layout().timelineTop()));
    EXPECT_TRUE(rig.frame() == renderedFrame(landed, 0));
    // A click on the picture pauses and resumes; on the panel, or a drag
    // over the picture, it moves nothing.
    EXPECT_TRUE(press(controls, {StudyInput::Click, StudyKey::Other, false, 5, 5}));
    EXPECT_FALSE(rig.session.paused());
    EXPECT_TRUE(press(controls, {StudyInput::Click, StudyKey::Other, false, 5, 5}));
    EXPECT_TRUE(rig.session.paused());
    EXPECT_TRUE(press(controls, {StudyInput::Click, StudyKey::Other, false, view.layout().width() - 5, 5}));
    EXPECT_TRUE(press(controls, {StudyInput::Drag, StudyKey::Other, false, 5, 5}));
    EXPECT_TRUE(rig.session.paused());
    EXPECT_EQ(rig.session.jumpPosition(), landed);
    // A drag along the timeline jumps once, to where it has got.
    const int timelineY = view.layout().timelineTop() + 20;
    for (const SongPosition at : {SongPosition{11, 0}, SongPosition{13, 0}, SongPosition{18, 0}})
        controls.apply({StudyInput::Drag, StudyKey::Other, false, view.timelineX(timeline().timeAt(at)) + 1, timelineY});
    const long made = rig.session.framesMade();
    controls.flush();
    EXPECT_EQ(rig.session.jumpPosition().order, 18);
    EXPECT_EQ(rig.session.framesMade() - made, 1);
    EXPECT_FALSE(controls.apply(key(StudyKey::Escape)));
    EXPECT_FALSE(controls.apply({StudyInput::Close}));
}

TEST(StudySession, StepsGiveTheRendersFramesAndBackThenOnGivesTheSameFrame) {
    // The fractal zoom, and the water, whose picture builds up frame by frame.
    for (const SongPosition from : {SongPosition{22, 0}, SongPosition{28, 8}}) {
        SCOPED_TRACE(formatSongPosition(from));
        Rig rig(from);
        for (int i = 0; i < 12; ++i) ASSERT_TRUE(rig.session.stepForward());
        const Pixels twelfth = rig.frame();
        EXPECT_TRUE(twelfth == renderedFrame(from, 12));
        EXPECT_EQ(rig.session.timeMs(), timeline().timeAt(from) + 12 * 1000 / 60);

        ASSERT_TRUE(rig.session.stepBack());
        EXPECT_EQ(rig.session.frame(), 11);
        EXPECT_TRUE(rig.frame() == renderedFrame(from, 11));
        EXPECT_FALSE(rig.frame() == twelfth);
        ASSERT_TRUE(rig.session.stepForward());
        EXPECT_TRUE(rig.frame() == twelfth);
    }
    // There is no frame before the jump position.
    Rig atJump({22, 0});
    EXPECT_FALSE(atJump.session.stepBack());
    EXPECT_EQ(atJump.session.frame(), 0);
}

TEST(StudySession, StepKeysStepOnlyWhilePausedAndTheFocusPausesToo) {
    Rig rig({9, 0});
    const SurfaceLayout surface = surfaceLayout(Orientation::Landscape);
    StudyView view(timeline(), demoScript(), surface.width, surface.height);
    StudyControls controls(rig.session, view);
    press(controls, key(StudyKey::Period));
    press(controls, key(StudyKey::Period));
    press(controls, key(StudyKey::Comma));
    EXPECT_EQ(rig.session.frame(), 1);
    press(controls, key(StudyKey::Space));
    EXPECT_FALSE(rig.session.paused());
    press(controls, key(StudyKey::Period));
    EXPECT_EQ(rig.session.frame(), 1);
    // A held Space does not toggle again and again.
    press(controls, {StudyInput::Key, StudyKey::Space, true});
    EXPECT_FALSE(rig.session.paused());

    // Losing the focus pauses; regaining it resumes only what it paused.
    press(controls, {StudyInput::FocusLost});
    EXPECT_TRUE(rig.session.paused());
    press(controls, {StudyInput::FocusGained});
    EXPECT_FALSE(rig.session.paused());
    press(controls, key(StudyKey::Space));
    press(controls, {StudyInput::FocusLost});
    press(controls, {StudyInput::FocusGained});
    EXPECT_TRUE(rig.session.paused());
}

TEST(StudySession, KeysPressedQuicklyAreDoneAtOnce) {
    Rig rig({10, 5});
    const SurfaceLayout surface = surfaceLayout(Orientation::Landscape);
    StudyView view(timeline(), demoScript(), surface.width, surface.height);
    StudyControls controls(rig.session, view);
    for (int i = 0; i < 3; ++i) controls.apply({StudyInput::Key, StudyKey::PageDown, i > 0});
    EXPECT_EQ(rig.session.jumpPosition(), (SongPosition{10, 5}));  // nothing done yet
    controls.flush();
    EXPECT_EQ(rig.session.jumpPosition(), (SongPosition{10, 53}));
    controls.apply(key(StudyKey::Right));
    controls.apply(key(StudyKey::Right));
    controls.flush();
    EXPECT_EQ(rig.session.jumpPosition(), (SongPosition{13, 0}));

    for (int i = 0; i < 9; ++i) press(controls, key(StudyKey::Period));
    for (int i = 0; i < 5; ++i) controls.apply(key(StudyKey::Comma));
    controls.flush();
    EXPECT_EQ(rig.session.frame(), 4);
    EXPECT_TRUE(rig.frame() == renderedFrame({13, 0}, 4));
    // Escape ends without doing what was gathered.
    controls.apply(key(StudyKey::Home));
    EXPECT_FALSE(controls.apply(key(StudyKey::Escape)));
    EXPECT_EQ(rig.session.jumpPosition(), (SongPosition{13, 0}));
}

TEST(StudySession, APauseOfFiveSecondsHoldsPictureAndMusicWithoutAJump) {
    Rig rig({9, 0});
    rig.session.setPaused(false);
    rig.clock.now += 500;
    rig.session.update();
    rig.session.update();  // at most a few frames per update: catching up takes two
    rig.session.update();
    rig.session.update();
    EXPECT_EQ(rig.session.frame(), 30);
    const SongPosition before = rig.session.position();
    const int32_t timeBefore = rig.session.timeMs();

    rig.sound.cues.clear();
    rig.session.setPaused(true);
    rig.clock.now += 5000;
    rig.session.update();
    EXPECT_EQ(rig.session.frame(), 30);
    rig.session.setPaused(false);
    rig.clock.now += 17;
    rig.session.update();
    EXPECT_EQ(rig.session.frame(), 31);
    EXPECT_EQ(rig.session.timeMs(), timeBefore + 16);  // frame 31 at 31 * 1000 / 60 ms
    EXPECT_GE(rig.session.position(), before);
    EXPECT_LE(rig.session.position().row, before.row + 1);
    // The music held and went on from the frame shown.
    EXPECT_EQ(rig.sound.cues, (std::vector<std::string>{"pause", "play 9:0 +0.500 near " + formatSongPosition(before),
                                                         "resume"}));
}

TEST(StudySession, TheMusicFollowsEveryJumpAndStep) {
    Rig rig({9, 0});
    rig.sound.cues.clear();
    rig.session.jumpTo({13, 0});  // paused: the music waits
    EXPECT_TRUE(rig.sound.cues.empty());
    for (int i = 0; i < 6; ++i) rig.session.stepForward();
    rig.session.setPaused(false);
    const std::string near = formatSongPosition(rig.session.position());
    EXPECT_EQ(rig.sound.cues, (std::vector<std::string>{"play 13:0 +0.100 near " + near, "resume"}));
    rig.sound.cues.clear();
    rig.session.jumpTo({20, 16});  // playing: the music jumps along
    EXPECT_EQ(rig.sound.cues, (std::vector<std::string>{"play 20:16 +0.000 near 20:16", "resume"}));
}

TEST(StudySession, PausesAtTheEndOfTheShow) {
    Rig rig({34, timeline().rowsAt(34) - 2});
    rig.session.setPaused(false);
    for (int i = 0; i < 200 && !rig.session.paused(); ++i) {
        rig.clock.now += 100;
        rig.session.update();
    }
    EXPECT_TRUE(rig.session.paused());
    EXPECT_TRUE(rig.session.ended());
    EXPECT_FALSE(rig.session.stepForward());
    rig.session.setPaused(false);  // nothing left to play
    EXPECT_TRUE(rig.session.paused());
    // Stepped back from the end, it plays the kept frames to the end again.
    const long last = rig.session.frame();
    ASSERT_TRUE(rig.session.stepBack(10));
    EXPECT_FALSE(rig.session.ended());
    rig.session.setPaused(false);
    EXPECT_FALSE(rig.session.paused());
    for (int i = 0; i < 10 && !rig.session.paused(); ++i) {
        rig.clock.now += 100;
        rig.session.update();
    }
    EXPECT_TRUE(rig.session.paused());
    EXPECT_TRUE(rig.session.ended());
    EXPECT_EQ(rig.session.frame(), last);
    // Jumping back starts the show again.
    EXPECT_TRUE(rig.session.jumpTo({33, 0}));
    EXPECT_FALSE(rig.session.ended());
    EXPECT_TRUE(rig.session.stepForward());
}

TEST(StudyPanel, TrackValuesAreTheTracksOwnAtTheFramesTime) {
    for (const SongPosition from : {SongPosition{9, 100}, SongPosition{22, 0}, SongPosition{32, 40}}) {
        SCOPED_TRACE(formatSongPosition(from));
        Rig rig(from);
        for (int i = 0; i < 40; ++i) {
            const StudyPanel panel = describeFrame(rig.session);
            Effect* effect = rig.session.demo()->currentEffect();
            ASSERT_NE(effect, nullptr);
            EXPECT_EQ(rig.session.demo()->find(panel.effect), effect);
            const TrackList tracks = effect->tracks();
            ASSERT_EQ(panel.tracks.size(), tracks.size());
            // The effect evaluated its tracks for the frame it drew; the
            // blitter its control.
            for (std::size_t t = 0; t < tracks.size(); ++t) {
                EXPECT_EQ(panel.tracks[t].name, tracks[t].name);
                EXPECT_EQ(panel.tracks[t].value, tracks[t].track->current) << tracks[t].name << " frame " << i;
            }
            const auto* blitter = dynamic_cast<Blitter*>(rig.session.demo()->find("blitter"));
            EXPECT_EQ(panel.control, blitter->control.current);
            rig.session.stepForward();
        }
    }
}

TEST(StudyPanel, NamesTheRowsThatRanLast) {
    Rig rig({9, 0});
    StudyPanel panel = describeFrame(rig.session);
    ASSERT_EQ(panel.rows.size(), StudySession::kFiredRowsKept);
    EXPECT_EQ(panel.rows.back(), "9:0 blitter control linear 800 1024>256");
    EXPECT_NE(std::find(panel.rows.begin(), panel.rows.end(), "9:0 demosys seteffect tunnelefu"), panel.rows.end());
    EXPECT_EQ(panel.effect, "tunnelefu");
    EXPECT_EQ(panel.blitMode, "mul");
    EXPECT_EQ(panel.control, 1024);
    // Numbers as the track reads them: the script's "value0=0," is 0.
    const auto zoom = std::find_if(demoScript().begin(), demoScript().end(), [](const ScriptEntry& e) {
        return std::string_view(e.target) == "fractalefu" && e.position() == SongPosition{22, 0};
    });
    ASSERT_NE(zoom, demoScript().end());
    EXPECT_EQ(describeRow(*zoom), "22:0 fractalefu zoom linear 6400 0>4095");
    // From the very start nothing has run before the first frame's rows.
    Rig start({0, 0});
    panel = describeFrame(start.session);
    EXPECT_LE(panel.rows.size(), StudySession::kFiredRowsKept);
    EXPECT_EQ(panel.rows.front(), "0:0 blitter setmode motionblur");
}

// A script that initialises and deinitialises the water thousands of times
// at the start: its pictures are decoded once for the whole run, and the
// window's interrupt (Escape) is asked while those rows run, before the
// jump's first frame or within it, and ends them there.
TEST(StudySession, AHeavyScriptDecodesOnceAndGivesWayToEscape) {
    std::vector<ScriptEntry> script;
    for (int i = 0; i < 2000; ++i) {
        script.push_back({0, 0, "demosys", "init", "vesiefu"});
        script.push_back({0, 0, "demosys", "deinit", "vesiefu"});
    }
    script.insert(script.end(), demoScript().begin(), demoScript().end());
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    StudySession session(builtInShow().withScript(script), timeline(), Orientation::Landscape, clock, dialogs);
    session.setPaused(true);
    ASSERT_TRUE(session.jumpTo({1, 0}));
    const long decoded = Image::decodeCount();
    ASSERT_TRUE(session.jumpTo({1, 0}));
    EXPECT_EQ(Image::decodeCount(), decoded);

    for (const SongPosition at : {SongPosition{1, 0}, SongPosition{0, 0}}) {
        int asked = 0;
        session.setInterruptCheck([&] { return ++asked > 0; });
        EXPECT_FALSE(session.jumpTo(at)) << formatSongPosition(at);
        EXPECT_GT(asked, 0) << formatSongPosition(at);
    }
}

}  // namespace
