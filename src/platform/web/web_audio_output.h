#pragma once
// Sound through the page's Web Audio: an AudioWorklet on the page plays
// chunks of stereo samples and reports how many frames it has played. A
// page has no thread to pull the source on, so the page's frame loop calls
// pump(), which renders chunks until a fixed amount lies ahead of the
// listener. The AudioContext is made by the page on the Play button (a
// browser allows sound only after a gesture); open fails without it.

#include <cstdint>
#include <vector>

#include "platform/audio_output.h"

class WebAudioOutput : public AudioOutput {
public:
    static constexpr int kChunkFrames = 1024;
    // About 0.56 s at 44100 Hz: enough to ride over a frame that takes long
    // without a gap, such as an effect decoding its pictures on a phone
    // whose CPU is a quarter as fast as a desktop's (some 0.2 s), or a page
    // held up by the browser. The picture follows the sound heard, so a lead
    // this long delays nothing the viewer sees; it only costs rendering
    // that much music ahead once, at the start.
    static constexpr int kFramesAhead = 24 * kChunkFrames;

    ~WebAudioOutput() override { close(); }

    bool open(int rate, AudioSource& source) override;
    void close() override;
    void setPaused(bool paused) override;
    uint64_t playedFrames() override;

    // Forgets the sound sent and not yet heard: the next pump sends the
    // source's sound from where it stands now (study mode's jumps and steps).
    void dropQueued();
    // Renders and sends chunks until kFramesAhead frames are queued beyond
    // what the listener has heard. Nothing while closed or paused.
    void pump();

private:
    AudioSource* source_ = nullptr;
    bool paused_ = false;
    uint64_t sent_ = 0;
    uint64_t played_ = 0;
    std::vector<float> chunk_ = std::vector<float>(2 * kChunkFrames);
};
