#include "effects/loppuefu.h"

#include "assets/font.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/fixed_matrix.h"
#include "render/row_blend.h"

namespace {
constexpr float kObjectScale = 20.1f;
constexpr int32_t kHalfTurn = 0x8000;
}  // namespace

TrackList EndSceneEffect::tracks() {
    return {{"pos1", &pos1}, {"pos2", &pos2}, {"pos3", &pos3}, {"camx", &camx},
            {"camz", &camz}, {"roll", &roll}, {"heading", &heading}};
}

bool EndSceneEffect::acquire() {
    // The stretch reads whole 240-pixel rows of a 320-row picture; another
    // shape would be read out of bounds.
    if (!background_.loadJpeg(res::kEndPicture) || !hasShape(background_, kScreenWidth, kScreenHeight, 32))
        return false;
    if (!objectMap_.loadTiled16(res::kTunnelObjectMap) || !hasShape(objectMap_, 256, 256, 16)) return false;
    if (!object_.loadMesh(res::kSpinningObject, kObjectScale)) return false;
    return true;
}

void EndSceneEffect::release() {
    background_.release();
    objectMap_.release();
    object_.release();
}

int32_t EndSceneEffect::shownRows(int32_t time) { return breathingRows(time, 0.00145, 25.0, 290.0); }

void EndSceneEffect::drawBackground(uint16_t* backBuffer, const uint32_t* picture, int32_t time) {
    drawStretched(backBuffer, picture, shownRows(time));
}

void EndSceneEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&pos1, &pos2, &pos3, &camx, &camz, &roll, &heading});

    drawBackground(backBuffer, background_.pixels32(), time);

    // Turned half a turn about y, then by roll about z and heading about x,
    // then moved: camx along the screen's vertical axis, camz in depth.
    FixedMatrix m;
    setIdentity(m);
    translate(m, 0, camx.current, camz.current);
    rotate(m, heading.current, 'x');
    rotate(m, roll.current, 'z');
    rotate(m, kHalfTurn, 'y');
    object_.setMatrix(m);
    object_.texture = objectMap_.pixels16();
    object_.transform();
    object_.draw(backBuffer);

    drawText(backBuffer, pos1.current, 90, kCreditLines[0], -1);
    drawText(backBuffer, pos2.current, 120, kCreditLines[1], -1);
    drawText(backBuffer, 160, pos3.current, kCreditLines[2], -1);
}
