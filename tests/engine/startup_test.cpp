// Start-up and shutdown of the show against scripted fakes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/demo_system.h"
#include "support/fakes.h"
#include "show/demo_script.h"

namespace {

using fakes::FakeShow;
using fakes::showEffectNames;
using Messages = std::vector<std::string>;

TEST(StartUp, LoadsEverythingInEighteenSteps) {
    FakeShow show;
    auto demo = show.makeDemo(showEffectNames(), demoScript());
    ASSERT_TRUE(demo->loadAll());

    const auto& bar = show.window.progress;
    EXPECT_EQ(bar.created, 1);
    EXPECT_EQ(bar.low, 0);
    EXPECT_EQ(bar.high, 18);
    EXPECT_EQ(bar.advances, 18);
    EXPECT_EQ(bar.position, 18);
    EXPECT_TRUE(bar.closed);
    EXPECT_TRUE(bar.destroyed);

    EXPECT_EQ(show.assets.fontLoadCalls, 1);
    EXPECT_EQ(show.assets.gridBuilds, 1);
    for (const std::string& name : showEffectNames()) {
        EXPECT_EQ(show.effects[name].loads, 1) << name;
        EXPECT_EQ(show.effects[name].inits, 0) << name;
    }
    EXPECT_EQ(demo->registeredNames().size(), 13u);
    ASSERT_NE(demo->backBuffer(), nullptr);

    EXPECT_EQ(show.music.initCalls, 1);
    EXPECT_EQ(show.music.rate, 44100);
    EXPECT_EQ(show.assets.moduleRequests, 1);
    EXPECT_EQ(show.music.song, show.assets.module);
    EXPECT_TRUE(show.clock.sleeps.empty());
    EXPECT_TRUE(show.dialogs.messages.empty());

    ASSERT_TRUE(demo->start());
    EXPECT_EQ(show.window.attached, demo.get());
    EXPECT_EQ(demo->find("blitter"), &show.presenter);
    EXPECT_EQ(demo->find("demosys"), demo.get());
    EXPECT_EQ(show.music.playCalls, 1);
    EXPECT_TRUE(demo->running());
}

TEST(StartUp, RetriesThePlayerTenTimes) {
    struct Case {
        int failures;
        bool succeeds;
        size_t sleeps;
    };
    for (const Case c : {Case{2, true, 2}, Case{10, true, 10}, Case{11, false, 10}}) {
        SCOPED_TRACE(c.failures);
        FakeShow show;
        show.music.initFailures = c.failures;
        auto demo = show.makeDemo({"a"}, demoScript());
        EXPECT_EQ(demo->loadAll(), c.succeeds);
        EXPECT_EQ(show.music.initCalls, c.succeeds ? c.failures + 1 : 11);
        EXPECT_EQ(show.clock.sleeps, std::vector<uint32_t>(c.sleeps, 100));
        EXPECT_EQ(show.dialogs.messages, c.succeeds ? Messages{} : Messages{"Initializing fmod failed."});
    }
}

TEST(StartUp, AdjustsTheModuleByFormat) {
    struct Case {
        int format;
        int volume;
        float pan;
    };
    for (const Case c : {Case{1, 250, 0.7f}, Case{2, 250, 0.7f}, Case{3, 250, -1}, Case{4, -1, -1}}) {
        SCOPED_TRACE(c.format);
        FakeShow show;
        show.music.formatCode = c.format;
        auto demo = show.makeDemo({"a"}, demoScript());
        ASSERT_TRUE(demo->loadAll());
        EXPECT_EQ(show.music.masterVolume, c.volume);
        EXPECT_EQ(show.music.panSeparation, c.pan);
    }
}

TEST(StartUp, EachFailureShowsItsMessage) {
    struct Case {
        const char* message;
        void (*arrange)(FakeShow&);
        bool duringLoad;
    };
    const Case cases[] = {
        {"Loading font failed.", [](FakeShow& s) { s.assets.fontLoads = false; }, true},
        {"Loading effect failed.", [](FakeShow& s) { s.effects["b"].loadResult = false; }, true},
        {"Module not found.", [](FakeShow& s) { s.assets.module.clear(); }, true},
        {"Loading module failed.", [](FakeShow& s) { s.music.loadSucceeds = false; }, true},
        {"Starting blitter failed.", [](FakeShow& s) { s.window.presenter = nullptr; }, false},
        {"Playing module failed.", [](FakeShow& s) { s.music.playSucceeds = false; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        FakeShow show;
        auto demo = show.makeDemo({"a", "b"}, demoScript());
        c.arrange(show);
        const bool loaded = demo->loadAll();
        EXPECT_EQ(loaded, !c.duringLoad);
        if (loaded) {
            EXPECT_FALSE(demo->start());
        }
        EXPECT_EQ(show.dialogs.messages, Messages{c.message});
        EXPECT_FALSE(demo->running());
        // The loading box stays up after a failed load.
        EXPECT_EQ(show.window.progress.closed, !c.duringLoad);
    }
}

TEST(Shutdown, LeavesOnlyTheBlitterAndTheShow) {
    FakeShow show;
    auto demo = show.makeDemo(showEffectNames(), demoScript());
    ASSERT_TRUE(demo->loadAll() && demo->start());
    demo->handleCommand(0, "init", "worldefu");
    demo->handleCommand(0, "seteffect", "logoefu");
    show.log.calls.clear();

    demo->shutdown();
    EXPECT_EQ(demo->registeredNames(), (std::vector<std::string>{"blitter", "demosys"}));
    EXPECT_EQ(demo->backBuffer(), nullptr);
    EXPECT_EQ(demo->currentEffect(), nullptr);
    for (const std::string& name : showEffectNames()) {
        const auto& record = show.effects[name];
        EXPECT_TRUE(record.deleted) << name;
        EXPECT_FALSE(record.initialisedWhenDeleted) << name;
        // Only the two initialised effects are deinitialised.
        EXPECT_EQ(record.deinits, name == "worldefu" || name == "logoefu" ? 1 : 0) << name;
    }
    EXPECT_EQ(show.music.freeCalls, 1);
    EXPECT_EQ(show.music.closeCalls, 1);
    EXPECT_EQ(show.assets.fontReleaseCalls, 1);
    EXPECT_EQ(show.window.closeCalls, 1);
    // The music stops first, the window closes last; the effects go between.
    const std::vector<std::string>& calls = show.log.calls;
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 2),
              (std::vector<std::string>{"free song", "close player"}));
    EXPECT_EQ(std::set<std::string>(calls.begin() + 2, calls.begin() + 4),
              (std::set<std::string>{"deinit worldefu", "deinit logoefu"}));
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 4, calls.end()),
              (std::vector<std::string>{"release font", "close window"}));

    // A second request, a key pressed while the window closes, does nothing.
    demo->shutdown();
    demo->handleCommand(0, "stop", "");
    EXPECT_EQ(show.window.closeCalls, 1);
    EXPECT_EQ(show.music.freeCalls, 1);
    EXPECT_EQ(show.assets.fontReleaseCalls, 1);
}

}  // namespace
