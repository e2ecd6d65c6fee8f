#pragma once
// Brings an effect's tracks to the frame's time at the top of draw(). The
// effects list them here in the order tracks() names them; each track's
// value depends on its own settings alone, so the order changes nothing.

#include <cstdint>
#include <initializer_list>

#include "anim/param_track.h"

inline void evaluateTracks(int32_t time, std::initializer_list<ParamTrack*> tracks) {
    for (ParamTrack* track : tracks) track->evaluate(time);
}
