#pragma once
// "vesiefu" (WaterEffect): a ring tumbling in front of a rippling water
// surface. The surface is a 120 x 160 height field (one cell per 2 x 2 pixels)
// run by the two-buffer wave simulation; the ring's triangles that cross the
// water plane push it, the picture under the water is drawn displaced by the
// surface slopes, and the ring is drawn on top with its parts beyond the plane
// darkened. "distance" moves the ring away from the viewer, "speed" sets how
// fast it turns (256: 4, 15 and 7 angle units per millisecond).

#include <cstdint>
#include <vector>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"
#include "render/mesh.h"

class WaterEffect : public Effect {
public:
    static constexpr int kCellColumns = 120, kCellRows = 160;
    static constexpr int kFieldCells = kCellColumns * kCellRows;
    // View depth of the water plane.
    static constexpr int32_t kWaterDepth = 102400;

    TrackList tracks() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // One step of the wave simulation with the water drawn from it: the new
    // heights replace previous in place; water is the 256 x 256 linear
    // RGB565 picture. Every neighbour read lands in the fields or in the zero
    // margins around them, which the block below provides.
    static void rippleAndDraw(uint16_t* backBuffer, const int32_t* current, int32_t* previous, const uint16_t* water);

    // The fields this frame reads (current) and rewrites (previous); null
    // before init.
    int32_t* currentField() { return current_; }
    int32_t* previousField() { return previous_; }

    ParamTrack distance, speed;
    // Rotation angles (65536 units to a turn) and the previous frame's time;
    // they persist across showings.
    int32_t xAngle = 0, yAngle = 0, zAngle = 0, previousTime = 0;

protected:
    // The angles, the time and both height fields with which of them is current.
    std::unique_ptr<TargetState> saveBuiltState() const override;
    void restoreBuiltState(const TargetState& state) override;

private:
    Image water_, ringMap_;
    Mesh ring_;
    // Both fields with zero margins: 960 cells, field A, 1920 cells, field B,
    // 960 cells. The margins cover the furthest reads (two rows ahead, one
    // row behind) and are never written.
    std::vector<int32_t> block_;
    int32_t* current_ = nullptr;
    int32_t* previous_ = nullptr;
};
