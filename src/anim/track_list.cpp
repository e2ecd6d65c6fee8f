#include "anim/track_list.h"

void applySetParam(const TrackList& tracks, int32_t time, const std::string& command, const std::string& argument) {
    if (command != "setparam") return;
    const ParamSettings settings = parseParamString(argument);
    for (const NamedTrack& named : tracks) {
        if (named.name == settings.param) {
            named.track->applySettings(settings, time);
            return;
        }
    }
}
