#include "effects/logoefu.h"

#include "anim/intmath.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/row_blend.h"

TrackList LogoEffect::tracks() { return {{"pos", &pos}}; }

bool LogoEffect::acquire() {
    if (!picture_.loadJpeg(res::kTitlePanorama)) return false;
    // The scroll reads rows of exactly 240 pixels and one row below the
    // screen, so a picture narrower or shorter than that would be overrun.
    if (!hasShape(picture_, kPictureWidth, picture_.height, 32) || picture_.height < kScreenHeight + 2) {
        picture_.release();
        return false;
    }
    return true;
}

void LogoEffect::release() {
    picture_.release();
}

void LogoEffect::drawScroll(uint16_t* backBuffer, const uint32_t* picture, int32_t height, int32_t pos) {
    // 16.16 row number: the bottom 321 rows at pos 0, approaching the top.
    drawRowBlended(backBuffer, picture, zm::wrapMul(65536 - (pos & 0xFFFF), height - 321), 65536);
}

void LogoEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&pos});
    drawScroll(backBuffer, picture_.pixels32(), picture_.height, pos.current);
}
