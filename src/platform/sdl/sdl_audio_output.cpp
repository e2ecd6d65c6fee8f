#include "platform/sdl/sdl_audio_output.h"

#include <SDL.h>

#include "platform/portable/silent_audio_output.h"

namespace {

// Small device buffers keep the reported position close to what is heard
// (512 frames are 11.6 ms at 44100 Hz).
constexpr Uint16 kDeviceBufferFrames = 512;

}  // namespace

SdlAudioOutput::~SdlAudioOutput() { close(); }

bool SdlAudioOutput::open(int rate, AudioSource& source) {
    if (device_ != 0) return true;
    if (!audioInitialised_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        audioInitialised_ = true;
    }
    source_ = &source;
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kDeviceBufferFrames;
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the device wants.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        // Start afresh on the next attempt: the device may appear meanwhile.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioInitialised_ = false;
        return false;
    }
    // A filled buffer waits behind the one SDL is handing to the system,
    // which holds about one more: two buffers lie between the last frame
    // delivered and the one being heard.
    latencyFrames_ = 2u * have.samples;
    deliveredFrames_ = 0;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudioOutput::close() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);  // waits for a running callback
    device_ = 0;
    if (audioInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioInitialised_ = false;
}

void SdlAudioOutput::setPaused(bool paused) {
    if (device_ != 0) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

uint64_t SdlAudioOutput::playedFrames() {
    const uint64_t delivered = deliveredFrames_.load();
    return delivered > latencyFrames_ ? delivered - latencyFrames_ : 0;
}

void SdlAudioOutput::callback(void* user, uint8_t* stream, int bytes) {
    auto* self = static_cast<SdlAudioOutput*>(user);
    const int frames = bytes / static_cast<int>(2 * sizeof(float));
    self->source_->fill(reinterpret_cast<float*>(stream), frames);
    self->deliveredFrames_ += static_cast<uint64_t>(frames);
}

std::unique_ptr<AudioOutput> desktopAudioOutput(bool mute) {
    if (mute) return std::make_unique<SilentAudioOutput>();
    return std::make_unique<SdlAudioOutput>();
}
