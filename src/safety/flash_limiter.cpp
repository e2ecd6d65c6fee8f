#include "safety/flash_limiter.h"

#include <algorithm>
#include <cstddef>

FlashLimiter::FlashLimiter(int width, int height, int framesPerSecond)
    : width_(width), height_(height), watch_(framesPerSecond), held_(std::size_t{3} * width * height) {}

void FlashLimiter::limit(const uint16_t* made, uint16_t* shown) {
    watch_.addRgb565(made, width_, height_);
    const int recent = watch_.recentTransitions();
    if (recent >= kSoftenAt) flashing_ = true;
    if (recent <= kCalmAt) flashing_ = false;
    pull_ = flashing_ ? kSoftPull : std::min(256, pull_ + kRecoveryStep);

    const std::size_t pixels = std::size_t{static_cast<std::size_t>(width_)} * height_;
    int32_t* held = held_.data();
    if (pull_ == 256) {
        // Calm: the frame itself, and the held picture follows it exactly.
        for (std::size_t i = 0; i < pixels; ++i, held += 3) {
            const uint16_t p = made[i];
            held[0] = (p >> 11) << 8;
            held[1] = ((p >> 5) & 63) << 8;
            held[2] = (p & 31) << 8;
            shown[i] = p;
        }
        return;
    }
    for (std::size_t i = 0; i < pixels; ++i, held += 3) {
        const uint16_t p = made[i];
        const int32_t target[3] = {(p >> 11) << 8, ((p >> 5) & 63) << 8, (p & 31) << 8};
        for (int c = 0; c < 3; ++c) held[c] += (target[c] - held[c]) * pull_ / 256;
        const auto channel = [&](int c) { return static_cast<uint16_t>((held[c] + 128) >> 8); };
        shown[i] = static_cast<uint16_t>(channel(0) << 11 | channel(1) << 5 | channel(2));
    }
}
