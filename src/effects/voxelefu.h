#pragma once
// "voxelefu" (VoxelEffect): a low flight over a height-mapped landscape, drawn
// column by column front to back (each view column fills two screen rows; the
// view's up is the screen's left), with a banking horizon and a gradient sky.
// The "crossfade" track dissolves it into a full-screen picture.
//
// The camera advances once per rendered frame, not by elapsed time, and is
// never reset: a later showing flies on from where the last one stopped.

#include <array>
#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"

class VoxelEffect : public Effect {
public:
    TrackList tracks() override;
    bool load() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The camera's place and bearing at one frame.
    struct View {
        int32_t heading;  // 2048 units to a turn; only the low 11 bits count
        int32_t x, y;     // 8.8 texel units
        int32_t turn;     // -256..256: banks the horizon
    };

    // The landscape and sky over the whole back buffer. texture: tiled
    // 256 x 256, 32-bit, the ground's depth in the top byte.
    static void drawLandscape(uint16_t* backBuffer, const uint32_t* texture, const int32_t* sine,
                              const int32_t* cosine, const View& view);
    // Each pixel becomes (picture * cf + pixel * (256 - cf)) >> 8 per channel.
    static void crossFade(uint16_t* backBuffer, const uint32_t* picture, int32_t cf);

    ParamTrack crossfade;

    // The camera, as it stands after the last frame drawn.
    int32_t heading() const { return camera_.heading; }
    float positionX() const { return camera_.x; }
    float positionY() const { return camera_.y; }

protected:
    std::unique_ptr<TargetState> saveBuiltState() const override { return copyState(camera_); }
    void restoreBuiltState(const TargetState& state) override;

private:
    struct Camera {
        int32_t turn = 0;
        int32_t speed = 360;
        int32_t heading = 1024;
        float x = 0.0f, y = 0.0f;
        // The camera moves once per frame; drawing the same moment again
        // (after a re-initialisation, or while the show's clock stands
        // still) shows the same view.
        bool moved = false;
        int32_t movedAt = 0;
    };

    void advanceCamera(int32_t time);

    Image landscape_;
    Image fadePicture_;
    std::array<int32_t, 2048> sine_{};
    std::array<int32_t, 2048> cosine_{};
    Camera camera_;
};
