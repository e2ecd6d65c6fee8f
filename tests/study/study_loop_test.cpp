// Study mode always answers: Escape ends it at once even while a step back
// replays, inputs given during a replay are done after it, steps back among
// the frames kept show the replay's identical frames without one, and the
// panel is drawn again when the show pauses at its end.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "study/study_loop.h"
#include "study_rig.h"
#include "show/demo_script.h"

namespace {

using namespace studytest;

StudyInput key(StudyKey which) { return {StudyInput::Key, which}; }

// Hands out its inputs in batches: each batch is read until the window
// says there is no more, then the next one; after the last, Escape. Each
// picture shown moves the clock on by `msPerShow`.
class ScriptedWindow : public StudyWindow {
public:
    ScriptedWindow(fakes::FakeClock& clock, std::vector<std::vector<StudyInput>> batches, uint32_t msPerShow = 0)
        : clock_(clock), batches_(batches.begin(), batches.end()), msPerShow_(msPerShow) {}

    void show(const uint32_t* pixels, int width, int height) override {
        lastShown.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
        ++shows;
        clock_.now += msPerShow_;
    }
    bool pollInput(StudyInput& input) override {
        ++polls;
        if (batches_.empty()) {
            input = key(StudyKey::Escape);
            return true;
        }
        if (batches_.front().empty()) {
            batches_.pop_front();
            return false;
        }
        input = batches_.front().front();
        batches_.front().erase(batches_.front().begin());
        return true;
    }
    void waitForInput(int) override { ++waits; }

    std::vector<uint32_t> lastShown;
    int shows = 0, polls = 0, waits = 0;

private:
    fakes::FakeClock& clock_;
    std::deque<std::vector<StudyInput>> batches_;
    uint32_t msPerShow_;
};

StudyView viewFor(Orientation orientation = Orientation::Landscape) {
    const SurfaceLayout surface = surfaceLayout(orientation);
    return StudyView(timeline(), demoScript(), surface.width, surface.height);
}

// Paused at 9:0, 20 frames on, keeping only 4: ten steps back replay.
struct ReplayRig : Rig {
    ReplayRig() : Rig({9, 0}) {
        session.setHistoryFrames(4);
        for (int i = 0; i < 20; ++i) EXPECT_TRUE(session.stepForward());
    }
};

TEST(StudyLoop, EscapeEndsAStepBackWhileItReplays) {
    ReplayRig rig;
    StudyView view = viewFor();
    ScriptedWindow window(rig.clock, {std::vector<StudyInput>(10, key(StudyKey::Comma))});
    const long before = rig.session.framesMade();
    runStudyLoop(rig.session, view, window);
    // The replay (from the state kept at the jump) stopped at its first
    // look at the window.
    EXPECT_EQ(rig.session.framesMade() - before, StudySession::kFramesBetweenChecks);
    EXPECT_LT(rig.session.frame(), 10);
}

TEST(StudyLoop, InputsDuringAReplayAreDoneAfterIt) {
    ReplayRig rig;
    StudyView view = viewFor();
    // The period comes while the ten steps back replay (one look at the
    // window in ten frames), and steps on from frame 10 after it.
    ScriptedWindow window(rig.clock, {std::vector<StudyInput>(10, key(StudyKey::Comma)), {key(StudyKey::Period)}});
    runStudyLoop(rig.session, view, window);
    EXPECT_EQ(rig.session.frame(), 11);
    EXPECT_TRUE(rig.frame() == renderedFrame({9, 0}, 11));
}

TEST(StudyLoop, StepsBackAmongTheKeptFramesReplayNothing) {
    Rig rig({28, 8});  // the water, built up frame by frame
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(rig.session.stepForward());
    const long made = rig.session.framesMade();
    ASSERT_TRUE(rig.session.stepBack(25));
    EXPECT_EQ(rig.session.frame(), 5);
    EXPECT_TRUE(rig.frame() == renderedFrame({28, 8}, 5));
    EXPECT_EQ(rig.session.timeMs(), timeline().timeAt({28, 8}) + 5 * 1000 / 60);
    // Steps on and the play that follows show the kept frames up to the
    // newest, then make new ones.
    ASSERT_TRUE(rig.session.stepForward());
    EXPECT_TRUE(rig.frame() == renderedFrame({28, 8}, 6));
    EXPECT_FALSE(rig.session.ended());
    rig.session.setPaused(false);
    for (int i = 0; i < 10; ++i) {
        rig.clock.now += 100;
        rig.session.update();
    }
    EXPECT_EQ(rig.session.frame(), 66);
    EXPECT_EQ(rig.session.framesMade(), made + 36);
    EXPECT_TRUE(rig.frame() == renderedFrame({28, 8}, 66));
}

TEST(StudyLoop, ThePanelIsDrawnAgainWhenTheShowEnds) {
    Rig rig({34, timeline().rowsAt(34) - 2});
    StudyView view = viewFor();
    // Space plays; every picture moves the clock 100 ms on.
    ScriptedWindow window(rig.clock, {{key(StudyKey::Space)}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}}, 100);
    runStudyLoop(rig.session, view, window);
    ASSERT_TRUE(rig.session.ended());
    ASSERT_TRUE(rig.session.paused());
    view.draw(rig.session);  // ENDED
    EXPECT_TRUE(window.lastShown == view.canvas().pixels) << "the window still shows the panel of a playing show";
}

}  // namespace
