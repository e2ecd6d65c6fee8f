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
#include <vector>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/starfield.h"
#include "voxelefu_terrain.h"

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
    return e > 0 ? std::pow(e, 1.1) : e;
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

// Scaled, each channel held at 255 before it is mixed further.
Colour scaledCapped(const Colour& c, double k) {
    return {std::min(255.0, c.r * k), std::min(255.0, c.g * k), std::min(255.0, c.b * k)};
}

// Water: the dusk sky's slate violet, lighter over the shallows. The
// landscape shifts the blue of samples seen through water to 192 + blue / 4,
// so the red and green carry the water's character; kept low and close
// together, they give a muted violet-blue rather than an electric one.
Colour waterColour(const Terrain& t, int x, int y) {
    const double under = std::clamp(-elevation(t, x, y) * (1.0 - t.seaLevel) / t.seaLevel, 0.0, 1.0);
    const double shallow = std::exp(-9.0 * under);
    Colour c = mix(Colour{84, 74, 110}, Colour{130, 128, 170}, shallow);
    const double sparkle = tiledFbm(x, y, N, 64, 2, 660);
    return scaledCapped(c, 0.9 + 0.2 * sparkle);
}

// Distance in texels (up to kShoreReach) from land to the nearest water texel.
constexpr int kShoreReach = 3;
std::vector<double> distanceToWater(const Terrain& t) {
    std::vector<double> distance(N * N, kShoreReach + 1.0);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            for (int j = -kShoreReach; j <= kShoreReach; ++j)
                for (int i = -kShoreReach; i <= kShoreReach; ++i)
                    if (elevation(t, x + i, y + j) < 0)
                        distance[Terrain::index(x, y)] = std::min(distance[Terrain::index(x, y)], std::hypot(i, j));
    return distance;
}

// The waterline: the first land sample a ray meets after water is drawn
// with its blue shifted as if seen through water. Land within reach of the
// water is therefore wet, dark sand whose red and green match the shallows,
// so that shifted it reads as the water's edge instead of flashing pale.
Colour shoreColour(const Colour& land, double distance) {
    const Colour wet{112, 104, 74};
    return mix(wet, land, smoothstep(1.5, 3.0, distance));
}

Colour landColour(const Terrain& t, int x, int y) {
    const double e = elevation(t, x, y);
    const double slope = steepness(t, x, y);
    const double wet = t.wetAt(x, y);
    const double n1 = tiledFbm(x, y, N, 16, 4, 670);   // patches of wood and meadow
    const double n2 = tiledFbm(x, y, N, 64, 2, 671);   // texel-scale speckle
    const double snowline = 0.62 + (tiledFbm(x, y, N, 8, 3, 672) - 0.5) * 0.18;

    const Colour sand{180, 162, 112}, meadow{112, 152, 58}, dryGrass{150, 150, 72};
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
    return scaledCapped(c, hillShade(t, x, y) * (0.92 + 0.16 * n2));
}

// The land's colours softened by a small binomial filter that wraps with
// the map: near the camera each texel is drawn as a block many pixels wide,
// and a lone bright texel (a fleck of snow, a lit speck of rock) would stand
// out as a square; softened, neighbouring blocks differ by small steps and
// read as rock and snowfield.
std::vector<Colour> smoothLand(const Terrain& t) {
    std::vector<Colour> land(N * N), across(N * N), smooth(N * N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) land[Terrain::index(x, y)] = landColour(t, x, y);
    const auto filter = [](const Colour& a, const Colour& b, const Colour& c) {
        return Colour{(a.r + 2 * b.r + c.r) / 4, (a.g + 2 * b.g + c.g) / 4, (a.b + 2 * b.b + c.b) / 4};
    };
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            across[Terrain::index(x, y)] = filter(land[Terrain::index(x - 1, y)], land[Terrain::index(x, y)],
                                                  land[Terrain::index(x + 1, y)]);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            smooth[Terrain::index(x, y)] = filter(across[Terrain::index(x, y - 1)], across[Terrain::index(x, y)],
                                                  across[Terrain::index(x, y + 1)]);
    return smooth;
}

Canvas paintColour(const Terrain& t) {
    const std::vector<double> shore = distanceToWater(t);
    const std::vector<Colour> land = smoothLand(t);
    Canvas colour(N, N, 3);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int i = Terrain::index(x, y);
            colour.set(x, y, elevation(t, x, y) < 0 ? waterColour(t, x, y) : shoreColour(land[i], shore[i]));
        }
    return colour;
}

// The dusk view, 320 x 240 as watched: a sky running from the flight's
// yellow horizon through orange to violet, the sun setting in a gap between
// snow mountains that glow pink on their sunward flanks, lower ranges
// fading into the haze, a still lake mirroring it all between dark wooded
// shores.
constexpr int kViewWidth = 320, kViewHeight = 240;
constexpr double kHorizon = 142.0, kSunX = 196.0, kSunY = 134.0;

Colour duskSky(double x, double y) {
    const double up = (kHorizon - y) / kHorizon;  // 0 at the horizon, 1 at the top
    Colour c = mix(Colour{255, 226, 120}, Colour{250, 150, 80}, smoothstep(0.0, 0.3, up));
    c = mix(c, Colour{196, 92, 118}, smoothstep(0.25, 0.6, up));
    c = mix(c, Colour{58, 40, 104}, smoothstep(0.55, 1.0, up));
    // Thin clouds lit from below.
    const double cloud = smoothstep(0.55, 0.75, assetgen::fbm(x / 70.0, y / 9.0, 5, 701)) * smoothstep(0.15, 0.4, up);
    c = mix(c, Colour{255, 140, 110}, cloud * 0.55);
    const double sun = std::hypot(x - kSunX, (y - kSunY) * 1.3);
    return mix(c, Colour{255, 244, 200}, std::exp(-sun / 40.0) * 0.85);
}

// Height above the horizon of a range's skyline at column x: ridged noise,
// the far range tallest with a gap where the sun sets.
double skyline(double x, int layer) {
    const double r = assetgen::fbm(x / (70.0 - layer * 10.0), layer * 7.3, 6, 710 + layer);
    const double ridge = std::pow(1.0 - std::fabs(2.0 * r - 1.0), 1.5);
    const double base = assetgen::fbm(x / 150.0, layer * 3.1, 3, 720 + layer);
    double h = (base * 0.5 + ridge * 0.7) * (78.0 - layer * 20.0);
    if (layer == 0) h *= 0.35 + 0.65 * smoothstep(10.0, 60.0, std::fabs(x - kSunX));
    return std::max(2.0, h - layer * 4.0);
}

// One range: lit pink where its slope faces the sun, violet in shadow,
// snow on the far peaks, thickening haze towards its foot.
void paintRange(Canvas& c, int layer) {
    const double k = layer / 3.0;
    const Colour lit = mix(Colour{236, 150, 150}, Colour{60, 44, 70}, k);
    const Colour shade = mix(Colour{120, 82, 124}, Colour{28, 26, 46}, k);
    for (int x = 0; x < kViewWidth; ++x) {
        const double top = kHorizon - skyline(x + 0.5, layer);
        // The crest's rise over two columns, averaged over twelve: the
        // skyline's fine octaves would otherwise light neighbouring columns
        // alternately and hang a comb of stripes from every crest.
        const double slope = (skyline(x + 6.5, layer) - skyline(x - 5.5, layer)) / 6.0;  // > 0 rising to the right
        const double sunward = x < kSunX ? slope : -slope;                          // rising towards the sun
        const double light = smoothstep(-0.3, 0.8, sunward);
        for (int y = std::max(0, static_cast<int>(top)); y < kHorizon; ++y) {
            const double coverage = std::clamp(y + 1.0 - top, 0.0, 1.0);
            const double below = y - top;
            // Below the crest the flanks fold into ribs and gullies: a
            // relief whose slope towards the sun sets the light.
            const auto relief = [&](double rx) {
                return assetgen::fbm((rx + below * (rx < kSunX ? 0.6 : -0.6)) / 9.0, y / 14.0, 4, 730 + layer);
            };
            const double face = (relief(x + 1.0) - relief(x - 1.0)) * (x < kSunX ? 1.0 : -1.0) * 14.0;
            const double folded = smoothstep(-0.4, 0.4, face);
            const double streaks = relief(x);
            const double shading = light + (folded - light) * smoothstep(2.0, 14.0, below);
            Colour m = mix(shade, lit, shading);
            if (layer < 2) {
                const double snow = smoothstep(0.45, 0.6, streaks) * smoothstep(22.0 - layer * 8.0, 4.0, below);
                m = mix(m, mix(Colour{170, 150, 200}, Colour{255, 214, 200}, light), snow * (1.0 - k));
            }
            const double haze = smoothstep(kHorizon - 22.0 + layer * 4.0, kHorizon, y) * (0.75 - k * 0.5);
            c.blend(x, y, mix(m, duskSky(x, kHorizon - 1), haze), coverage);
        }
    }
}

void paintDuskView(Canvas& c) {
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) c.set(x, y, duskSky(x + 0.5, y + 0.5));
    // Stars coming out in the violet, none low in the glow.
    Canvas stars(kViewWidth, kViewHeight, 3);
    assetgen::addStars(stars, 320, 730);
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < kViewWidth; ++x) assetgen::addLight(c, x, y, stars.get(x, y), smoothstep(80.0, 10.0, y) / 255.0);
    assetgen::addGlow(c, kSunX, kSunY, 6.0, {255, 255, 235}, 1.0);
    assetgen::addGlow(c, kSunX, kSunY, 16.0, {255, 220, 160}, 0.5);
    for (int layer = 0; layer < 4; ++layer) paintRange(c, layer);
    // The lake mirrors everything above the horizon, rippled, a little darker
    // and bluer with distance from the shore line.
    const Canvas above = c;
    for (int y = static_cast<int>(kHorizon); y < kViewHeight; ++y) {
        const double near = (y - kHorizon) / (kViewHeight - kHorizon);
        for (int x = 0; x < kViewWidth; ++x) {
            const double ripple = (assetgen::fbm(x / 40.0, y / (1.0 + 3.0 * near), 3, 750) - 0.5) * (1.0 + 12.0 * near);
            const int mx = std::clamp(static_cast<int>(x + ripple), 0, kViewWidth - 1);
            const int my = std::clamp(static_cast<int>(2 * kHorizon - y - 1), 0, kViewHeight - 1);
            Colour m = scaledCapped(above.get(mx, my), 0.8 - 0.3 * near);
            m = mix(m, Colour{24, 30, 70}, near * 0.5);
            // Glints of the sun along its path on the water.
            const double path = std::exp(-std::pow((x - kSunX) / (6.0 + 30.0 * near), 2.0));
            const double glint = smoothstep(0.6, 0.75, assetgen::fbm(x / 2.0, y * 1.5, 2, 751)) * path;
            c.set(x, y, mix(m, Colour{255, 230, 170}, glint * 0.8));
        }
    }
    // Dark wooded shores in the foreground, left and right, sloping into the
    // water; pines along their tops catch a rim of the afterglow.
    for (int x = 0; x < kViewWidth; ++x) {
        const double left = 92.0 * std::pow(std::max(0.0, 1.0 - x / 120.0), 1.4);
        const double right = 70.0 * std::pow(std::max(0.0, (x - 236.0) / 84.0), 1.2);
        const double ground = std::max(left, right);
        if (ground <= 0.5) continue;
        const double trees = ground > 6.0 ? (0.5 + 0.5 * std::fabs(std::sin(x * 1.7 + std::sin(x * 0.31) * 3.0))) *
                                                10.0 * assetgen::fbm(x / 4.0, 3.0, 2, 762)
                                          : 0.0;
        const double top = kViewHeight - ground - trees;
        for (int y = std::max(0, static_cast<int>(top)); y < kViewHeight; ++y) {
            const double coverage = std::clamp(y + 1.0 - top, 0.0, 1.0);
            const double rim = std::exp(-(y - top) / 2.5) * 0.4;
            c.blend(x, y, mix(Colour{10, 10, 22}, Colour{210, 120, 100}, rim), coverage);
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
