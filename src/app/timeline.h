#pragma once
// The show's timeline as the music lays it out: positions in the module
// written ORDER:ROW, the time at which the music reaches each of them (from
// the module's own speeds and tempos), and the scenes the script shows.

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "anim/song_position.h"
#include "engine/script_entry.h"
#include "engine/startup_assets.h"
#include "platform/music/module_player.h"

// Milliseconds as m:ss.mmm.
std::string formatTime(int32_t ms);

class SongTimeline {
public:
    // From module bytes; false when they are no module.
    bool load(const void* bytes, std::size_t length);
    // The music module of a show, from its assets.
    bool loadModuleOf(StartupAssets& assets);

    int orderCount() const { return player_.orderCount(); }
    int rowsAt(int order) const { return player_.patternRowsAt(order); }
    // A position the music plays: a row of a pattern in the order list.
    bool contains(SongPosition position) const;
    // One past the last order: where the song is over (the script's "stop").
    SongPosition end() const { return {orderCount(), 0}; }
    // Milliseconds from the song's start until the music reaches position;
    // the end (or anything past it) gives the song's length. Remembered per
    // position: a script may hold thousands of rows at one.
    int32_t timeAt(SongPosition position);
    int32_t lengthMs() const;

private:
    ModulePlayer player_;
    std::map<SongPosition, int32_t> times_;
};

// One scene of the show: the script row that makes an effect current.
struct Scene {
    std::string effect;
    SongPosition start;
    int32_t startMs = 0;
};

std::vector<Scene> showScenes(SongTimeline& timeline, std::span<const ScriptEntry> script);

// The --list text: each scene with its effect, start position and start time.
std::string timelineText(SongTimeline& timeline, std::span<const ScriptEntry> script);
