#pragma once
// "tunnelefu" (TunnelEffect): a flight through a round tunnel. Every warp-grid
// point casts a ray from a wandering camera to the tunnel's wall; the hit
// gives the texel row (the angle round the axis), the texel column (depth,
// scrolling with time) and a brightness falling with depth. A chrome object
// spins ahead of the camera at the depth "distance" adds.

#include <cstdint>
#include <memory>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"
#include "render/fixed_matrix.h"
#include "render/mesh.h"
#include "render/warp_grid.h"

class TunnelEffect : public Effect {
public:
    // The angle table: 256 x 256 entries, row y + 128 and column x + 128 for
    // the point (x, y), -128..127 each; 2^32 units to a turn.
    static constexpr int kAngleEntries = 256 * 256;
    // Depth given to a ray along the axis: far enough to be black.
    static constexpr int32_t kAxisDepth = 256000;

    TrackList tracks() override;
    bool load() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The angle table's entry for (row, column), 0..255 each; load() first.
    int32_t angle(int row, int column) const { return angles_[row * 256 + column]; }
    // The view matrix and camera position (e, h) at this time for this distance.
    static FixedMatrix viewMatrix(int32_t time, int32_t distance, int32_t& e, int32_t& h);
    // Fills the grid's U, V and L planes from the matrix and camera.
    void castRays(WarpGrid& grid, const FixedMatrix& m, int32_t e, int32_t h, int32_t time) const;
    // The wall's brightness (16.16, 0..255) at depth d.
    static int32_t brightness(int32_t d);

    const WarpGrid& grid() const { return grid_; }

    ParamTrack distance;

private:
    std::unique_ptr<int32_t[]> angles_;
    Image objectTexture_, wallTexture_;
    Mesh object_;
    WarpGrid grid_;
};
