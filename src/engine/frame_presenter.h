#pragma once
// What the show hands each finished frame to (the blitter). Defined here so
// the engine does not depend on the presentation code.

#include <cstdint>

#include "engine/command_target.h"

class FramePresenter : public CommandTarget {
public:
    // Brings the presenter's animated parameters to the frame time.
    virtual void update(int32_t time) = 0;
    // Puts the 240x320 RGB565 back buffer on the display.
    virtual void present(const uint16_t* backBuffer) = 0;
};
