#pragma once
// A 31 x 41 grid of texture coordinates drawn over the whole 240 x 320 back
// buffer: grid point (k, j) stands for pixel (8k, 8j), and each 8 x 8 cell
// between four points is filled by interpolating in eighth-steps.
//
// U and V are 8.24 texture coordinates (bits 24-31 give the texel column and
// row; 32-bit overflow wraps around the texture). L is a 16.16 brightness
// read only by drawShaded: 0 is black, 256 leaves the texel unchanged.
// The planes are not initialised; the owner fills them before drawing.

#include <cstdint>

#include "anim/intmath.h"
#include "render/grid_tables.h"

class WarpGrid {
public:
    virtual ~WarpGrid() = default;

    int32_t U[kGridPoints];
    int32_t V[kGridPoints];
    int32_t L[kGridPoints];

    // Point i's U and V: the point (x, y) turned by the cosine cs and sine
    // sn, moved by (dx, dy) and multiplied by factor, wrapping at 32 bits:
    // U = (cs x - sn y + dx) x factor, V = (sn x + cs y + dy) x factor.
    void setTurned(int i, int32_t cs, int32_t sn, int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t factor) {
        using zm::wrapAdd, zm::wrapMul;
        U[i] = wrapMul(wrapAdd(zm::wrapSub(wrapMul(cs, x), wrapMul(sn, y)), dx), factor);
        V[i] = wrapMul(wrapAdd(wrapAdd(wrapMul(sn, x), wrapMul(cs, y)), dy), factor);
    }

    // texture: a tiled 256 x 256 RGB565 picture. Copies texels.
    void draw(uint16_t* backBuffer, const uint16_t* texture) const;

    // texture: a tiled 256 x 256 picture of 32-bit pixels (blue bits 0-7,
    // green 8-15, red 16-23); each texel is scaled by the brightness.
    void drawShaded(uint16_t* backBuffer, const uint32_t* texture) const;
};
