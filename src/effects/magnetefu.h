#pragma once
// "magnetefu" (MagnetEffect): a texture pushed about by four wandering poles,
// two pulling and two pushing. Each grid point's texel is the sum of one
// fixed-length step per pole, towards it or away from it; a glow is added over
// each pole. The poles move with the frame time alone, so the effect has no
// parameters.

#include <array>
#include <cstdint>

#include "assets/image.h"
#include "engine/effect.h"
#include "render/warp_grid.h"

class MagnetEffect : public Effect {
public:
    static constexpr int kPoles = 4;
    static constexpr int kGlowSize = 128;

    // A pole's place in grid units (256 to an 8-pixel cell) and its charge.
    struct Pole {
        int32_t x, y, charge;
    };

    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    static std::array<Pole, kPoles> poles(int32_t time);
    // Fills the grid's U and V planes with the poles' field.
    static void fillField(WarpGrid& grid, const std::array<Pole, kPoles>& poles);
    // Adds a w x h RGB565 picture centred on (cx, cy), each channel clamped
    // at its top, clipped to the screen pixel by pixel. The same as adding the
    // 8-bit channels of the 32-bit pixels it was packed from (rgb565.h).
    static void additiveBlit(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h,
                             const uint16_t* light);

    const WarpGrid& grid() const { return grid_; }

private:
    WarpGrid grid_;
    Image texture_, glow_;
};
