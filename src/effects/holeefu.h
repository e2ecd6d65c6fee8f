#pragma once
// "holeefu" (ShaftEffect): a fall down an endless shaft of square
// cross-section whose tiled walls fade to black with distance, with nine
// glowing swimmers (a glow for the head, a wriggling ribbon for the tail)
// hanging in it. The walls are ray-cast at the warp grid's points only and
// texture-mapped in between; the swimmers are projected through the camera's
// matrix and drawn additively. The picture depends on the frame time alone.

#include <cstdint>

#include "assets/image.h"
#include "engine/effect.h"
#include "render/fixed_matrix.h"
#include "render/mesh.h"
#include "render/warp_grid.h"

class ShaftEffect : public Effect {
public:
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The walls are the planes x = +-kWall and y = +-kWall; the shaft runs along z.
    static constexpr int32_t kWall = 32768;
    static constexpr int32_t kNoHit = 1000000;

    // Where one view ray meets the walls: t (256 = one step of the ray's
    // direction), the hit's distance along the shaft and its wall coordinate
    // w (texel row << 8, the four walls in consecutive quarters). A ray that
    // meets no wall within kNoHit keeps the wall coordinate it is given.
    struct WallHit {
        int32_t t, hz, w;
    };
    static WallHit castRay(int32_t dx, int32_t dy, int32_t dz, int32_t camX, int32_t camY, int32_t previousW);

    // Fills the grid's texture coordinates and shades for the view matrix m
    // (rotation part) and the camera's place across the shaft.
    static void castWalls(WarpGrid& grid, const FixedMatrix& m, int32_t camX, int32_t camY, int32_t time);

    // One swimmer with its head at (x, y, z), projected through camera's matrix.
    static void drawSwimmer(uint16_t* backBuffer, const Mesh& camera, const uint32_t* glow, int32_t phase,
                            int32_t x, int32_t y, int32_t z);

    // Adds a w x h 32-bit picture to the back buffer, centred on (cx, cy)
    // and scaled by scale / 256, each channel saturating at 255.
    static void scaledAdditiveBlit(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h, int32_t scale,
                                   const uint32_t* pixels);

    // Adds colour (0x00RRGGBB) over a flat triangle, saturating. A triangle
    // with every corner off the screen is not drawn at all.
    static void additiveTriangle(uint16_t* backBuffer, uint32_t colour, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                 int32_t x2, int32_t y2);

private:
    Image glow_;
    Image wallTexture_;
    Mesh camera_;
    WarpGrid grid_;
};
