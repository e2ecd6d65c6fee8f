#pragma once
// "loppuefu" (EndSceneEffect): the closing scene. The end picture breathes
// vertically behind a spinning object that the script flies through the scene,
// and three credit lines slide in and out over both. Every motion but the
// breathing comes from the tracks: pos1 and pos2 place the first two lines
// along the long axis, pos3 the third across it; camx and camz move the
// object, roll and heading turn it.

#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"
#include "render/mesh.h"

class EndSceneEffect : public Effect {
public:
    static constexpr const char* kCreditLines[3] = {"Morvantide, Inc", "Halverin", "Gathmoor 2002"};

    TrackList tracks() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The breathing background: g (16.16) is the number of picture rows shown
    // at this time, 265 to 315.
    static int32_t shownRows(int32_t time);
    // The picture (240 x 320, 32-bit) stretched to fill the screen at this time.
    static void drawBackground(uint16_t* backBuffer, const uint32_t* picture, int32_t time);

    ParamTrack pos1, pos2, pos3, camx, camz, roll, heading;

private:
    Image background_;
    Image objectMap_;
    Mesh object_;
};
