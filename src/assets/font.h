#pragma once
// The bitmap font: two grey 1264 x 32 pictures side by side in one strip,
// brightness (JPEG 163) and coverage (JPEG 164). Text is drawn at half size,
// running along the long side of the back buffer (landscape view).

#include <cstdint>

#include "assets/image.h"

// Loads brightness then coverage; false if either fails.
bool loadFont();
// The same from JPEG bytes held by the caller.
bool loadFont(Image::Bytes brightnessJpeg, Image::Bytes coverageJpeg);
void releaseFont();

// Width and left column of the glyph for ch in the strip (font pixels).
int glyphWidth(unsigned char ch);
int glyphOffset(unsigned char ch);

// Draws text centred at landscape (x, y): x along the text (0..319, back
// buffer row 319 - x), y across it (0..239, back buffer column y). maxChars
// limits the characters drawn: -1 all, 0 or another negative value none; the
// position is always that of the whole string.
void drawText(uint16_t* backBuffer, int x, int y, const char* text, int maxChars);

// One text pixel: each 8-bit channel v of the RGB565 destination becomes
// (brightness * coverage + v * (256 - coverage)) >> 8.
uint16_t blendTextPixel(uint16_t destination, int brightness, int coverage);

const Image& fontBrightness();
const Image& fontCoverage();
