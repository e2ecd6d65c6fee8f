#pragma once
// An audio output the test pulls by hand: everything pulled counts as heard,
// and pauses are recorded.

#include <cstdint>
#include <vector>

#include "platform/audio_output.h"

class PulledAudioOutput : public AudioOutput {
public:
    bool open(int, AudioSource& source) override {
        source_ = &source;
        return true;
    }
    void close() override { source_ = nullptr; }
    void setPaused(bool paused) override { pauses.push_back(paused); }
    uint64_t playedFrames() override { return pulled_; }

    // The next `frames` stereo frames of the source.
    std::vector<float> pull(int frames) {
        std::vector<float> stereo(2 * static_cast<std::size_t>(frames));
        source_->fill(stereo.data(), frames);
        pulled_ += static_cast<uint64_t>(frames);
        return stereo;
    }
    std::vector<bool> pauses;

private:
    AudioSource* source_ = nullptr;
    uint64_t pulled_ = 0;
};
