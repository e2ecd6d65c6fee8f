#pragma once
// The display of the gentle mode: the blitter writes the show into a picture
// of its own, which keeps the frames exactly as the show made them (the
// motion trails read them back), and each finished frame goes to the real
// display through the flash limiter, which holds what the viewer sees under
// the flash thresholds.

#include <cstdint>
#include <vector>

#include "platform/display.h"
#include "safety/flash_limiter.h"

class GentleDisplay : public Display {
public:
    explicit GentleDisplay(Display& shown);

    DisplayProperties properties() const override;
    uint16_t* beginDraw() override { return made_.data(); }
    void endDraw() override;
    // The picture shown is not the frame as made.
    bool softening() const { return limiter_.softening(); }

private:
    Display& shown_;
    std::vector<uint16_t> made_;     // the picture as the show made it, row by row
    std::vector<uint16_t> limited_;  // the picture the viewer sees
    FlashLimiter limiter_;
};
