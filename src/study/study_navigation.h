#pragma once
// Where study mode's keys and clicks jump to, as music positions.

#include <cstdint>
#include <vector>

#include "app/timeline.h"

enum class Jump { PreviousScene, NextScene, PreviousOrder, NextOrder, RowsBack, RowsOn, Restart };

constexpr int kRowsPerPage = 16;

// The position a jump from `now` lands on, always inside the song:
// - scenes: the latest scene start before now, the first one after it;
// - orders: the same row one order earlier or later (the last row of a
//   shorter pattern);
// - rows: 16 rows earlier or later, across pattern ends;
// - restart: 0:0.
// False where there is nothing to jump to (before the first scene, past the
// last, or beyond the song's ends).
bool jumpTarget(SongTimeline& timeline, const std::vector<Scene>& scenes, SongPosition now, Jump jump,
                SongPosition& target);

// The row playing at `ms` into the song: the last one that starts at or
// before it (the song's last row for times past its end).
SongPosition rowAtTime(SongTimeline& timeline, int32_t ms);
