#pragma once
// Deep-space backdrops: scattered stars of many sizes and a faint nebula.

#include <cstdint>

#include "common/canvas.h"

namespace assetgen {

// Adds light to a pixel (clamped at 255), for stars and glows that should
// brighten what lies below them rather than cover it.
void addLight(Canvas& canvas, int x, int y, const Colour& c, double amount);

// A soft round spot of light added around (cx, cy): Gaussian of the given radius.
void addGlow(Canvas& canvas, double cx, double cy, double radius, const Colour& c, double amount);

// count stars over the whole canvas: mostly faint points, a few bright ones
// with a halo and, for the brightest, a thin cross of light.
void addStars(Canvas& canvas, int count, uint64_t seed);

// Faint coloured gas clouds (additive). strength scales the brightest parts
// (0..255); featureSize is the size of the larger clouds in pixels.
void addNebula(Canvas& canvas, double strength, uint32_t seed, double featureSize = 90.0);

}  // namespace assetgen
