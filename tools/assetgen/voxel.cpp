// The landscape flight's pictures: the ground's depth (also the writhing
// tube's bump map) and the ground's colour painted from it, both 256 x 256
// and seamless in both directions.
//
// Depth: 0 is the highest ground, 128 the shoreline, above 128 is water.
// The water stays close to 128 (a nearly level surface with small waves),
// because the landscape draws water at its own depth.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "voxel_terrain.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;
using assetgen::Terrain;

constexpr int N = Terrain::kSize;

double tiledFbm(double x, double y, int period, int octaves, uint32_t seed) {
    return assetgen::fbm(x * period / N, y * period / N, octaves, seed, period);
}

// Land height above the sea, 0 at the shore and 1 on the highest peak.
double elevation(const Terrain& t, int x, int y) {
    const double e = (t.at(x, y) - t.seaLevel) / (1.0 - t.seaLevel);
    // Wide lowlands, mountains where the relief rises most.
    return e > 0 ? std::pow(e, 1.2) : e;
}

double depthAt(const Terrain& t, int x, int y) {
    const double e = elevation(t, x, y);
    if (e >= 0) return 128.0 * (1.0 - e);
    const double under = -e * (1.0 - t.seaLevel) / t.seaLevel;  // 0 at the shore, 1 at the deepest
    const double waves = (tiledFbm(x, y, 64, 2, 650) - 0.5) * 3.0;
    return std::clamp(129.5 + 24.0 * (1.0 - std::exp(-5.0 * under)) + waves, 129.0, 255.0);
}

Canvas paintDepth(const Terrain& t) {
    Canvas depth(N, N, 1);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) depth.setGrey(x, y, depthAt(t, x, y));
    return depth;
}

// Light falling from the upper left and a little from above: 1 on flat
// ground, brighter on slopes facing it, darker on those turned away.
double hillShade(const Terrain& t, int x, int y) {
    const double scale = 90.0;  // height units per texel, for steepness
    const double gx = (t.at(x + 1, y) - t.at(x - 1, y)) * 0.5 * scale;
    const double gy = (t.at(x, y + 1) - t.at(x, y - 1)) * 0.5 * scale;
    const double nx = -gx, ny = -gy, nz = 1.0;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double lx = -0.55, ly = -0.45, lz = 0.70;
    const double lit = (nx * lx + ny * ly + nz * lz) / len;
    return std::clamp(0.35 + 0.9 * lit, 0.3, 1.35);
}

double steepness(const Terrain& t, int x, int y) {
    const double gx = t.at(x + 1, y) - t.at(x - 1, y), gy = t.at(x, y + 1) - t.at(x, y - 1);
    return std::hypot(gx, gy) * 45.0;
}

Colour scaled(const Colour& c, double k) {
    return {std::min(255.0, c.r * k), std::min(255.0, c.g * k), std::min(255.0, c.b * k)};
}

// Water: turquoise over the shallows, deep blue further out. The landscape
// shifts the blue of samples seen through water to 192 + blue / 4, so the
// red and green carry the water's character.
Colour waterColour(const Terrain& t, int x, int y) {
    const double under = std::clamp(-elevation(t, x, y) * (1.0 - t.seaLevel) / t.seaLevel, 0.0, 1.0);
    const double shallow = std::exp(-9.0 * under);
    Colour c = mix(Colour{10, 44, 150}, Colour{50, 150, 190}, shallow);
    const double sparkle = tiledFbm(x, y, 64, 2, 660);
    return scaled(c, 0.85 + 0.3 * sparkle);
}

Colour landColour(const Terrain& t, int x, int y) {
    const double e = elevation(t, x, y);
    const double slope = steepness(t, x, y);
    const double wet = t.wetAt(x, y);
    const double n1 = tiledFbm(x, y, 16, 4, 670);   // patches of wood and meadow
    const double n2 = tiledFbm(x, y, 64, 2, 671);   // texel-scale speckle
    const double snowline = 0.62 + (tiledFbm(x, y, 8, 3, 672) - 0.5) * 0.18;

    const Colour sand{214, 196, 140}, meadow{112, 152, 58}, dryGrass{150, 150, 72};
    const Colour forest{34, 82, 36}, darkForest{22, 58, 30}, scrub{96, 100, 62};
    const Colour rock{118, 108, 96}, darkRock{78, 72, 68}, snow{238, 242, 250};

    // Lowland: meadows with woods in patches, more wood where water gathers.
    Colour c = mix(meadow, dryGrass, smoothstep(0.3, 0.8, n2) * 0.5);
    const double woods = smoothstep(0.47, 0.56, n1 + wet * 0.25 - e * 0.2);
    c = mix(c, mix(forest, darkForest, n2), woods);
    // Higher up the trees thin into scrub, then bare rock.
    c = mix(c, scrub, smoothstep(0.28, 0.42, e));
    c = mix(c, mix(rock, darkRock, n2), smoothstep(0.42, 0.55, e));
    // Cliffs are rock wherever they stand.
    c = mix(c, mix(rock, darkRock, n1), smoothstep(0.9, 1.6, slope));
    // Snow on the heights, lying on gentle slopes only.
    c = mix(c, snow, smoothstep(snowline, snowline + 0.06, e) * (1.0 - smoothstep(1.4, 2.2, slope)));
    // Green, damp valley floors along the streams.
    c = mix(c, Colour{40, 96, 44}, smoothstep(0.55, 0.85, wet) * (1.0 - smoothstep(0.3, 0.5, e)) * 0.7);
    // Beach along the shore.
    c = mix(c, sand, 1.0 - smoothstep(0.004, 0.016, e + (n2 - 0.5) * 0.008));
    return scaled(c, hillShade(t, x, y) * (0.92 + 0.16 * n2));
}

Canvas paintColour(const Terrain& t) {
    Canvas colour(N, N, 3);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) colour.set(x, y, elevation(t, x, y) < 0 ? waterColour(t, x, y) : landColour(t, x, y));
    return colour;
}

}  // namespace

void generate(assetgen::Output& out) {
    const Terrain terrain = assetgen::makeTerrain();
    assetgen::addPictureWithMask(out, res::kGroundColour, res::kGroundDepth, paintColour(terrain), paintDepth(terrain));
}
