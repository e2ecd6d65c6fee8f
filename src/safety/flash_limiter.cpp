#include "safety/flash_limiter.h"

#include <algorithm>
#include <cstddef>

FlashLimiter::FlashLimiter(int width, int height, int framesPerSecond)
    : width_(width), height_(height), watch_(framesPerSecond), held_(std::size_t{3} * width * height) {}

namespace {

// An RGB565 pixel's channels in 256ths of a channel step.
void unpack(uint16_t pixel, int32_t* channels) {
    channels[0] = (pixel >> 11) << 8;
    channels[1] = ((pixel >> 5) & 63) << 8;
    channels[2] = (pixel & 31) << 8;
}

}  // namespace

void FlashLimiter::limit(const uint16_t* made, uint16_t* shown) {
    watch_.addRgb565(made, width_, height_);
    const int recent = watch_.recentTransitions();
    if (recent >= kSoftenAt) flashing_ = true;
    if (recent <= kCalmAt) flashing_ = false;
    pull_ = flashing_ ? kSoftPull : std::min(256, pull_ + kRecoveryStep);

    const std::size_t pixels = std::size_t{static_cast<std::size_t>(width_)} * height_;
    if (pull_ == 256) {
        // Calm: the frame itself. The held picture is taken up again from
        // the picture shown when softening starts.
        std::copy(made, made + pixels, shown);
        heldCurrent_ = false;
        return;
    }
    int32_t* held = held_.data();
    if (!heldCurrent_) {
        for (std::size_t i = 0; i < pixels; ++i) unpack(shown[i], held + 3 * i);
        heldCurrent_ = true;
    }
    for (std::size_t i = 0; i < pixels; ++i, held += 3) {
        int32_t target[3];
        unpack(made[i], target);
        for (int c = 0; c < 3; ++c) held[c] += (target[c] - held[c]) * pull_ / 256;
        const auto channel = [&](int c) { return static_cast<uint16_t>((held[c] + 128) >> 8); };
        shown[i] = static_cast<uint16_t>(channel(0) << 11 | channel(1) << 5 | channel(2));
    }
}
