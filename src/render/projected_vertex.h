#pragma once
// One vertex after a frame's transformation: where it lands on the screen,
// its view depth, its normal turned into view space and the environment-map
// texture coordinates derived from that normal.

#include <cstdint>

struct ProjectedVertex {
    int32_t screenX, screenY;             // pixels
    int32_t depth;                        // view-space z, vertex units
    int32_t normalX, normalY, normalZ;    // 8.8
    int32_t texU, texV;                   // 0..256
};
