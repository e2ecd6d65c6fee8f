#pragma once
// Plays the show's script up to a music position on the real DemoSystem and
// Blitter, with the effects of the catalogue, and keeps what the display
// shows: a small offline renderer for pictures to look at.

#include <cstdint>
#include <memory>
#include <vector>

#include "effects/catalogue.h"
#include "engine/back_buffer.h"

namespace showframes {

// Milliseconds at which the music reaches (order, row), at 50 ms a row.
int32_t positionTime(int order, int row);

struct Frame {
    std::vector<uint16_t> display;     // what the viewer sees (after the blitter)
    std::vector<uint16_t> backBuffer;  // what the current effect drew
    bool drawn = false;                // an effect was current and rendered
};

// Runs every script row up to (order, row), each at the time the music
// reaches it (a frame per script position), then one frame at (order, row).
Frame renderShowAt(int order, int row);

}  // namespace showframes
