#pragma once
// The timeline of the show: rows keyed to the music's (order, row) position,
// sorted by position; rows at the same position run in table order.

#include <cstdint>
#include <span>

#include "anim/song_position.h"

struct ScriptEntry {
    int32_t order;
    int32_t row;
    const char* target;
    const char* command;
    const char* argument;  // null only for the final "stop" row

    SongPosition position() const { return {order, row}; }
};

extern const ScriptEntry DemoScript[];
extern const int32_t DemoScriptRowCount;

// The whole table as a span.
std::span<const ScriptEntry> demoScript();
