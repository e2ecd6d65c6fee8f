#pragma once
// "fractalefu" (FractalZoomEffect): a seamless zoom into a fractal and out
// again, behind a spinning environment-mapped object. Five pictures each show
// the centre half of the one before at twice the resolution; any depth between
// two of them is drawn from the finer picture where it covers the screen and
// the coarser one around it, both filtered bilinearly. "zoom" is the depth:
// 0..4095, only its low 12 bits count.

#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"
#include "render/mesh.h"

class FractalZoomEffect : public Effect {
public:
    static constexpr int kLevels = 5;

    TrackList tracks() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The whole screen at zoom depth z (low 12 bits) from the five 240 x 320
    // pictures of 32-bit pixels, coarsest first.
    static void drawZoom(uint16_t* backBuffer, const uint32_t* const pictures[kLevels], int32_t z);

    // A 240-wide picture at (x, y) in 22.10 fixed point, filtered bilinearly
    // with weights that add up to 1023 each way: 0x00RRGGBB. Reads pixels
    // (x >> 10) + 1 and (y >> 10) + 1, which the caller keeps inside.
    static uint32_t sample(const uint32_t* picture, int32_t x, int32_t y);

private:
    Mesh object_;
    Image pictures_[kLevels];
    Image texture_;

public:
    ParamTrack zoom;
};
