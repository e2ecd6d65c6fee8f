#pragma once
// Base of the show's effects.
//
// Contract every effect keeps:
// - load() builds what never changes (tables); called once at start-up. An
//   effect with nothing to build keeps the base's, which succeeds.
// - init() acquires the effect's per-scene buffers and pictures through its
//   acquire() and sets `initialised` on success; it does nothing when the
//   flag is already set. On failure it returns false with the flag clear.
// - deinit() clears the flag and frees what acquire() took through release();
//   it does nothing when the flag is clear.
// - render() first calls init() when the flag is clear and returns without
//   drawing if that fails; so an effect rendered after deinit initialises
//   itself again. The effect's own drawing is draw().
// - "setparam" reaches the tracks the effect lists in tracks(); every other
//   command is ignored.
// - Its state at a frame is the flag, the tracks and what its picture builds
//   up from frame to frame (saveBuiltState); putting a saved state back
//   initialises or deinitialises the effect to match first.
// The show reads `initialised` directly.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "anim/track_list.h"
#include "engine/back_buffer.h"
#include "engine/command_target.h"

class Effect : public CommandTarget {
public:
    bool initialised = false;
    virtual bool load() { return true; }
    bool init() {
        if (initialised) return true;
        initialised = acquire();
        return initialised;
    }
    void deinit() {
        if (!initialised) return;
        initialised = false;
        release();
    }

    // backBuffer: kScreenWidth x kScreenHeight RGB565 pixels.
    void render(int32_t time, uint16_t* backBuffer) {
        if (!initialised && !init()) return;
        draw(time, backBuffer);
    }

    void handleCommand(int32_t time, const std::string& command, const std::string& argument) override {
        applySetParam(tracks(), time, command, argument);
    }

    // The tracks "setparam" can reach, in the order their names are compared.
    virtual TrackList tracks() { return {}; }

    std::unique_ptr<TargetState> saveState() override;
    // False when the effect cannot be initialised again.
    bool restoreState(const TargetState* state) override;

protected:
    // What init() and deinit() do beyond the flag: take and free the
    // per-scene buffers and pictures. acquire() runs only while the flag is
    // clear, release() only after it was set.
    virtual bool acquire() { return true; }
    virtual void release() {}

    // One frame into backBuffer; called only while initialised.
    virtual void draw(int32_t time, uint16_t* backBuffer) = 0;

    // What the picture builds up from frame to frame besides the tracks (the
    // water's heights, the landscape's camera), kept through deinit where
    // the effect keeps it; null when the picture depends on the time and the
    // tracks only. The restore runs after init or deinit.
    virtual std::unique_ptr<TargetState> saveBuiltState() const { return nullptr; }
    virtual void restoreBuiltState(const TargetState&) {}
};

// One effect the show creates at start-up, under its script name.
struct EffectMaker {
    std::string name;
    std::function<std::unique_ptr<Effect>()> create;
};
