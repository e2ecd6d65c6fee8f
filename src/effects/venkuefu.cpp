#include "effects/venkuefu.h"

#include <cmath>

#include "anim/intmath.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "effects/pixel_blend.h"
#include "render/grid_tables.h"
#include "render/scaled_blit.h"
#include "render/sine_tables.h"

using zm::wrapAdd;
using zm::wrapMul;

namespace {

// Picture and alpha of each credit, in credit order.
constexpr int kCreditIds[CreditsEffect::kCreditPictures][2] = {
    {res::kCredit1, res::kCredit1Mask}, {res::kCredit2, res::kCredit2Mask},
    {res::kCredit3, res::kCredit3Mask}, {res::kCredit4, res::kCredit4Mask}};
// A fixed phase, so the first frame does not start at the curves' origin.
constexpr int32_t kPhase = 5420556;

bool isPicture(const Image& image) { return hasShape(image, image.width, image.height, 32); }

}  // namespace

TrackList CreditsEffect::tracks() { return {{"credit", &credit}, {"scale", &scale}}; }

bool CreditsEffect::load() {
    sine_ = sineTable1023();
    return true;
}

bool CreditsEffect::acquire() {
    if (!texture_.loadTiled16(res::kCreditsTexture) || !hasShape(texture_, 256, 256, 16)) return false;
    if (!television_.loadWithMask(res::kTelevision, res::kTelevisionMask) || !isPicture(television_)) return false;
    for (int i = 0; i < kCreditPictures; ++i) {
        if (!credits_[i].loadWithMask(kCreditIds[i][0], kCreditIds[i][1]) || !isPicture(credits_[i])) return false;
    }
    return true;
}

void CreditsEffect::release() {
    texture_.release();
    television_.release();
    for (Image& picture : credits_) picture.release();
}

void CreditsEffect::drawWarp(uint16_t* backBuffer, int32_t time) {
    const int32_t a = wrapAdd(time, kPhase);
    const int32_t p1 = wrapMul(a, -13) >> 4, p2 = wrapMul(a, 14) >> 6;
    const int32_t p3 = wrapMul(a, -5) >> 5, p4 = wrapMul(a, -10) >> 6;
    const int32_t y0 = wrapMul(sine(wrapMul(a, -35) >> 8), 1 << 20);
    const int32_t x0 = wrapMul(sine(wrapMul(a, 15) >> 8), 1 << 20);
    int i = 0;
    for (int32_t j = -20; j <= 20; ++j) {
        for (int32_t k = -15; k <= 15; ++k, ++i) {
            const int32_t angle = gridAngle[i], radius = gridRadius[i];
            // Zoom by direction, twist by distance, both drifting with time.
            const int32_t zoom = (sine(wrapAdd(3 * angle, p1)) + 6400) * 8;
            const int32_t twist = (sine(((radius * 17) >> 8) + p3) >> 3) + (sine(((radius * 11) >> 8) + p2) >> 4) + p4;
            const int32_t sn = wrapMul(sine(twist), zoom), cs = wrapMul(sine(twist - 256), zoom);
            grid_.setTurned(i, cs, sn, k, j, x0, y0, 2);
        }
    }
    grid_.draw(backBuffer, texture_.pixels16());
}

void CreditsEffect::pictureCentre(int32_t time, int32_t creditValue, int32_t& cx, int32_t& cy) const {
    const int32_t a = wrapAdd(time, kPhase);
    cx = (sine(wrapMul(a, 6) >> 3) >> 7) + 130;
    cy = (sine(wrapMul(a, 5) >> 3) >> 7) - (creditValue >> 1) + 130;
}

void CreditsEffect::drawPictures(uint16_t* backBuffer, int32_t time) const {
    int32_t cx = 0, cy = 0;
    pictureCentre(time, credit.current, cx, cy);
    const Image& picture = creditPicture(credit.current & 3);
    scaledAlphaBlit(backBuffer, cx, cy, television_.width, television_.height, scale.current, television_.pixels32());
    scaledAlphaBlit(backBuffer, cx, cy, picture.width, picture.height, scale.current, picture.pixels32());
}

void CreditsEffect::scaledAlphaBlit(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h,
                                    int32_t factor, const uint32_t* pixels) {
    drawScaledCentred(backBuffer, cx, cy, w, h, factor, pixels, [](uint16_t& out, uint32_t p) {
        // Alpha 0 gives back exactly the destination: nothing to do.
        const uint32_t alpha = p >> 24;
        if (alpha == 255) out = blend::overOpaque(out, p);
        else if (alpha != 0) out = blend::over(out, p, alpha);
    });
}

void CreditsEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&credit, &scale});
    drawWarp(backBuffer, time);
    drawPictures(backBuffer, time);
}
