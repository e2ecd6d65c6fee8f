#pragma once
// The view of the globe scene and the two lookup maps computed from it.
//
// Everything is described in the landscape view (the back buffer turned a
// quarter turn clockwise): back-buffer pixel (x, y) is landscape column
// 319 - y, row x. The camera looks down -z at a unit sphere at the origin,
// landscape right is +x and up is +y; the planet's axis is +y (north up).
//
// Texture coordinates of the planet maps (256 x 512): column u is the
// colatitude (0 at the north pole, 255 at the south pole), row v the
// longitude, growing eastwards (to the right on the near side), with v = 256
// facing the camera when the globe has not turned.

#include <cstdint>
#include <vector>

namespace globe {

constexpr double kPi = 3.141592653589793;

// Direction on the unit sphere of texel centre (u, v) of the planet maps.
struct Vec3 {
    double x, y, z;
};
Vec3 texelDirection(double u, double v);

// The sphere map: 240 x 240 little-endian int32 entries (v * 256 + u, or -1
// outside the disc) for the square of back-buffer rows 40..279.
std::vector<uint8_t> sphereMap();

// The ring map: 64 x 320 little-endian uint32 entries for back-buffer columns
// 88..151 on all rows. Bits 0-15 hold the far side of the ring of lettering,
// bits 16-31 the near side, each as row * 32 + column of the 32 x 512 ring
// textures, or 0xFFFF where the ray misses that side (or the planet hides it).
std::vector<uint8_t> ringMap();

// Landscape centre of the globe's disc (pixel-edge coordinates) and its radius.
constexpr double kCentreX = 159.0, kCentreY = 120.0, kDiscRadius = 101.0;

}  // namespace globe
