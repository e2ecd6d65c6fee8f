#pragma once
// Starting the show part-way in. Every script row before the start position
// runs first, in table order, each with the time at which the music reaches
// its position, so fades and ramps stand where they would have stood; the
// show then dispatches the rest as the music plays on from the start.
// Effects whose picture builds up frame by frame begin from a fresh state.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/timeline.h"
#include "engine/demo_system.h"

struct StartPoint {
    SongPosition position;          // where the music starts
    int32_t timeMs = 0;             // when the music reaches it
    std::size_t firstRow = 0;       // the first script row at or after it
    std::vector<int32_t> rowTimes;  // the time of each row before it
};

// The start of the whole show: no rows before it, time 0.
inline StartPoint showStart() { return {}; }

// Why a position given as `option` is not one the song plays (empty when it
// is). The song's end, one past its last order, counts where allowEnd is set.
std::string outsideSong(const char* option, SongPosition position, const SongTimeline& timeline, bool allowEnd);

// A start at position, which the caller has checked lies inside the song.
StartPoint planStart(SongTimeline& timeline, std::span<const ScriptEntry> script, SongPosition position);

// The rows the show still dispatches as the music plays.
inline std::span<const ScriptEntry> remainingScript(std::span<const ScriptEntry> script, const StartPoint& start) {
    return script.subspan(start.firstRow);
}

// Runs the rows before the start on a show that has just started, as its
// frames would have; stops early if one of them shuts the show down.
void runRowsBefore(DemoSystem& demo, std::span<const ScriptEntry> script, const StartPoint& start);
