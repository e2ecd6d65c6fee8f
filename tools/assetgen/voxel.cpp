// The landscape flight's pictures: the ground's depth (also the writhing
// tube's bump map) and the ground's colour painted from it, both 256 x 256
// and seamless in both directions, and the view the flight dissolves into:
// the same country from afar at dusk, under the sky the flight flew in.
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
#include "common/starfield.h"
#include "voxel_terrain.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;
using assetgen::Terrain;
using assetgen::tiledFbm;

constexpr int N = Terrain::kSize;


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
    const double waves = (tiledFbm(x, y, N, 64, 2, 650) - 0.5) * 3.0;
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
    const double sparkle = tiledFbm(x, y, N, 64, 2, 660);
    return scaled(c, 0.85 + 0.3 * sparkle);
}

Colour landColour(const Terrain& t, int x, int y) {
    const double e = elevation(t, x, y);
    const double slope = steepness(t, x, y);
    const double wet = t.wetAt(x, y);
    const double n1 = tiledFbm(x, y, N, 16, 4, 670);   // patches of wood and meadow
    const double n2 = tiledFbm(x, y, N, 64, 2, 671);   // texel-scale speckle
    const double snowline = 0.62 + (tiledFbm(x, y, N, 8, 3, 672) - 0.5) * 0.18;

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

// The dusk view, 320 x 240 as watched: a sky running from the flight's
// yellow horizon through orange to violet, the sun on the horizon, ranges
// of mountains fading into the haze, a lake mirroring it all, dark shores.
constexpr int kViewWidth = 320, kViewHeight = 240;
constexpr double kHorizon = 150.0, kSunX = 214.0;

Colour duskSky(double x, double y) {
    const double up = (kHorizon - y) / kHorizon;  // 0 at the horizon, 1 at the top
    Colour c = mix(Colour{255, 226, 120}, Colour{250, 150, 80}, smoothstep(0.0, 0.3, up));
    c = mix(c, Colour{196, 92, 118}, smoothstep(0.25, 0.6, up));
    c = mix(c, Colour{58, 40, 104}, smoothstep(0.55, 1.0, up));
    // Thin clouds lit from below.
    const double cloud = smoothstep(0.55, 0.75, assetgen::fbm(x / 70.0, y / 9.0, 5, 701)) * smoothstep(0.15, 0.4, up);
    c = mix(c, Colour{255, 140, 110}, cloud * 0.55);
    const double sun = std::hypot(x - kSunX, (y - kHorizon) * 1.3);
    return mix(c, Colour{255, 244, 200}, std::exp(-sun / 38.0) * 0.8);
}

// Height of a mountain range's skyline above the horizon at column x.
double skyline(double x, int layer) {
    const double ridge = 1.0 - std::fabs(2.0 * assetgen::fbm(x / (90.0 - layer * 12.0), layer * 7.3, 6, 710 + layer) - 1.0);
    const double base = assetgen::fbm(x / 160.0, layer * 3.1, 3, 720 + layer);
    return (base * 0.6 + ridge * 0.5) * (46.0 - layer * 9.0) + layer * 3.0;
}

void paintDuskView(Canvas& c) {
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) c.set(x, y, duskSky(x + 0.5, y + 0.5));
    // Stars coming out in the violet, none low in the glow.
    Canvas stars(kViewWidth, kViewHeight, 3);
    assetgen::addStars(stars, 260, 730);
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) {
            const Colour s = stars.get(x, y);
            assetgen::addLight(c, x, y, s, smoothstep(95.0, 20.0, y) / 255.0);
        }
    assetgen::addGlow(c, kSunX, kHorizon, 7.0, {255, 255, 235}, 1.0);
    // Ranges far to near: hazy violet into dark blue-green, the far ones
    // with sunlit snow.
    const Colour far{178, 112, 130}, near{34, 30, 52};
    for (int layer = 0; layer < 4; ++layer) {
        const double k = layer / 3.0;
        const Colour body = mix(far, near, k);
        for (int x = 0; x < kViewWidth; ++x) {
            const double top = kHorizon - skyline(x + 0.5, layer);
            for (int y = static_cast<int>(top); y < kHorizon; ++y) {
                const double coverage = std::clamp(y + 1.0 - top, 0.0, 1.0);
                const double below = y - top;
                Colour m = mix(body, mix(duskSky(x, kHorizon - 2), body, 0.7), std::exp(-below / 6.0) * (1.0 - k));
                // Snow and sunlit flanks on the two far ranges.
                if (layer < 2) {
                    const double snow = smoothstep(9.0, 2.0, below) * smoothstep(0.5, 0.6, assetgen::fbm(x / 6.0, y / 4.0, 3, 740));
                    const double facing = smoothstep(kSunX + 40.0, kSunX - 60.0, x);
                    m = mix(m, Colour{255, 200, 170}, snow * (0.5 + 0.4 * facing) * (1.0 - k * 1.5));
                }
                const double haze = smoothstep(8.0, 0.0, kHorizon - y) * 0.5 * (1.0 - k);
                c.blend(x, y, mix(m, duskSky(x, kHorizon), haze), coverage);
            }
        }
    }
    // The lake: a mirror of everything above the horizon, rippled and darkened.
    for (int y = static_cast<int>(kHorizon); y < kViewHeight; ++y) {
        const double depth = (y - kHorizon) / (kViewHeight - kHorizon);
        for (int x = 0; x < kViewWidth; ++x) {
            const double ripple = (assetgen::fbm(x / 30.0, y / 1.5, 3, 750) - 0.5) * (2.0 + 10.0 * depth);
            const int mx = std::clamp(static_cast<int>(x + ripple), 0, kViewWidth - 1);
            const int my = std::clamp(static_cast<int>(2 * kHorizon - y - 1), 0, kViewHeight - 1);
            Colour m = scaled(c.get(mx, my), 0.72 - 0.25 * depth);
            m = mix(m, Colour{20, 26, 60}, depth * 0.45);
            c.set(x, y, m);
        }
    }
    // Near shores, left and right, with a fringe of pines.
    for (int x = 0; x < kViewWidth; ++x) {
        const double leftShore = 70.0 - x * 0.45 + assetgen::fbm(x / 14.0, 1.0, 3, 760) * 10.0;
        const double rightShore = (x - 250.0) * 0.5 + assetgen::fbm(x / 14.0, 2.0, 3, 761) * 10.0;
        const double shore = std::max(leftShore, rightShore);
        if (shore <= 0) continue;
        const double pines = std::fabs(std::sin(x * 0.9)) * 9.0 * assetgen::fbm(x / 5.0, 3.0, 2, 762);
        const double top = kHorizon + 30.0 - shore - pines;
        for (int y = std::max(0, static_cast<int>(top)); y < kViewHeight; ++y) {
            const double coverage = std::clamp(y + 1.0 - top, 0.0, 1.0);
            const double rim = std::exp(-(y - top) / 3.0) * 0.35;
            c.blend(x, y, mix(Colour{12, 12, 24}, Colour{200, 110, 90}, rim), coverage);
        }
    }
}

Canvas paintFade() {
    Canvas view(kViewWidth, kViewHeight, 3);
    paintDuskView(view);
    return assetgen::turnToPortrait(view);
}

}  // namespace

void generate(assetgen::Output& out) {
    const Terrain terrain = assetgen::makeTerrain();
    assetgen::addPictureWithMask(out, res::kGroundColour, res::kGroundDepth, paintColour(terrain), paintDepth(terrain));
    assetgen::addPicture(out, res::kLandscapeFade, paintFade());
}
