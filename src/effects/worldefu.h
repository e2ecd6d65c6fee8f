#pragma once
// "worldefu" (GlobeEffect): a turning planet over a starry background, its day
// side and night side blended through a travelling daylight mask, and a ring
// of lettering around it whose visible part opens and closes with two bounds.
// All geometry comes from two precomputed maps (BZ2 137 and 138).

#include <cstdint>
#include <memory>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"

class GlobeEffect : public Effect {
public:
    // The sphere map: 240 x 240 entries for back-buffer rows 40..279, each
    // -1 (outside the planet) or v * 256 + u into the 256 x 512 planet maps.
    static constexpr int kGlobeEntries = 240 * 240;
    static constexpr int kGlobeFirstPixel = 40 * 240;
    // The ring map: 64 x 320 entries for back-buffer columns 88..151, two
    // 16-bit texel references (row * 32 + column, 0xFFFF empty) each.
    static constexpr int kRingColumns = 64;
    static constexpr int kRingFirstColumn = 88;
    static constexpr int kRingEntries = kRingColumns * 320;

    TrackList tracks() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The planet: day map and night map (32-bit, 256 wide) blended by the
    // daylight mask in the day map's alpha byte; angles in map rows.
    static void drawGlobe(uint16_t* backBuffer, const int32_t* globeMap, const uint32_t* dayMap,
                          const uint32_t* nightMap, int32_t worldAngle, int32_t timeAngle);
    // The ring: the first layer blends the coloured lettering by its alpha,
    // the second lifts towards white by the grey mask; only texture rows
    // strictly between clip and clipEnd show.
    static void drawRing(uint16_t* backBuffer, const uint32_t* ringMap, const uint32_t* ringTexture,
                         const uint8_t* ringMask, int32_t textAngle, int32_t clip, int32_t clipEnd);

    ParamTrack clip{511}, clipend{511}, worldangle, timeangle, textangle;

private:
    Image dayMap_, nightMap_, ringMask_, ringTexture_, background_;
    std::unique_ptr<int32_t[]> globeMap_;
    std::unique_ptr<uint32_t[]> ringMap_;
};
