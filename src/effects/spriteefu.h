#pragma once
// "spriteefu" (TypewriterEffect): a texture warped over the whole screen, a
// pulsing twirl ("mode" 0) or a pumping perspective swirl ("mode" 1, "pump"
// shifts its depth waves), with six lines of text typed over it: "len1" ..
// "len6" say how many leading characters of each line show. Each mode has its
// own texture and its own six lines.

#include <array>
#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"
#include "render/warp_grid.h"

class TypewriterEffect : public Effect {
public:
    static constexpr int kLines = 6;

    // One typed line: its centre along the text and its position across it,
    // in the landscape coordinates of drawText.
    struct TextLine {
        int centre;
        int across;
        const char* text;
    };
    // The six lines of mode 0 and of mode 1.
    static const std::array<std::array<TextLine, kLines>, 2> kTextSets;

    TrackList tracks() override;
    bool load() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // Fills the grid's texture coordinates for the twirl (mode 0) or the
    // swirl (mode 1) at this time; pumpValue shifts the swirl's depth waves.
    void warpTwirl(int32_t time);
    void warpSwirl(int32_t time, int32_t pumpValue);
    const WarpGrid& grid() const { return grid_; }

    ParamTrack len1, len2, len3, len4, len5, len6, mode, pump;

private:
    int32_t sine(int32_t index) const { return sine_[index & 1023]; }

    WarpGrid grid_;
    std::array<int32_t, 1024> sine_{};
    Image textures_[2];
};
