#pragma once
// The "Loading.." box: a small captioned box with a progress bar, centred on
// a black picture. Painted in picture pixels, so it is enlarged with the
// picture like everything else the window shows.

#include <cstdint>

// Paints the whole picture (width x height words 0xFFRRGGBB): black, with the
// box in the middle and its bar standing at position within low..high.
void paintLoadingBox(uint32_t* picture, int width, int height, int low, int high, int position);
