#pragma once
// Fills the back buffer from a 240-wide picture of 32-bit pixels, screen row
// r showing the picture at row y + r x step (16.16 fixed point): the two
// picture rows around that position blended by its fraction. The logo
// scroll moves y with step 1.0; the backgrounds that breathe stretch the
// picture vertically with step = shown rows / 320.
//
// Per channel: (upper x (0xFFFF - e) + lower x e) >> 16, e the fraction, then
// packed to RGB565. The weights add up to 65535, so equal rows of value v
// give v - 1 before packing (the picture is a shade darker; this is intended).
// The caller keeps every row read, (y >> 16) + 1 included, inside the picture.

#include <cstdint>

#include "anim/rgb565.h"

// One pixel of the blend: u from the picture row above the position, w from
// the row below, e the position's fraction (0..0xFFFF).
inline uint16_t rowBlendedPixel(uint32_t u, uint32_t w, uint32_t e) {
    const uint32_t f = 0xFFFF - e;
    const uint32_t red = ((u >> 16) & 255) * f + ((w >> 16) & 255) * e;
    const uint32_t green = ((u >> 8) & 255) * f + ((w >> 8) & 255) * e;
    const uint32_t blue = (u & 255) * f + (w & 255) * e;
    return rgb565::pack(red >> 16, green >> 16, blue >> 16);
}

void drawRowBlended(uint16_t* backBuffer, const uint32_t* picture, int32_t y, int32_t step);

// The start and step that show g rows (16.16) of a 320-row picture centred
// on the screen: y = (320 << 16 - g) >> 1, step = g / 320.
void stretchedRows(int32_t g, int32_t& y, int32_t& step);

// The picture stretched to show g rows (16.16) centred on the screen: the
// rows of stretchedRows, drawn with drawRowBlended.
void drawStretched(uint16_t* backBuffer, const uint32_t* picture, int32_t g);

// The rows shown by a backdrop that breathes: (sin(time x rate) x amplitude +
// middle) x 65536 in double precision, truncated to 16.16.
int32_t breathingRows(int32_t time, double rate, double amplitude, double middle);
