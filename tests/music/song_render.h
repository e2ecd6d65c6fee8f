#pragma once
// Renders a whole module the way the show plays it and notes where each
// order position begins in the rendered audio.

#include <cstddef>
#include <vector>

#include "platform/music/module_player.h"
#include "song_analysis.h"

namespace songcheck {

struct RenderedSong {
    Stereo audio;
    // First frame at which each order position was playing (by the player's
    // own report, to within one block of 1 ms).
    std::vector<std::size_t> orderStarts;
    // Frame at which each (order, row) began, indexed [order][row].
    std::vector<std::vector<std::size_t>> rowStarts;
    // Frame at which the player left the last row (its position then jumps
    // back to the restart position while the last notes die away).
    std::size_t songEnd = 0;
};

// Plays the loaded module from its start to its end at `rate` Hz.
RenderedSong renderSong(ModulePlayer& player, int rate);

}  // namespace songcheck
