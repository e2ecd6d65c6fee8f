#pragma once
// Where the music player's sound goes: a sound device, or nowhere at the pace
// of one. The output pulls stereo frames from its source on a thread of its
// own and says how far the listener has got.

#include <cstdint>

class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Writes `frames` interleaved stereo frames (left, right) of float
    // samples. Called on the output's thread.
    virtual void fill(float* stereo, int frames) = 0;
};

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts pulling from source at `rate` frames a second. False when the
    // output cannot be opened (it may be tried again).
    virtual bool open(int rate, AudioSource& source) = 0;
    // Stops pulling; once it returns, fill is not called any more.
    virtual void close() = 0;
    // Holds and continues the pulling in place.
    virtual void setPaused(bool paused) = 0;
    // Frames pulled from the source so far whose sound has been heard: the
    // listener is now hearing the frame with this number. Never decreases.
    virtual uint64_t playedFrames() = 0;
};
