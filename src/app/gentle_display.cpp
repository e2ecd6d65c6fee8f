#include "app/gentle_display.h"

#include "anim/screen_size.h"

namespace {
constexpr int kFps = 60;  // the limiter's clock: one frame a display refresh of the show
}

GentleDisplay::GentleDisplay(Display& shown)
    : shown_(shown),
      made_(kScreenWidth * kScreenHeight),
      limited_(kScreenWidth * kScreenHeight),
      limiter_(kScreenWidth, kScreenHeight, kFps) {}

DisplayProperties GentleDisplay::properties() const {
    DisplayProperties p;
    p.width = kScreenWidth;
    p.height = kScreenHeight;
    p.xPitch = 2;
    p.yPitch = 2 * kScreenWidth;
    return p;
}

void GentleDisplay::endDraw() {
    limiter_.limit(made_.data(), limited_.data());
    uint16_t* base = shown_.beginDraw();
    if (base) {
        // The real display may be turned: walk it by its own pitches.
        const DisplayProperties p = shown_.properties();
        const int xStep = p.xPitch / 2, yStep = p.yPitch / 2;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) base[y * yStep + x * xStep] = limited_[y * kScreenWidth + x];
    }
    shown_.endDraw();
}
