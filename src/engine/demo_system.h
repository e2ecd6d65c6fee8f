#pragma once
// The show's centre: the registry of script targets, the back buffer, the
// music-driven timeline and the clock. Registered as "demosys".

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/command_target.h"
#include "engine/script_entry.h"
#include "engine/effect.h"
#include "engine/frame_presenter.h"
#include "engine/startup_assets.h"
#include "platform/clock.h"
#include "engine/main_window.h"
#include "platform/dialogs.h"
#include "platform/music_player.h"

// What the show uses from the outside world; none of it is owned.
struct DemoServices {
    MainWindow& window;
    Clock& clock;
    MusicPlayer& music;
    Dialogs& dialogs;
    StartupAssets& assets;
};

// The show's state after a frame: with the music's and the clock's, what
// the frames after it are made from.
struct DemoSnapshot {
    int32_t scriptCursor = 0;
    std::string currentEffect;  // empty when none is current
    std::vector<uint16_t> backBuffer;
    std::map<std::string, std::unique_ptr<TargetState>> targets;  // by registered name
};

class DemoSystem : public CommandTarget {
public:
    // effects: the effects to create in registry order; script: the timeline.
    DemoSystem(DemoServices services, std::vector<EffectMaker> effects,
               std::span<const ScriptEntry> script);
    ~DemoSystem() override;
    DemoSystem(const DemoSystem&) = delete;
    DemoSystem& operator=(const DemoSystem&) = delete;

    // Start-up: creates and loads the effects, prepares the music. False after
    // a failure, which has been shown to the user.
    bool loadAll();
    // Attaches the blitter, starts the music and the clock. False on failure.
    bool start();
    // Stops the music, frees the back buffer and the effects, closes the
    // window. Runs at most once.
    void shutdown();
    // Where set, a "stop" row only halts the show: its effects, back buffer
    // and music stay, so that an earlier state can be put back (study mode
    // steps back from the end); the owner shuts it down.
    void setHoldOnStop(bool hold) { holdOnStop_ = hold; }

    // One frame: dispatch the due script rows, draw, present.
    void frame();
    // Focus lost and regained: hold and continue the music and the clock.
    void pause();
    void resume();

    // Runs one script row at `time`: hands its command to the target it
    // names; a row addressed to no registered target is skipped.
    void dispatch(const ScriptEntry& entry, int32_t time);
    // Asked every kRowsBetweenChecks rows run, in a frame or before the
    // start: true shuts the show down there. Study mode ends this way while
    // a script of very many rows starts.
    static constexpr int kRowsBetweenChecks = 64;
    void setInterruptCheck(std::function<bool()> interrupted) { interrupted_ = std::move(interrupted); }
    // Where set, an "init" row leaves an effect whose data this says has not
    // arrived yet uninitialised: its "seteffect" or its render initialises
    // it, the same pictures from the same state, once the show loop has
    // waited for the data (the web page fetches it while the show plays).
    void setDataMissing(std::function<bool(const std::string& effect)> missing) { dataMissing_ = std::move(missing); }
    // Where set, asked at each frame with the music's position before any
    // row runs: false holds that frame back (nothing runs or is drawn, and
    // heldForData() says so) until the data it needs has arrived.
    void setFrameGate(std::function<bool(SongPosition now)> gate) { frameGate_ = std::move(gate); }
    bool heldForData() const { return heldForData_; }

    // "seteffect", "init", "deinit" (argument: an effect name) and "stop".
    void handleCommand(int32_t time, const std::string& command, const std::string& argument) override;

    // The running show's state (empty once it has shut down), and putting a
    // state of this show back, so that the frames after it come out as they
    // did (a show held by its "stop" row runs again). Restoring fails once
    // the show has shut down (its effects are gone) or when an effect cannot
    // be initialised again.
    DemoSnapshot snapshot();
    bool restore(const DemoSnapshot& snapshot);

    // Inspection, for the shell and tests.
    bool running() const { return running_; }
    bool isShutDown() const { return shutDown_; }
    Effect* currentEffect() const { return currentEffect_; }
    int32_t scriptCursor() const { return scriptCursor_; }
    std::span<const ScriptEntry> script() const { return script_; }
    uint16_t* backBuffer() const { return backBuffer_.get(); }
    CommandTarget* find(const std::string& name) const;
    std::vector<std::string> registeredNames() const;

private:
    Effect* findEffect(const std::string& name) const;
    bool fail(const char* message);
    bool initMusic();
    bool loadMusic();
    void initEffect(Effect& effect, bool makeCurrent);

    DemoServices services_;
    std::vector<EffectMaker> makers_;
    std::span<const ScriptEntry> script_;

    FramePresenter* presenter_ = nullptr;  // the blitter, owned by the window
    bool songLoaded_ = false;
    std::map<std::string, CommandTarget*> registry_;
    std::map<std::string, std::unique_ptr<Effect>> effects_;  // owned, by name
    Effect* currentEffect_ = nullptr;
    int32_t scriptCursor_ = 0;
    bool running_ = false;
    bool started_ = false;
    bool paused_ = false;
    bool shutDown_ = false;
    bool holdOnStop_ = false;
    std::unique_ptr<uint16_t[]> backBuffer_;
    uint32_t startTick_ = 0;
    uint32_t pauseTick_ = 0;
    std::unique_ptr<LoadingProgress> loading_;  // kept open after a failed start-up
    std::function<bool()> interrupted_;
    std::function<bool(const std::string&)> dataMissing_;
    std::function<bool(SongPosition)> frameGate_;
    bool heldForData_ = false;
    long rowsRun_ = 0;
};
