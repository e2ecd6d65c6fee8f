#include "platform/web/web_audio_output.h"

#include <emscripten.h>

#include <algorithm>

// clang-format off
EM_JS(int, zemra_audio_open, (int rate), { return zemraPage.audio.open(rate) ? 1 : 0; });
EM_JS(void, zemra_audio_close, (), { zemraPage.audio.close(); });
EM_JS(void, zemra_audio_reset, (), { zemraPage.audio.reset(); });
EM_JS(void, zemra_audio_pause, (int paused), { zemraPage.audio.pause(paused !== 0); });
EM_JS(void, zemra_audio_send, (const float* stereo, int frames), {
    zemraPage.audio.send(HEAPF32.slice(stereo >> 2, (stereo >> 2) + frames * 2));
});
EM_JS(double, zemra_audio_played, (), { return zemraPage.audio.played(); });
// clang-format on

bool WebAudioOutput::open(int rate, AudioSource& source) {
    close();
    if (zemra_audio_open(rate) == 0) return false;
    source_ = &source;
    paused_ = false;
    sent_ = 0;
    played_ = 0;
    return true;
}

void WebAudioOutput::close() {
    if (source_ == nullptr) return;
    zemra_audio_close();
    source_ = nullptr;
}

void WebAudioOutput::dropQueued() {
    if (source_ == nullptr) return;
    zemra_audio_reset();
    sent_ = 0;
    played_ = 0;
}

void WebAudioOutput::setPaused(bool paused) {
    if (source_ == nullptr || paused == paused_) return;
    paused_ = paused;
    zemra_audio_pause(paused ? 1 : 0);
}

// The page reports frames played less the device's own delay, and may lag
// a message behind: the count is held to never go back.
uint64_t WebAudioOutput::playedFrames() {
    if (source_ != nullptr) played_ = std::max(played_, static_cast<uint64_t>(std::max(0.0, zemra_audio_played())));
    return played_;
}

void WebAudioOutput::pump() {
    if (source_ == nullptr || paused_) return;
    while (sent_ < playedFrames() + kFramesAhead) {
        source_->fill(chunk_.data(), kChunkFrames);
        zemra_audio_send(chunk_.data(), kChunkFrames);
        sent_ += kChunkFrames;
    }
}
