#pragma once
// An audio output without a device: pulls the source in real time, as a
// sound device would, and discards the sound. Playing muted keeps the music
// as the show's clock.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/audio_output.h"

class SilentAudioOutput : public AudioOutput {
public:
    ~SilentAudioOutput() override;
    bool open(int rate, AudioSource& source) override;
    void close() override;
    void setPaused(bool paused) override;
    uint64_t playedFrames() override { return pulledFrames_.load(); }

private:
    void run();

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool paused_ = false;
    AudioSource* source_ = nullptr;
    int rate_ = 0;
    std::atomic<uint64_t> pulledFrames_{0};
};
