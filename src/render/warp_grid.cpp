#include "render/warp_grid.h"

#include "anim/intmath.h"
#include "anim/rgb565.h"

namespace {

constexpr int kCellColumns = kGridColumns - 1;  // 30 cells of 8 pixels: 240
constexpr int kCellRows = kGridRows - 1;        // 40 cells of 8 pixels: 320
constexpr int kRowPitch = kCellColumns * 8;

// Tiled index of the texel at the top 8 bits of u and v (tiledIndex in assets/image.h).
inline uint32_t tiledTexel(uint32_t u, uint32_t v) {
    return ((v >> 16) & 0xF800) | ((u >> 21) & 0x07C0) | ((v >> 21) & 0x0038) | ((u >> 24) & 0x0007);
}

// A texel's channels scaled by f / 256 and packed to RGB565, for f 0..256:
// red and blue share one product, as neither can then carry into the other.
inline uint16_t shadeInRange(uint32_t texel, uint32_t f) {
    const uint32_t rbf = (texel & 0x00FF00FF) * f;
    const uint32_t gf = (texel & 0x0000FF00) * f;
    return static_cast<uint16_t>(((rbf >> 16) & 0xF800) | ((gf >> 13) & 0x07E0) | ((rbf & 0xFFFF) >> 11));
}

// The same for any brightness: the products are unsigned, so the shifts are
// logical, and nothing is clamped.
inline uint16_t shade(uint32_t texel, int32_t brightness) {
    const uint32_t f = static_cast<uint32_t>(brightness);
    if (f <= 256) return shadeInRange(texel, f);
    const uint32_t rf = ((texel >> 16) & 0xFF) * f, gf = ((texel >> 8) & 0xFF) * f, bf = (texel & 0xFF) * f;
    return rgb565::pack(rf >> 8, gf >> 8, bf >> 8);
}

// Fills the 8 x 8 cells by eighth-steps: down each grid column (the left
// edge of one cell is the right edge of the one before, so each column is
// stepped once per pixel row), then across each cell's pixel row. The back
// buffer is written row by row. Coordinates wrap through 32-bit overflow;
// shifts of differences are arithmetic.
template <bool kShaded, typename Texel>
void drawGrid(const WarpGrid& grid, uint16_t* backBuffer, const Texel* texture) {
    uint32_t u[kGridColumns], v[kGridColumns], du[kGridColumns], dv[kGridColumns];
    int32_t l[kGridColumns], dl[kGridColumns];
    for (int br = 0; br < kCellRows; ++br) {
        const int top = br * kGridColumns, bottom = top + kGridColumns;
        for (int k = 0; k < kGridColumns; ++k) {
            u[k] = static_cast<uint32_t>(grid.U[top + k]);
            v[k] = static_cast<uint32_t>(grid.V[top + k]);
            du[k] = static_cast<uint32_t>(zm::wrapSub(grid.U[bottom + k], grid.U[top + k]) >> 3);
            dv[k] = static_cast<uint32_t>(zm::wrapSub(grid.V[bottom + k], grid.V[top + k]) >> 3);
            if constexpr (kShaded) {
                l[k] = grid.L[top + k];
                dl[k] = zm::wrapSub(grid.L[bottom + k], grid.L[top + k]) >> 3;
            }
        }
        for (int row = 0; row < 8; ++row) {
            uint16_t* out = backBuffer + (br * 8 + row) * kRowPitch;
            for (int bc = 0; bc < kCellColumns; ++bc, out += 8) {
                uint32_t pu = u[bc], pv = v[bc];
                const uint32_t su = static_cast<uint32_t>(static_cast<int32_t>(u[bc + 1] - pu) >> 3);
                const uint32_t sv = static_cast<uint32_t>(static_cast<int32_t>(v[bc + 1] - pv) >> 3);
                if constexpr (kShaded) {
                    int32_t pl = l[bc];
                    const int32_t sl = zm::wrapSub(l[bc + 1], pl) >> 3;
                    const int64_t last = int64_t{pl} + 7 * int64_t{sl};
                    if (pl >= 0 && last >= 0 && pl < (257 << 16) && last < (257 << 16)) {
                        // Brightness 0..256 along the whole span, without
                        // wrapping: the common case, free of branches.
#pragma GCC unroll 8
                        for (int x = 0; x < 8; ++x, pu += su, pv += sv, pl += sl) {
                            out[x] = shadeInRange(texture[tiledTexel(pu, pv)], static_cast<uint32_t>(pl >> 16));
                        }
                    } else {
                        for (int x = 0; x < 8; ++x, pu += su, pv += sv, pl = zm::wrapAdd(pl, sl)) {
                            out[x] = shade(texture[tiledTexel(pu, pv)], pl >> 16);
                        }
                    }
                } else {
#pragma GCC unroll 8
                    for (int x = 0; x < 8; ++x, pu += su, pv += sv) out[x] = texture[tiledTexel(pu, pv)];
                }
            }
            for (int k = 0; k < kGridColumns; ++k) {
                u[k] += du[k];
                v[k] += dv[k];
                if constexpr (kShaded) l[k] = zm::wrapAdd(l[k], dl[k]);
            }
        }
    }
}

}  // namespace

void WarpGrid::draw(uint16_t* backBuffer, const uint16_t* texture) const {
    drawGrid<false>(*this, backBuffer, texture);
}

void WarpGrid::drawShaded(uint16_t* backBuffer, const uint32_t* texture) const {
    drawGrid<true>(*this, backBuffer, texture);
}
