#pragma once
// "logoefu" (LogoEffect): the tall title picture (240 x 1600) sliding past the
// screen from its bottom end to its top end as "pos" runs from 0 to 65535, two
// neighbouring picture rows blended by a 16-bit fraction for smooth sub-pixel
// movement.

#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"

class LogoEffect : public Effect {
public:
    static constexpr int kPictureWidth = 240;

    TrackList tracks() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // Fills the whole back buffer from picture (32-bit, 240 wide, height rows)
    // at scroll position pos; only its low 16 bits count.
    static void drawScroll(uint16_t* backBuffer, const uint32_t* picture, int32_t height, int32_t pos);

    ParamTrack pos;

private:
    Image picture_;
};
