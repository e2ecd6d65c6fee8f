#pragma once
// Scanline triangle fillers for the 240 x 320 back buffer.
//
// A triangle with all three vertices off-screen is not drawn at all; one
// with some off-screen is tested pixel by pixel; one wholly on screen takes
// a path without tests. Edges and spans step in 8.8 fixed point; the bottom
// row and the right end of each span are never written.
// Textures are tiled 256 x 256 RGB565 pictures, coordinates wrap every 256 texels.

#include <cstdint>

#include "render/projected_vertex.h"

// Affine texture mapping with texU, texV.
void fillTextured(uint16_t* backBuffer, const uint16_t* texture, const ProjectedVertex& first,
                  const ProjectedVertex& second, const ProjectedVertex& third);

// As fillTextured, but pixels whose interpolated depth is at or beyond
// depthLimit halve the pixel already there instead.
void fillTexturedSplit(uint16_t* backBuffer, const uint16_t* texture, const ProjectedVertex& first,
                       const ProjectedVertex& second, const ProjectedVertex& third, int32_t depthLimit);

// Halves every covered pixel: a 50 % darker copy of what is there.
void fillHalved(uint16_t* backBuffer, const ProjectedVertex& first, const ProjectedVertex& second,
                const ProjectedVertex& third);

// Adds 128 to the 120 x 160 coverage counter of every covered pixel's 2 x 2 block.
void fillCoverage(int32_t* coverage, const ProjectedVertex& first, const ProjectedVertex& second,
                  const ProjectedVertex& third);

// (pixel >> 1) with each RGB565 channel's carried-in bit cleared.
constexpr uint16_t halvePixel(uint16_t pixel) { return static_cast<uint16_t>((pixel >> 1) & 0x7BEF); }
