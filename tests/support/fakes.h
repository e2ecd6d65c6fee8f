#pragma once
// Scripted stand-ins for the platform and for effects, recording what the
// show asks of them. Shared by every test program.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/demo_system.h"
#include "engine/effect.h"
#include "engine/frame_presenter.h"
#include "engine/startup_assets.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "engine/main_window.h"
#include "platform/music_player.h"

namespace fakes {

// Calls seen by several fakes, in the order they happened ("render worldefu 120").
struct CallLog {
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
};

// A clock that moves only when told to (and by every sleep).
class FakeClock : public Clock {
public:
    uint32_t now = 0;
    std::vector<uint32_t> sleeps;
    uint32_t ticks() override { return now; }
    void sleep(uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
};

class FakeDialogs : public Dialogs {
public:
    std::vector<std::string> messages;
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

class FakeMusicPlayer : public MusicPlayer {
public:
    // Script.
    int initFailures = 0;  // the first this many init calls fail
    bool loadSucceeds = true;
    bool playSucceeds = true;
    int formatCode = 3;
    int currentOrder = 0, currentRow = 0;
    bool finished = false;

    // Record.
    int initCalls = 0;
    int rate = 0;
    std::vector<uint8_t> song;
    bool songLoaded = false;
    int masterVolume = -1;
    float panSeparation = -1;
    int playCalls = 0;
    std::vector<bool> pauseCalls;
    int freeCalls = 0, closeCalls = 0;
    CallLog* log = nullptr;

    bool init(int r) override;
    bool loadSongMemory(const void* bytes, std::size_t length) override;
    int type() override { return formatCode; }
    void setMasterVolume(int volume) override { masterVolume = volume; }
    void setPanSeparation(float separation) override { panSeparation = separation; }
    bool play() override {
        ++playCalls;
        return playSucceeds;
    }
    bool isFinished() override { return finished; }
    int order() override { return currentOrder; }
    int row() override { return currentRow; }
    void setPaused(bool paused) override { pauseCalls.push_back(paused); }
    void freeSong() override {
        ++freeCalls;
        songLoaded = false;
        if (log) log->add("free song");
    }
    void close() override {
        ++closeCalls;
        if (log) log->add("close player");
    }

    void setPosition(int order, int row) {
        currentOrder = order;
        currentRow = row;
    }
};

// What a loading box went through; outlives the box itself.
struct ProgressRecord {
    int created = 0;
    int low = -1, high = -1, position = 0, advances = 0;
    bool closed = false, destroyed = false;
};

class FakeLoadingProgress : public LoadingProgress {
public:
    explicit FakeLoadingProgress(ProgressRecord& record) : record_(record) {}
    ~FakeLoadingProgress() override { record_.destroyed = true; }
    void setRange(int low, int high) override {
        record_.low = low;
        record_.high = high;
        record_.position = 0;
    }
    void advance(int steps) override {
        record_.position += steps;
        ++record_.advances;
    }
    void close() override { record_.closed = true; }

private:
    ProgressRecord& record_;
};

class FakeMainWindow : public MainWindow {
public:
    FramePresenter* presenter = nullptr;  // what attachDemo hands out
    DemoSystem* attached = nullptr;
    int closeCalls = 0;
    ProgressRecord progress;
    CallLog* log = nullptr;

    std::unique_ptr<LoadingProgress> createLoadingProgress() override {
        ++progress.created;
        return std::make_unique<FakeLoadingProgress>(progress);
    }
    FramePresenter* attachDemo(DemoSystem& demo) override {
        attached = &demo;
        return presenter;
    }
    void close() override {
        ++closeCalls;
        if (log) log->add("close window");
    }
};

class FakeStartupAssets : public StartupAssets {
public:
    bool fontLoads = true;
    std::vector<uint8_t> module = {'m', 'o', 'd'};  // empty: resource missing
    int fontLoadCalls = 0, fontReleaseCalls = 0, gridBuilds = 0;
    int moduleRequests = 0;
    CallLog* log = nullptr;

    bool loadFont() override {
        ++fontLoadCalls;
        return fontLoads;
    }
    void releaseFont() override {
        ++fontReleaseCalls;
        if (log) log->add("release font");
    }
    void buildGridTables() override { ++gridBuilds; }
    std::vector<uint8_t> loadMusicModule() override;
};

// What one fake effect went through; outlives the effect.
struct EffectRecord {
    bool loadResult = true;
    bool initResult = true;
    int loads = 0, inits = 0, deinits = 0, renders = 0;
    std::vector<int32_t> renderTimes;
    std::vector<std::string> commands;  // "command argument @time"
    bool deleted = false;
    bool initialisedWhenDeleted = false;
};

// An effect that keeps the effect contract and draws its render count.
class FakeEffect : public Effect {
public:
    FakeEffect(std::string name, EffectRecord& record, CallLog* log) : name_(std::move(name)), record_(record), log_(log) {}
    ~FakeEffect() override;
    void handleCommand(int32_t time, const std::string& command, const std::string& argument) override;
    bool load() override;

protected:
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

private:
    std::string name_;
    EffectRecord& record_;
    CallLog* log_;
};

// Makers for fake effects under the given names, each recording into records[name].
std::vector<EffectMaker> fakeEffects(const std::vector<std::string>& names, std::map<std::string, EffectRecord>& records,
                                     CallLog* log = nullptr);

// The show's thirteen effect names in registry order.
const std::vector<std::string>& showEffectNames();

class FakePresenter : public FramePresenter {
public:
    std::vector<int32_t> updates;
    int presents = 0;
    std::vector<std::string> commands;  // "command argument @time"
    CallLog* log = nullptr;

    void handleCommand(int32_t time, const std::string& command, const std::string& argument) override;
    void update(int32_t time) override;
    void present(const uint16_t* backBuffer) override;
};

// A 16-bit surface laid out by the given pitches, big enough for a 240x320
// picture, filled with `fill` at the start. memory is the raw surface.
class FakeDisplay : public Display {
public:
    FakeDisplay(int32_t xPitch, int32_t yPitch, uint16_t fill = 0xDEAD);
    DisplayProperties properties() const override { return props_; }
    uint16_t* beginDraw() override {
        ++begins;
        return available ? memory.data() + baseOffset : nullptr;
    }
    void endDraw() override { ++ends; }

    // The surface pixel where picture pixel (x, y) lands.
    uint16_t& at(int x, int y);

    std::vector<uint16_t> memory;
    std::ptrdiff_t baseOffset = 0;
    bool available = true;
    int begins = 0, ends = 0;

private:
    DisplayProperties props_;
};

// All fakes a DemoSystem needs, wired together.
struct FakeShow {
    FakeMainWindow window;
    FakeClock clock;
    FakeMusicPlayer music;
    FakeDialogs dialogs;
    FakeStartupAssets assets;
    FakePresenter presenter;
    CallLog log;
    std::map<std::string, EffectRecord> effects;

    FakeShow() {
        window.presenter = &presenter;
        window.log = &log;
        presenter.log = &log;
        music.log = &log;
        assets.log = &log;
    }
    DemoServices services() { return {window, clock, music, dialogs, assets}; }
    std::unique_ptr<DemoSystem> makeDemo(const std::vector<std::string>& names, std::span<const ScriptEntry> script) {
        return std::make_unique<DemoSystem>(services(), fakeEffects(names, effects, &log), script);
    }
};

}  // namespace fakes
