// The application shell with a stand-in show: loading, the event loop, the
// reactions to keys, the close button and focus changes, and exit status.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/demo_app.h"
#include "app/loading_dialog.h"
#include "fake_screen.h"
#include "support/fakes.h"

namespace {

// Two effects and a script that shows "a" at once and stops at order 4.
const ScriptEntry kScript[] = {
    {0, 0, "demosys", "seteffect", "a"},
    {4, 0, "demosys", "stop", nullptr},
};

struct AppRig {
    fakes::FakeClock clock;
    fakes::FakeMusicPlayer music;
    fakes::FakeDialogs dialogs;
    fakes::FakeStartupAssets assets;
    std::map<std::string, fakes::EffectRecord> effects;
    FakeScreen screen{clock};
    DemoApp app{AppPlatform{screen, clock, music, dialogs},
                [this](MainWindow& window, Clock& c, MusicPlayer& m, Dialogs& d) {
                    return std::make_unique<DemoSystem>(DemoServices{window, c, m, d, assets},
                                                        fakes::fakeEffects({"a", "b"}, effects), kScript);
                }};

    std::vector<int32_t> renderTimes() { return effects["a"].renderTimes; }
    bool logged(const std::string& entry) {
        return std::find(screen.log.begin(), screen.log.end(), entry) != screen.log.end();
    }
};

TEST(DemoApp, ShowsTheLoadingBoxAtEveryStepAndIgnoresInputMeanwhile) {
    AppRig rig;
    // Waiting from before the start: they reach no show.
    rig.screen.events = {ScreenEvent::KeyPressed, ScreenEvent::FocusLost, ScreenEvent::CloseRequested};
    ASSERT_TRUE(rig.app.startUp());

    // Shown when created, then at the range and at each of the 7 steps (two
    // effects and five fixed steps).
    std::vector<std::string> expected = {"loading 0 of 0..100"};
    for (int position = 0; position <= 7; ++position) expected.push_back("loading " + std::to_string(position) + " of 0..7");
    expected.push_back("loading closed");
    std::vector<std::string> loading;
    std::copy_if(rig.screen.log.begin(), rig.screen.log.end(), std::back_inserter(loading),
                 [](const std::string& entry) { return entry.starts_with("loading"); });
    EXPECT_EQ(loading, expected);
    EXPECT_TRUE(rig.screen.events.empty());
    EXPECT_TRUE(rig.app.demo()->running());
    EXPECT_TRUE(rig.app.window()->isOpen());
    EXPECT_TRUE(rig.music.pauseCalls.empty());
}

TEST(DemoApp, EndsWithStatusZeroWhenTheScriptStops) {
    AppRig rig;
    rig.screen.afterFrames.insert({3, ScreenEvent::FocusGained});  // harmless while running
    rig.music.setPosition(4, 0);
    EXPECT_EQ(rig.app.run(), 0);
    EXPECT_TRUE(rig.logged("close"));
    EXPECT_EQ(rig.app.window(), nullptr);  // the exit hook deleted window and show
    EXPECT_EQ(rig.app.demo(), nullptr);
    EXPECT_TRUE(rig.effects["a"].deleted);
}

TEST(DemoApp, AKeyOrTheCloseButtonEndsTheShow) {
    for (const ScreenEvent event : {ScreenEvent::KeyPressed, ScreenEvent::CloseRequested}) {
        AppRig rig;
        rig.screen.afterFrames.insert({5, event});
        EXPECT_EQ(rig.app.run(), 0);
        EXPECT_EQ(rig.screen.frames, 5);  // no frame after the event
        EXPECT_EQ(rig.music.freeCalls, 1);
        EXPECT_EQ(rig.music.closeCalls, 1);
        EXPECT_TRUE(rig.logged("close"));
        EXPECT_TRUE(rig.dialogs.messages.empty());
    }
}

TEST(DemoApp, LosingTheFocusPausesAndRegainingItResumesWithoutAJump) {
    AppRig rig;
    rig.clock.now = 1000;
    ASSERT_TRUE(rig.app.startUp());
    AppWindow& window = *rig.app.window();
    DemoApp& app = rig.app;

    rig.clock.now = 1500;
    app.idle();
    rig.clock.now = 1600;
    rig.screen.events.push_back(ScreenEvent::FocusLost);
    window.handleEvents();
    EXPECT_EQ(rig.music.pauseCalls, std::vector<bool>{true});
    EXPECT_TRUE(rig.logged("suspend"));

    // Paused: no frames, and the loop waits for events instead of spinning.
    const int framesBefore = rig.screen.frames;
    for (int i = 0; i < 50; ++i) app.idle();  // 50 waits of 100 ms
    EXPECT_EQ(rig.screen.frames, framesBefore);
    EXPECT_EQ(rig.screen.waits, 50);

    rig.screen.events.push_back(ScreenEvent::FocusGained);
    window.handleEvents();
    EXPECT_EQ(rig.music.pauseCalls, (std::vector<bool>{true, false}));
    EXPECT_TRUE(rig.logged("resume"));
    app.idle();
    EXPECT_EQ(rig.renderTimes(), (std::vector<int32_t>{500, 600}));
}

TEST(DemoApp, AFailedStartUpEndsWithStatusOne) {
    AppRig rig;
    rig.music.initFailures = 11;
    EXPECT_EQ(rig.app.run(), 1);
    EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Initializing fmod failed."});
    EXPECT_EQ(rig.screen.frames, 0);
    EXPECT_EQ(rig.app.window(), nullptr);
}

TEST(DemoApp, AFailureWhilePlayingEndsWithStatusOne) {
    AppRig rig;
    rig.effects["a"].initResult = false;  // "seteffect a" fails on the first frame
    EXPECT_EQ(rig.app.run(), 1);
    EXPECT_EQ(rig.dialogs.messages, std::vector<std::string>{"Initializing effect failed."});
    EXPECT_TRUE(rig.logged("close"));
}

TEST(LoadingDialog, KeepsThePositionWithinTheRange) {
    fakes::FakeClock clock;
    FakeScreen screen(clock);
    AppWindow window(screen, false);
    LoadingDialog dialog(window);
    dialog.setRange(0, 18);
    dialog.advance(20);
    EXPECT_EQ(dialog.position(), 18);
    dialog.advance(-30);
    EXPECT_EQ(dialog.position(), 0);
    dialog.close();
    dialog.close();
    EXPECT_EQ(std::count(screen.log.begin(), screen.log.end(), "loading closed"), 1);
}

}  // namespace
