// The running show: frame dispatch, the "demosys" commands, pause and
// resume, its state saved and put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/demo_system.h"
#include "support/fakes.h"
#include "show/demo_script.h"

namespace {

using fakes::FakeShow;

class RunningShow : public ::testing::Test {
protected:
    // Loads and starts a show with fake effects "a" and "b" over script.
    void startWith(std::span<const ScriptEntry> script) {
        demo = show.makeDemo({"a", "b"}, script);
        ASSERT_TRUE(demo->loadAll());
        ASSERT_TRUE(demo->start());
        show.log.calls.clear();
    }
    // Runs one frame at the given music position and clock time.
    void frameAt(int order, int row, uint32_t now) {
        show.music.setPosition(order, row);
        show.clock.now = now;
        demo->frame();
    }
    bool logged(const std::string& call) const {
        const auto& calls = show.log.calls;
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    FakeShow show;
    std::unique_ptr<DemoSystem> demo;
};

TEST_F(RunningShow, FirstFrameRunsTheRowsAtTheStart) {
    startWith(demoScript());
    frameAt(0, 0, 0);
    EXPECT_EQ(demo->scriptCursor(), 2);
    EXPECT_EQ(show.presenter.commands,
              (std::vector<std::string>{"setmode motionblur @0",
                                        "setparam param=control mode=slow loopmode=stop length=1500 value0=256 value1=0 @0"}));
    // No effect is current yet, but the blitter presents every frame.
    EXPECT_EQ(demo->currentEffect(), nullptr);
    EXPECT_EQ(show.presenter.presents, 1);
    EXPECT_EQ(show.presenter.updates, (std::vector<int32_t>{0}));
}

const ScriptEntry kJumpScript[] = {
    {3, 10, "a", "setparam", "r0"}, {3, 11, "a", "setparam", "r1"}, {3, 40, "nobody", "setparam", "r2"},
    {4, 0, "a", "setparam", "r3"},  {4, 2, "a", "setparam", "r4"},  {4, 3, "a", "setparam", "r5"},
};

TEST_F(RunningShow, AJumpInTheMusicRunsEveryRowPassedWithOneTime) {
    startWith(kJumpScript);
    frameAt(3, 10, 100);
    frameAt(4, 2, 250);
    // The unregistered target is skipped but passed; (4, 3) is not due yet.
    EXPECT_EQ(show.effects["a"].commands,
              (std::vector<std::string>{"setparam r0 @100", "setparam r1 @250", "setparam r3 @250", "setparam r4 @250"}));
    EXPECT_EQ(demo->scriptCursor(), 5);
    frameAt(4, 3, 300);
    EXPECT_EQ(show.effects["a"].commands.back(), "setparam r5 @300");
}

TEST_F(RunningShow, AFinishedSongEndsTheShowBeforeAnyRow) {
    startWith(kJumpScript);
    show.music.finished = true;
    frameAt(5, 0, 100);
    EXPECT_TRUE(show.effects["a"].commands.empty());
    EXPECT_EQ(demo->scriptCursor(), 0);
    EXPECT_TRUE(demo->isShutDown());
    EXPECT_EQ(show.window.closeCalls, 1);
    EXPECT_EQ(show.presenter.presents, 0);
}

const ScriptEntry kStopScript[] = {
    {0, 0, "demosys", "seteffect", "a"},
    {1, 0, "demosys", "stop", nullptr},
    {1, 0, "a", "setparam", "late"},
};

TEST_F(RunningShow, NothingIsDrawnAfterStop) {
    startWith(kStopScript);
    frameAt(0, 0, 10);
    EXPECT_EQ(show.log.calls, (std::vector<std::string>{"init a", "render a @10", "update @10", "present"}));
    show.log.calls.clear();
    frameAt(1, 0, 20);
    EXPECT_FALSE(demo->running());
    EXPECT_EQ(show.effects["a"].renders, 1);
    EXPECT_EQ(show.presenter.presents, 1);
    EXPECT_EQ(show.log.calls,
              (std::vector<std::string>{"free song", "close player", "deinit a", "release font", "close window"}));
    frameAt(2, 0, 30);  // later frames return at once
    EXPECT_EQ(show.presenter.presents, 1);
}

TEST_F(RunningShow, SetEffectInitialisesOnlyWhenNeeded) {
    startWith(demoScript());
    demo->handleCommand(0, "init", "a");
    EXPECT_EQ(show.effects["a"].inits, 1);
    EXPECT_EQ(demo->currentEffect(), nullptr);  // "init" does not make it current

    demo->handleCommand(0, "seteffect", "a");
    EXPECT_EQ(show.effects["a"].inits, 1);
    EXPECT_EQ(demo->currentEffect(), demo->find("a"));

    demo->handleCommand(0, "seteffect", "b");
    EXPECT_EQ(show.effects["b"].inits, 1);
    EXPECT_EQ(demo->currentEffect(), demo->find("b"));

    // Unknown names, and targets that are not effects, leave nothing current.
    demo->handleCommand(0, "seteffect", "blitter");
    EXPECT_EQ(demo->currentEffect(), nullptr);
    demo->handleCommand(0, "seteffect", "b");
    demo->handleCommand(0, "seteffect", "nothere");
    EXPECT_EQ(demo->currentEffect(), nullptr);
    frameAt(0, 0, 5);
    EXPECT_EQ(show.presenter.presents, 1);

    // Unknown commands and names are ignored.
    demo->handleCommand(0, "init", "nothere");
    demo->handleCommand(0, "deinit", "nothere");
    demo->handleCommand(0, "Stop", "");
    EXPECT_TRUE(demo->running());
    EXPECT_TRUE(show.dialogs.messages.empty());
}

TEST_F(RunningShow, ADeinitialisedCurrentEffectKeepsRendering) {
    startWith(demoScript());
    demo->handleCommand(0, "seteffect", "a");
    demo->handleCommand(0, "deinit", "a");
    EXPECT_EQ(show.effects["a"].deinits, 1);
    EXPECT_EQ(demo->currentEffect(), demo->find("a"));
    frameAt(0, 0, 40);
    // The effect initialises itself again when rendered.
    EXPECT_EQ(show.effects["a"].inits, 2);
    EXPECT_EQ(show.effects["a"].renders, 1);
}

TEST(FailedInit, ShowsTheMessageAndEndsTheShow) {
    for (const char* command : {"seteffect", "init"}) {
        SCOPED_TRACE(command);
        FakeShow show;
        auto demo = show.makeDemo({"a", "b"}, demoScript());
        ASSERT_TRUE(demo->loadAll() && demo->start());
        show.effects["b"].initResult = false;
        demo->handleCommand(0, "seteffect", "a");
        demo->handleCommand(0, command, "b");
        EXPECT_EQ(show.dialogs.messages, (std::vector<std::string>{"Initializing effect failed."}));
        EXPECT_TRUE(demo->isShutDown());
        EXPECT_EQ(demo->currentEffect(), nullptr);
        EXPECT_EQ(show.window.closeCalls, 1);
        EXPECT_TRUE(show.effects["a"].deleted);
    }
}

TEST_F(RunningShow, PausedTimeIsLeftOut) {
    startWith(demoScript());
    show.clock.now = 1000;
    frameAt(0, 0, 1000);
    demo->pause();
    EXPECT_FALSE(demo->running());
    EXPECT_EQ(show.music.pauseCalls, (std::vector<bool>{true}));
    frameAt(0, 0, 3000);  // frames while paused do nothing
    EXPECT_EQ(show.presenter.presents, 1);
    show.clock.now = 6000;
    demo->resume();
    EXPECT_EQ(show.music.pauseCalls, (std::vector<bool>{true, false}));
    frameAt(0, 0, 6000);
    EXPECT_EQ(show.presenter.updates, (std::vector<int32_t>{1000, 1000}));

    // A second focus loss before the focus comes back keeps the first pause's start.
    show.clock.now = 6100;
    demo->pause();
    show.clock.now = 6500;
    demo->pause();
    show.clock.now = 7000;
    demo->resume();
    demo->resume();
    frameAt(0, 0, 7000);
    EXPECT_EQ(show.presenter.updates.back(), 1100);
}

// The tick count wraps after 49.7 days; the frame time does not notice.
TEST_F(RunningShow, TheFrameTimeCarriesOnAcrossTheTickWrap) {
    show.clock.now = 0xFFFFFF00u;
    startWith(demoScript());
    frameAt(0, 0, 0x100u);
    show.clock.now = 0x200u;
    demo->pause();
    show.clock.now = 0x1200u;
    demo->resume();
    frameAt(0, 0, 0x1300u);
    EXPECT_EQ(show.presenter.updates, (std::vector<int32_t>{0x200, 0x400}));
}

TEST_F(RunningShow, PauseAndResumeDoNothingAfterShutdown) {
    startWith(demoScript());
    demo->shutdown();
    demo->pause();
    demo->resume();
    EXPECT_TRUE(show.music.pauseCalls.empty());
    EXPECT_FALSE(demo->running());
}

const ScriptEntry kSwapScript[] = {
    {0, 0, "demosys", "seteffect", "a"}, {1, 0, "demosys", "deinit", "a"},
    {1, 0, "demosys", "seteffect", "b"}, {2, 0, "demosys", "stop", nullptr},
};

TEST_F(RunningShow, ASavedStateIsPutBackUntilTheShowShutsDown) {
    startWith(kSwapScript);
    frameAt(0, 0, 0);
    frameAt(0, 1, 20);
    const DemoSnapshot saved = demo->snapshot();
    frameAt(1, 0, 40);
    ASSERT_EQ(demo->currentEffect(), demo->find("b"));
    ASSERT_EQ(demo->backBuffer()[0], 1);  // b's first render

    ASSERT_TRUE(demo->restore(saved));
    EXPECT_EQ(demo->scriptCursor(), 1);
    EXPECT_EQ(demo->currentEffect(), demo->find("a"));
    EXPECT_EQ(demo->backBuffer()[kScreenPixels - 1], 2);  // a's second render
    // Each effect initialised as it was: a again, b no longer.
    EXPECT_EQ(show.effects["a"].inits, 2);
    EXPECT_EQ(show.effects["b"].deinits, 1);
    frameAt(1, 0, 40);  // the swap's rows run again
    EXPECT_EQ(demo->currentEffect(), demo->find("b"));
    EXPECT_EQ(show.effects["a"].deinits, 2);

    frameAt(2, 0, 60);
    ASSERT_TRUE(demo->isShutDown());
    EXPECT_FALSE(demo->restore(saved));  // its effects are gone
    EXPECT_TRUE(demo->snapshot().backBuffer.empty());
}

}  // namespace

namespace {

const ScriptEntry kLateDataScript[] = {
    {0, 0, "demosys", "init", "a"},
    {1, 0, "demosys", "seteffect", "a"},
};

// Data that arrives while the show plays: an "init" row leaves the effect
// for later instead of failing (which would end the show), and a frame the
// gate holds runs no row and draws nothing until the data is there.
TEST_F(RunningShow, LateDataHoldsTheFrameAndLeavesTheInitForLater) {
    startWith(kLateDataScript);
    bool arrived = false;
    demo->setDataMissing([&](const std::string&) { return !arrived; });
    demo->setFrameGate([&](SongPosition now) { return arrived || now < SongPosition{1, 0}; });
    frameAt(0, 0, 0);
    EXPECT_EQ(show.effects["a"].inits, 0);
    EXPECT_FALSE(demo->isShutDown());
    frameAt(1, 0, 100);
    EXPECT_TRUE(demo->heldForData());
    EXPECT_EQ(demo->scriptCursor(), 1);
    EXPECT_EQ(show.presenter.presents, 1);
    arrived = true;
    frameAt(1, 0, 200);
    EXPECT_FALSE(demo->heldForData());
    EXPECT_EQ(show.effects["a"].inits, 1);
    EXPECT_EQ(show.effects["a"].renderTimes, (std::vector<int32_t>{200}));
}

}  // namespace
