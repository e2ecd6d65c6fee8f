#include "platform/music/study_sound.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The show's master volume of 250 on its 0..256 scale.
constexpr int kShowVolume = 250;

}  // namespace

StudySound::~StudySound() {
    if (open_) output_.close();
}

bool StudySound::open(const void* module, std::size_t length) {
    {
        std::lock_guard lock(mutex_);
        if (!player_.load(module, length)) return false;
        player_.setGainMillibel(masterVolumeToMillibel(kShowVolume));
    }
    open_ = output_.open(kRate, *this);
    return open_;
}

void StudySound::playFrom(SongPosition from, double seconds, SongPosition near) {
    std::lock_guard lock(mutex_);
    const double target = player_.seek(from.order, from.row) + seconds;
    double at = player_.seek(near.order, near.row);
    if (at > target || near < from) at = player_.seek(from.order, from.row);
    // Renders the way from the row to the moment and throws it away.
    auto skip = static_cast<std::size_t>(std::max(0.0, std::round((target - at) * kRate)));
    std::vector<float> scratch(2 * 1024);
    while (skip > 0) {
        const std::size_t made = player_.renderFloat(kRate, scratch.data(), std::min<std::size_t>(skip, 1024));
        if (made == 0) break;
        skip -= made;
    }
    playing_ = true;
}

void StudySound::setPaused(bool paused) {
    paused_ = paused;
    output_.setPaused(paused);
}

void StudySound::fill(float* stereo, int frames) {
    std::lock_guard lock(mutex_);
    std::size_t made = 0;
    if (playing_) made = player_.renderFloat(kRate, stereo, static_cast<std::size_t>(frames));
    std::fill(stereo + 2 * made, stereo + 2 * frames, 0.0f);
}
