#include "effects/worldefu.h"

#include <cstring>

#include "anim/rgb565.h"

#include "assets/resource_ids.h"
#include "assets/resources.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "effects/pixel_blend.h"

TrackList GlobeEffect::tracks() {
    return {{"clip", &clip}, {"clipend", &clipend}, {"worldangle", &worldangle}, {"timeangle", &timeangle},
            {"textangle", &textangle}};
}

bool GlobeEffect::acquire() {
    if (!dayMap_.loadWithMask(res::kGlobeDay, res::kGlobeDaylight) || !hasShape(dayMap_, 256, 512, 32)) return false;
    if (!nightMap_.loadJpeg(res::kGlobeNight) || !hasShape(nightMap_, 256, 512, 32)) return false;
    if (!background_.loadJpeg16(res::kGlobeBackground) || !hasShape(background_, kScreenWidth, kScreenHeight, 16))
        return false;
    if (!ringTexture_.loadWithMask(res::kRingLettering, res::kRingLetteringMask) ||
        !hasShape(ringTexture_, 32, 512, 32))
        return false;
    if (!ringMask_.loadJpeg(res::kRingLift) || !hasShape(ringMask_, 32, 512, 8)) return false;
    globeMap_ = std::make_unique<int32_t[]>(kGlobeEntries);
    ringMap_ = std::make_unique<uint32_t[]>(kRingEntries);
    if (!loadTable32(reinterpret_cast<uint32_t*>(globeMap_.get()), kGlobeEntries, res::kGlobeSphereMap) ||
        !loadTable32(ringMap_.get(), kRingEntries, res::kGlobeRingMap)) {
        globeMap_.reset();
        ringMap_.reset();
        return false;
    }
    return true;
}

void GlobeEffect::release() {
    dayMap_.release();
    nightMap_.release();
    ringMask_.release();
    ringTexture_.release();
    background_.release();
    globeMap_.reset();
    ringMap_.reset();
}

void GlobeEffect::drawGlobe(uint16_t* backBuffer, const int32_t* globeMap, const uint32_t* dayMap,
                            const uint32_t* nightMap, int32_t worldAngle, int32_t timeAngle) {
    const int32_t w = (worldAngle & 511) * 256;
    const int32_t m = ((timeAngle & 511) + (worldAngle & 511)) * 256;
    uint16_t* out = backBuffer + kGlobeFirstPixel;
    for (int i = 0; i < kGlobeEntries; ++i) {
        const int32_t e = globeMap[i];
        if (e == -1) continue;
        const int32_t u = e & 255, vb = e & (511 << 8);
        const int32_t texel = ((vb + w) & (511 << 8)) | u;
        const int32_t mask = ((vb + m) & (511 << 8)) | u;
        const uint32_t a = dayMap[mask] >> 24;
        const uint32_t day = dayMap[texel], night = nightMap[texel];
        const uint32_t r = (((day >> 16) & 255) * a + ((night >> 16) & 255) * (255 - a)) >> 8;
        const uint32_t g = (((day >> 8) & 255) * a + ((night >> 8) & 255) * (255 - a)) >> 8;
        const uint32_t b = ((day & 255) * a + (night & 255) * (255 - a)) >> 8;
        out[i] = rgb565::pack(r, g, b);  // r, g, b are at most 254
    }
}

void GlobeEffect::drawRing(uint16_t* backBuffer, const uint32_t* ringMap, const uint32_t* ringTexture,
                           const uint8_t* ringMask, int32_t textAngle, int32_t clip, int32_t clipEnd) {
    const uint32_t t = static_cast<uint32_t>((textAngle & 511) * 32);
    // Compared unsigned, so a negative bound lies above every row.
    const uint32_t c0 = static_cast<uint32_t>(clip) * 32, c1 = static_cast<uint32_t>(clipEnd) * 32;
    for (int y = 0; y < 320; ++y) {
        const uint32_t* entries = ringMap + y * kRingColumns;
        uint16_t* out = backBuffer + y * 240 + kRingFirstColumn;
        for (int x = 0; x < kRingColumns; ++x) {
            const uint32_t w = entries[x];
            const uint32_t first = w & 0xFFFF, second = w >> 16;
            if (first != 0xFFFF) {
                const uint32_t row = (first + t) & 0x3FE0;
                if (c0 < row && row < c1) {
                    const uint32_t s = ringTexture[(first & 31) | row];
                    out[x] = blend::over(out[x], s, s >> 24);
                }
            }
            if (second != 0xFFFF) {
                const uint32_t row = (second + t) & 0x3FE0;
                if (c0 < row && row < c1) out[x] = blend::towardsWhite(out[x], ringMask[(second & 31) | row]);
            }
        }
    }
}

void GlobeEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&clip, &clipend, &worldangle, &timeangle, &textangle});
    std::memcpy(backBuffer, background_.pixels, kScreenPixels * sizeof(uint16_t));
    drawGlobe(backBuffer, globeMap_.get(), dayMap_.pixels32(), nightMap_.pixels32(), worldangle.current,
              timeangle.current);
    drawRing(backBuffer, ringMap_.get(), ringTexture_.pixels32(), ringMask_.pixels, textangle.current, clip.current,
             clipend.current);
}
