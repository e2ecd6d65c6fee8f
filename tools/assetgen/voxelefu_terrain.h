#pragma once
// The landscape's height field: 256 x 256, wrapping in both directions,
// shaped by rain (droplet erosion) so that it has ridges, carved valleys,
// lakes and a coastline, with fine detail on top.

#include <vector>

namespace assetgen {

struct Terrain {
    static constexpr int kSize = 256;
    std::vector<double> height;  // higher is higher ground, roughly 0..1
    std::vector<double> wetness; // how much water ran over each texel (0..1), for painting
    double seaLevel = 0;         // heights below it are under water

    double at(int x, int y) const { return height[index(x, y)]; }
    double wetAt(int x, int y) const { return wetness[index(x, y)]; }
    // Index with wrap-around in both directions.
    static int index(int x, int y) { return (y & (kSize - 1)) * kSize + (x & (kSize - 1)); }
};

Terrain makeTerrain();

}  // namespace assetgen
