#pragma once
// The gentle mode's limiter: holds a stream of pictures under the flash
// thresholds while leaving calm stretches exactly as they are.
//
// It watches the frames as made with a flash analyser. While they flash more
// than twice a second anywhere (five transitions of a field in the last
// second), what is shown follows what is made only slowly: each pixel moves
// a small part of the way toward the new frame (about a quarter second's
// time constant), so light and dark swings of several a second shrink below
// the threshold and a flash becomes a soft glow. Once the frames have been
// calm for a second (at most one transition), the picture catches up over
// half a second and from then on is the frame as made, pixel for pixel.
//
// Integer arithmetic only past the analyser: the same frames give the same
// pictures on every machine.

#include <cstdint>
#include <vector>

#include "safety/flash_analyser.h"

class FlashLimiter {
public:
    // Transitions of a field in the last second that start the softening,
    // and the most the frames may hold for it to end.
    static constexpr int kSoftenAt = 5, kCalmAt = 1;
    // How far a pixel moves toward the new frame, in 256ths: while softening,
    // and growing by kRecoveryStep a frame back to 256 (the frame itself).
    static constexpr int kSoftPull = 10, kRecoveryStep = 9;

    // pixels: width x height RGB565 pictures, rows top to bottom.
    FlashLimiter(int width, int height, int framesPerSecond);

    // The picture to show for the frame `made`, written to `shown`, which
    // holds the picture shown before (the same buffer from call to call).
    void limit(const uint16_t* made, uint16_t* shown);
    // Softening now (the picture shown is not the frame as made).
    bool softening() const { return pull_ < 256; }

private:
    int width_, height_;
    FlashAnalyser watch_;
    bool flashing_ = false;
    int pull_ = 256;
    std::vector<int32_t> held_;  // per pixel and channel, in 256ths of a channel step
    bool heldCurrent_ = false;   // held_ is the picture shown (only while softening)
};
