#pragma once
// The measures of a flash, taken from a colour in linear light (sRGB
// primaries, each channel 0 to 1), as the published definitions of general
// and red flashes state them.

#include <array>
#include <cstdint>

namespace flash {

// The linear value of each 8-bit sRGB channel value (the 0.04045 threshold
// between the straight and the power segment).
const std::array<float, 256>& linearFromSrgb();

struct LinearColour {
    float r = 0, g = 0, b = 0;
};

// Relative luminance, 0 (black) to 1 (white).
float relativeLuminance(LinearColour c);

// A saturated red: red is at least 80% of R + G + B.
bool isSaturatedRed(LinearColour c);

// (R - G - B) x 320, negative values counted as 0: the quantity whose
// change makes a red flash (more than 20).
float redFlashValue(LinearColour c);

// The CIE 1976 u'v' distance from the sRGB red primary's chromaticity.
// A red flash by chromaticity changes it by more than 0.2 between a
// saturated red and another state. Dark colours have no colour to see: below
// a luminance of 0.02 the chromaticity is drawn toward D65 white in
// proportion, so black reads as neutral and a dim red that looks black
// cannot flash on chromaticity alone.
float distanceFromRed(LinearColour c);

}  // namespace flash
