#pragma once
// One row of a show's timeline: keyed to the music's (order, row) position.
// A script is a span of rows sorted by position; rows at the same position
// run in table order.

#include <cstdint>

#include "anim/song_position.h"

struct ScriptEntry {
    int32_t order;
    int32_t row;
    const char* target;
    const char* command;
    const char* argument;  // null only for the final "stop" row

    SongPosition position() const { return {order, row}; }
};
