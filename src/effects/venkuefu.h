#pragma once
// "venkuefu" (CreditsEffect): the credits. A texture twirled by distance from
// the screen centre and zoomed by direction fills the screen; over it, at a
// slowly wandering centre, a television set and one of four credit pictures
// grow and shrink with "scale", alpha-blended. "credit" picks the picture.

#include <array>
#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"
#include "render/warp_grid.h"

class CreditsEffect : public Effect {
public:
    static constexpr int kCreditPictures = 4;

    TrackList tracks() override;
    bool load() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The twirled, zoomed texture over the whole screen at this time.
    void drawWarp(uint16_t* backBuffer, int32_t time);
    // The television and credit picture (credit AND 3) at the centre for this
    // time, scaled by the current `scale`. Reads the tracks' current values.
    void drawPictures(uint16_t* backBuffer, int32_t time) const;
    // Where the pictures are centred at this time for this credit value.
    void pictureCentre(int32_t time, int32_t creditValue, int32_t& cx, int32_t& cy) const;

    // Draws a w x h picture of 32-bit pixels (alpha in bits 24-31) centred on
    // (cx, cy), scaled by factor / 256 with nearest sampling, clipped pixel by
    // pixel to the screen. A factor that leaves no pixel draws nothing.
    static void scaledAlphaBlit(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h, int32_t factor,
                                const uint32_t* pixels);

    const Image& television() const { return television_; }
    const Image& creditPicture(int index) const { return credits_[index & 3]; }

    ParamTrack credit{0}, scale;

private:
    int32_t sine(int32_t index) const { return sine_[index & 1023]; }

    std::array<int32_t, 1024> sine_{};
    WarpGrid grid_;
    Image texture_, television_;
    Image credits_[kCreditPictures];
};
