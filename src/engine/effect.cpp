#include "engine/effect.h"

#include <vector>

namespace {

struct SavedEffect {
    bool initialised = false;
    std::vector<ParamTrack> tracks;  // in the order of tracks()
    std::unique_ptr<TargetState> built;
};

}  // namespace

std::unique_ptr<TargetState> Effect::saveState() {
    SavedEffect saved{initialised, {}, saveBuiltState()};
    for (const NamedTrack& named : tracks()) saved.tracks.push_back(*named.track);
    return copyState(std::move(saved));
}

bool Effect::restoreState(const TargetState* state) {
    const SavedEffect* saved = stateValue<SavedEffect>(state);
    if (!saved) return false;
    if (saved->initialised) {
        if (!init()) return false;
    } else {
        deinit();
    }
    const TrackList list = tracks();
    if (list.size() != saved->tracks.size()) return false;
    for (std::size_t i = 0; i < list.size(); ++i) *list[i].track = saved->tracks[i];
    if (saved->built) restoreBuiltState(*saved->built);
    return true;
}
