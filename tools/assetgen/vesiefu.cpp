// The water scene: what lies under the water (a seamless bed of large
// outlined stones on rippled sand, crossed by soft caustic lines) and
// the knot's reflection map (polished silver: a pale sky with the sun above
// the horizon, teal rippled water below).

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::scaled;
using assetgen::smoothstep;

constexpr int kSize = 256;
constexpr double kTwoPi = 6.283185307179586;


int wrapIndex(int v) { return (v + kSize) % kSize; }

// A round stone of one cell of cellular noise with `period` cells across
// the picture: its distance inside the outline, in cell units (negative
// outside), and its cell hash. The outline is a circle about the cell's
// point, cut back where the neighbouring cell comes too close, so stones
// never touch.
struct Stone {
    double inside = -1;
    uint32_t cell = 0;
};

Stone stoneAt(double x, double y, int period, uint32_t seed) {
    const double scale = static_cast<double>(period) / kSize;
    const assetgen::CellSample s = assetgen::cellular(x * scale, y * scale, seed, period);
    const double radius = 0.3 + 0.12 * ((s.cell >> 4) & 255) / 255.0;
    const double toBorder = (s.second - s.nearest) * 0.5 - 0.05;
    return {std::min(radius - s.nearest, toBorder), s.cell};
}

// The bed, composed in landscape: a few large, rounded stones in narrow
// darker crevices on pale rippled sand, under a slow web of caustic light. The
// water displaces this picture by up to 64 texels, so it is made of shapes
// large and clear enough to stay legible when bent: no gravel, no grain.
Canvas waterBed() {
    std::vector<double> height(kSize * kSize);
    std::vector<Colour> albedo(kSize * kSize);
    std::vector<double> outline(kSize * kSize);
    const Colour stoneColours[] = {{196, 110, 70}, {90, 110, 150}, {220, 196, 140}, {120, 140, 100},
                                   {170, 80, 70},  {236, 226, 206}, {110, 96, 120}, {200, 150, 70}};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Sand: broad ripples with whole periods across the picture, bent by noise.
            const double bend = assetgen::fbm(x / 64.0, y / 64.0, 3, 1270, 4);
            const double ripple = 0.5 + 0.5 * std::sin(kTwoPi * (6.0 * x + 2.0 * y) / kSize + bend * 5.0);
            double h = 0.08 * ripple;
            Colour c = mix(Colour{206, 190, 150}, Colour{232, 220, 180}, ripple);
            double edge = 0;
            const Stone stone = stoneAt(x, y, 4, 1273);
            if (stone.inside > 0) {
                const double r = std::min(1.0, stone.inside / 0.3);
                h = 0.1 + 0.9 * std::sqrt(1.0 - (1.0 - r) * (1.0 - r));
                const Colour base = stoneColours[(stone.cell >> 10) % 8];
                // A broad mottle keeps the stone alive without fine speckle.
                const double mottle = assetgen::fbm(x / 24.0, y / 24.0, 2, 1274 + (stone.cell & 7), 10);
                c = scaled(base, 0.85 + 0.3 * mottle);
            }
            // The outline: a narrow crevice round each stone, a texel or two
            // wide, so that the splash's strong bending scatters it into a
            // few soft dots rather than a spray of dark ones.
            edge = smoothstep(-0.03, -0.01, stone.inside) * smoothstep(0.03, 0.01, stone.inside);
            height[y * kSize + x] = h;
            albedo[y * kSize + x] = c;
            outline[y * kSize + x] = edge;
        }
    }

    Canvas bed(kSize, kSize, 3);
    const double lx = -0.55, ly = -0.55, lz = 0.63;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const auto at = [&](int dx, int dy) { return height[wrapIndex(y + dy) * kSize + wrapIndex(x + dx)]; };
            const double gx = (at(1, 0) - at(-1, 0)) * 3.0, gy = (at(0, 1) - at(0, -1)) * 3.0;
            const double norm = std::sqrt(gx * gx + gy * gy + 1.0);
            const double light = std::clamp((-gx * lx - gy * ly + lz) / norm, 0.0, 1.0);
            // The stones' shadows on the sand, cast towards the lower right.
            const double shadow = std::clamp((at(-4, -4) - at(0, 0)) * 1.5, 0.0, 0.5);
            Colour c = scaled(albedo[y * kSize + x], (0.45 + 0.75 * light) * (1.0 - shadow));
            // The crevice is a darker tone of what it cuts into, not a navy line.
            c = mix(c, scaled(c, 0.55), outline[y * kSize + x]);

            // Caustics: the light focused by the waves above, a slow web of
            // soft bright lines a few texels wide.
            const double wu = assetgen::fbm(x / 64.0, y / 64.0, 2, 1276, 4) - 0.5;
            const double wv = assetgen::fbm(x / 64.0 + 3.1, y / 64.0 + 1.7, 2, 1277, 4) - 0.5;
            const double px = x + wu * 40.0, py = y + wv * 40.0;
            const assetgen::CellSample s = assetgen::cellular(px * 4.0 / kSize, py * 4.0 / kSize, 1278, 4);
            const double caustic = std::exp(-(s.second - s.nearest) * 10.0);

            // Under water: a clear blue-green tint and the caustic light.
            c = {c.r * 0.6, c.g * 0.84, c.b * 0.92 + 18.0};
            c = {c.r + 60.0 * caustic, c.g + 80.0 * caustic, c.b + 80.0 * caustic};
            bed.set(x, y, {std::min(c.r, 255.0), std::min(c.g, 255.0), std::min(c.b, 255.0)});
        }
    }
    return bed;
}

// The sky and water as seen in direction (rx, ry, rz), ry pointing down in
// the landscape view and rz towards the viewer.
Colour environment(double rx, double ry, double rz) {
    const double up = -ry;
    const double horizon = std::exp(-std::fabs(up) * 9.0);
    if (up > 0) {
        Colour sky = mix(Colour{200, 225, 240}, Colour{80, 125, 190}, std::pow(up, 0.6));
        // The sun, high on the left and a little behind the viewer.
        const double sx = -0.5, sy = -0.6, sz = 0.62;
        const double toward = std::max(0.0, rx * sx + ry * sy + rz * sz);
        sky = mix(sky, Colour{255, 248, 225}, std::pow(toward, 40.0) + 0.25 * std::pow(toward, 6.0));
        const double cloud = assetgen::fbm(rx * 3.0 + 5.0, up * 6.0 + rz * 2.0, 4, 1260);
        sky = mix(sky, Colour{240, 240, 245}, smoothstep(0.55, 0.8, cloud) * 0.5);
        return mix(sky, Colour{235, 240, 240}, horizon * 0.8);
    }
    // Water: teal with bright ripple crests that thin towards the horizon.
    const double depth = -up;
    const double wave = assetgen::fbm(rx * 4.0 / (depth + 0.15), rz * 4.0 + depth * 12.0, 4, 1261);
    const double crest = std::pow(smoothstep(0.5, 0.85, wave), 2.0);
    Colour water = mix(Colour{70, 130, 140}, Colour{30, 70, 85}, std::pow(depth, 0.5));
    water = mix(water, Colour{170, 220, 225}, crest * 0.6);
    return mix(water, Colour{200, 225, 230}, horizon * 0.9);
}

// The knot's reflection map, composed in landscape. The renderer indexes it
// by the view-space normal ((normal >> 1) + 128), so the disc of radius 128
// around the centre is a mirrored sphere; the corners repeat its rim.
Canvas ringObjectMap() {
    Canvas map(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double nx = (x + 0.5 - 128.0) / 128.0, ny = (y + 0.5 - 128.0) / 128.0;
            const double r = std::hypot(nx, ny);
            if (r > 0.999) nx *= 0.999 / r, ny *= 0.999 / r;
            const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
            // The view ray (0, 0, -1) mirrored at the surface.
            const Colour seen = environment(2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1);
            // Polished silver: a slightly warm copy, a little darker facing
            // the viewer and full at grazing angles, so the knot reads as a
            // light, reflective object over the water and the bed.
            const double fresnel = 0.8 + 0.2 * std::pow(1.0 - nz, 3.0);
            map.set(x, y, {std::min(255.0, seen.r * fresnel * 1.02 + 8), std::min(255.0, seen.g * fresnel + 8),
                           std::min(255.0, seen.b * fresnel * 0.95 + 10)});
        }
    }
    return map;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kRingObjectMap, assetgen::turnToPortrait(ringObjectMap()), 92);
    assetgen::addPicture(out, res::kWaterBed, assetgen::turnToPortrait(waterBed()), 95);
}
