#pragma once
// Sound through SDL's default audio device: 32-bit float stereo.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/audio_output.h"

class SdlAudioOutput : public AudioOutput {
public:
    ~SdlAudioOutput() override;
    bool open(int rate, AudioSource& source) override;
    void close() override;
    void setPaused(bool paused) override;
    uint64_t playedFrames() override;

private:
    static void callback(void* user, uint8_t* stream, int bytes);

    uint32_t device_ = 0;
    bool audioInitialised_ = false;
    AudioSource* source_ = nullptr;
    uint64_t latencyFrames_ = 0;
    std::atomic<uint64_t> deliveredFrames_{0};
};

// The show's sound on the desktop: the default device, or with `mute` an
// output that consumes the sound at the pace of one and discards it.
std::unique_ptr<AudioOutput> desktopAudioOutput(bool mute);
