#pragma once
// Base of the show's effects.
//
// Contract every effect keeps:
// - load() builds what never changes (tables); called once at start-up.
// - init() returns true at once when `initialised` is set; otherwise it
//   acquires its per-scene buffers and pictures and, on success, sets the
//   flag. On failure it returns false with the flag clear.
// - deinit() does nothing when the flag is clear; otherwise it clears the
//   flag and frees what init acquired.
// - render() first calls init() when the flag is clear and returns without
//   drawing if that fails; so an effect rendered after deinit initialises
//   itself again.
// The show reads `initialised` directly.

#include <cstdint>

#include "engine/back_buffer.h"
#include "engine/command_target.h"

class Effect : public CommandTarget {
public:
    bool initialised = false;
    virtual bool load() = 0;
    virtual bool init() = 0;
    virtual void deinit() = 0;
    // backBuffer: kScreenWidth x kScreenHeight RGB565 pixels.
    virtual void render(int32_t time, uint16_t* backBuffer) = 0;
};
