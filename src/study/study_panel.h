#pragma once
// What the study panel says about the frame shown: where and when it is,
// the effect and the blitter, the current effect's tracks and the script
// rows that ran last.

#include <cstdint>
#include <string>
#include <vector>

#include "anim/song_position.h"
#include "engine/script_entry.h"

struct PanelTrack {
    std::string name;
    int32_t value = 0;  // evaluated at the frame's time
    std::string mode, loopmode;
};

// What the show's objects held at a frame: kept with the frame, so that a
// frame shown again from the history reads as when it was made.
struct ShowFacts {
    std::string effect;  // empty when none is current
    std::string blitMode;
    int32_t control = 0;
    std::vector<PanelTrack> tracks;
};

struct StudyPanel : ShowFacts {
    SongPosition position;
    int32_t timeMs = 0;
    long frame = 0;
    SongPosition from;  // the jump the frames count from
    bool paused = false, ended = false;
    std::vector<std::string> rows;  // oldest first
    std::vector<std::size_t> rowIndices;  // each row's place in the script
};

class DemoSystem;
// The effect, the blitter and the tracks as they stand at timeMs.
ShowFacts describeShow(DemoSystem& demo, int32_t timeMs);

// A script row in a line: "9:0 blitter control linear 800 1024>256" (a
// parameter string by its name, mode, length and values; the panel is
// narrow), "9:0 demosys seteffect tunnelefu".
std::string describeRow(const ScriptEntry& entry);
