#pragma once
// The "setparam" command shared by every script target with tracks: the
// target lists its tracks once, by name, in the order the names are
// compared, and this answers the command from that list.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "anim/param_track.h"

struct NamedTrack {
    std::string_view name;
    ParamTrack* track;
};

using TrackList = std::vector<NamedTrack>;

// For "setparam", parses the argument and applies it at time to the first
// track whose name equals the parsed name exactly. Any other command, and a
// name no track has, changes nothing.
void applySetParam(const TrackList& tracks, int32_t time, const std::string& command, const std::string& argument);
