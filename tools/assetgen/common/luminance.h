#pragma once
// Brightness as the eye weighs it: relative luminance in linear light, and
// colours moved to another luminance without changing their hue or
// saturation. Pictures that move fast keep their colours' luminance close
// together, so that the motion does not read as light and dark flashing.

#include "common/canvas.h"

namespace assetgen {

// Relative luminance of an sRGB colour (channels 0..255), 0 (black) to 1 (white).
double relativeLuminance(const Colour& c);

// c with its luminance drawn towards target: keep = 1 leaves it, keep = 0
// gives exactly target. The linear channels are scaled alike, so the hue and
// saturation stay (channels that would pass 255 are clamped).
Colour towardsLuminance(const Colour& c, double target, double keep);

}  // namespace assetgen
