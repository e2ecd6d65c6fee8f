#include "render/warp_grid.h"

#include "anim/intmath.h"
#include "render/tiled_texel.h"

namespace {

constexpr int kCellColumns = kGridColumns - 1;  // 30 cells of 8 pixels: 240
constexpr int kCellRows = kGridRows - 1;        // 40 cells of 8 pixels: 320
constexpr int kRowPitch = kCellColumns * 8;

// Fills every 8 x 8 cell by stepping the corner values in eighths: down the
// left and right edges per row, then across each row per pixel. Coordinates
// wrap through 32-bit overflow; shifts of differences are arithmetic.
template <bool kShaded, typename Pixel>
void drawGrid(const WarpGrid& grid, uint16_t* backBuffer, Pixel pixel) {
    for (int br = 0; br < kCellRows; ++br) {
        for (int bc = 0; bc < kCellColumns; ++bc) {
            const int tl = br * kGridColumns + bc;
            const int tr = tl + 1, bl = tl + kGridColumns, brr = tl + kGridColumns + 1;
            int32_t uL = grid.U[tl], uR = grid.U[tr];
            int32_t vL = grid.V[tl], vR = grid.V[tr];
            const int32_t duL = zm::wrapSub(grid.U[bl], grid.U[tl]) >> 3;
            const int32_t duR = zm::wrapSub(grid.U[brr], grid.U[tr]) >> 3;
            const int32_t dvL = zm::wrapSub(grid.V[bl], grid.V[tl]) >> 3;
            const int32_t dvR = zm::wrapSub(grid.V[brr], grid.V[tr]) >> 3;
            int32_t lL = 0, lR = 0, dlL = 0, dlR = 0;
            if constexpr (kShaded) {
                lL = grid.L[tl];
                lR = grid.L[tr];
                dlL = zm::wrapSub(grid.L[bl], grid.L[tl]) >> 3;
                dlR = zm::wrapSub(grid.L[brr], grid.L[tr]) >> 3;
            }
            uint16_t* out = backBuffer + (br * 8) * kRowPitch + bc * 8;
            for (int row = 0; row < 8; ++row, out += kRowPitch) {
                const int32_t du = zm::wrapSub(uR, uL) >> 3;
                const int32_t dv = zm::wrapSub(vR, vL) >> 3;
                uint32_t u = static_cast<uint32_t>(uL), v = static_cast<uint32_t>(vL);
                if constexpr (kShaded) {
                    const int32_t dl = zm::wrapSub(lR, lL) >> 3;
                    int32_t l = lL;
                    for (int x = 0; x < 8; ++x) {
                        out[x] = pixel(tiledIndex(u >> 24, v >> 24), l >> 16);
                        u += static_cast<uint32_t>(du);
                        v += static_cast<uint32_t>(dv);
                        l = zm::wrapAdd(l, dl);
                    }
                    lL = zm::wrapAdd(lL, dlL);
                    lR = zm::wrapAdd(lR, dlR);
                } else {
                    for (int x = 0; x < 8; ++x) {
                        out[x] = pixel(tiledIndex(u >> 24, v >> 24), 0);
                        u += static_cast<uint32_t>(du);
                        v += static_cast<uint32_t>(dv);
                    }
                }
                uL = zm::wrapAdd(uL, duL);
                uR = zm::wrapAdd(uR, duR);
                vL = zm::wrapAdd(vL, dvL);
                vR = zm::wrapAdd(vR, dvR);
            }
        }
    }
}

}  // namespace

void WarpGrid::draw(uint16_t* backBuffer, const uint16_t* texture) const {
    drawGrid<false>(*this, backBuffer, [texture](uint32_t index, int32_t) { return texture[index]; });
}

void WarpGrid::drawShaded(uint16_t* backBuffer, const uint32_t* texture) const {
    drawGrid<true>(*this, backBuffer, [texture](uint32_t index, int32_t brightness) {
        // Channels scaled by brightness / 256 and packed to RGB565. The
        // products are unsigned, so the shifts are logical; no clamping.
        const uint32_t texel = texture[index];
        const uint32_t f = static_cast<uint32_t>(brightness);
        const uint32_t r = (texel >> 16) & 0xFF, g = (texel >> 8) & 0xFF, b = texel & 0xFF;
        return static_cast<uint16_t>(((((r * f) >> 8) & 0xF8) << 8) | ((((g * f) >> 8) & 0xFC) << 3) | ((b * f) >> 11));
    });
}
