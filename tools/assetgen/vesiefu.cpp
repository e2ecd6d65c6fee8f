// The water scene: what lies under the water (a seamless bed of rounded
// pebbles and gravel on rippled sand, crossed by bright caustic lines) and
// the ring's reflection map (polished metal: a pale sky with the sun above
// the horizon, dark rippled water below).

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

// One layer of stones: cellular noise with `period` cells across the picture;
// a cell holds a stone when its hash passes `share`. Returns the stone's
// height (0 outside) and its cell hash.
struct Stone {
    double height = 0;
    uint32_t cell = 0;
};

Stone stoneLayer(double x, double y, int period, uint32_t seed, double share, double gap) {
    const double scale = static_cast<double>(period) / kSize;
    const assetgen::CellSample s = assetgen::cellular(x * scale, y * scale, seed, period);
    if ((s.cell & 1023) > share * 1023) return {};
    // Half the gap between the two nearest points approximates the distance
    // to the cell border; a stone is a rounded dome inside it.
    const double inside = (s.second - s.nearest) * 0.5 - gap;
    if (inside <= 0) return {0, s.cell};
    const double r = std::min(1.0, inside / 0.22);
    return {std::sqrt(1.0 - (1.0 - r) * (1.0 - r)), s.cell};
}

// The bed, composed in landscape: light falls from the upper left.
Canvas waterBed() {
    std::vector<double> height(kSize * kSize);
    std::vector<Colour> albedo(kSize * kSize);
    const Colour stoneColours[] = {{120, 122, 128}, {168, 130, 86},  {150, 74, 52},  {214, 200, 170},
                                   {58, 60, 68},    {104, 128, 100}, {186, 160, 120}, {92, 96, 120}};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Sand: ripples with whole periods across the picture, bent by noise.
            const double bend = assetgen::fbm(x / 32.0, y / 32.0, 4, 1270, 8);
            const double ripple = 0.5 + 0.5 * std::sin(kTwoPi * (10.0 * x + 3.0 * y) / kSize + bend * 7.0);
            const double grain = assetgen::fbm(x / 4.0, y / 4.0, 2, 1271, 64);
            double h = 0.12 * std::pow(ripple, 1.5) + 0.03 * grain;
            Colour c = mix(Colour{150, 138, 100}, Colour{196, 182, 138}, 0.6 * ripple + 0.4 * grain);

            const Stone gravel = stoneLayer(x, y, 24, 1272, 0.4, 0.05);
            if (gravel.height > 0) {
                h = std::max(h, 0.15 + 0.25 * gravel.height);
                const Colour base = stoneColours[(gravel.cell >> 10) % 8];
                c = scaled(base, 0.75 + 0.35 * ((gravel.cell >> 16) & 255) / 255.0);
            }
            const Stone pebble = stoneLayer(x, y, 6, 1273, 0.7, 0.03);
            if (pebble.height > 0) {
                h = std::max(h, 0.2 + 0.8 * pebble.height);
                const Colour base = stoneColours[(pebble.cell >> 10) % 8];
                // Speckles and faint veins in the stone, seamless like the rest.
                const double speck = assetgen::fbm(x / 4.0, y / 4.0, 2, 1274 + (pebble.cell & 7), 64);
                const double vein = std::pow(std::fabs(std::sin(assetgen::fbm(x / 16.0, y / 16.0, 3, 1275, 16) * 18.0)), 10.0);
                c = scaled(base, 0.8 + 0.3 * speck);
                c = mix(c, Colour{236, 232, 220}, 0.35 * vein);
            }
            height[y * kSize + x] = h;
            albedo[y * kSize + x] = c;
        }
    }

    Canvas bed(kSize, kSize, 3);
    const double lx = -0.55, ly = -0.55, lz = 0.63;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const auto at = [&](int dx, int dy) { return height[wrapIndex(y + dy) * kSize + wrapIndex(x + dx)]; };
            const double gx = (at(1, 0) - at(-1, 0)) * 5.0, gy = (at(0, 1) - at(0, -1)) * 5.0;
            const double norm = std::sqrt(gx * gx + gy * gy + 1.0);
            const double light = std::clamp((-gx * lx - gy * ly + lz) / norm, 0.0, 1.0);
            // Crevices between stones: darker where the neighbourhood stands higher.
            double around = 0;
            for (int d = -3; d <= 3; d += 3)
                for (int e = -3; e <= 3; e += 3) around += at(d, e);
            const double occlusion = std::clamp(1.0 - (around / 9.0 - at(0, 0)) * 2.5, 0.35, 1.0);
            Colour c = scaled(albedo[y * kSize + x], (0.25 + 1.0 * light) * occlusion);

            // Caustics: the light focused by the waves above, a web of bright lines.
            const double wu = assetgen::fbm(x / 64.0, y / 64.0, 3, 1276, 4) - 0.5;
            const double wv = assetgen::fbm(x / 64.0 + 3.1, y / 64.0 + 1.7, 3, 1277, 4) - 0.5;
            const double px = x + wu * 40.0, py = y + wv * 40.0;
            const assetgen::CellSample s = assetgen::cellular(px * 6.0 / kSize, py * 6.0 / kSize, 1278, 6);
            const double caustic = std::exp(-(s.second - s.nearest) * 14.0);

            // Under water: blue-green absorption and the caustic light.
            c = {c.r * 0.62, c.g * 0.86, c.b * 0.92 + 10.0};
            c = {c.r + 70.0 * caustic, c.g + 95.0 * caustic, c.b + 90.0 * caustic};
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
        Colour sky = mix(Colour{190, 215, 235}, Colour{40, 80, 150}, std::pow(up, 0.6));
        // The sun, high on the left and a little behind the viewer.
        const double sx = -0.5, sy = -0.6, sz = 0.62;
        const double toward = std::max(0.0, rx * sx + ry * sy + rz * sz);
        sky = mix(sky, Colour{255, 248, 225}, std::pow(toward, 40.0) + 0.25 * std::pow(toward, 6.0));
        const double cloud = assetgen::fbm(rx * 3.0 + 5.0, up * 6.0 + rz * 2.0, 4, 1260);
        sky = mix(sky, Colour{240, 240, 245}, smoothstep(0.55, 0.8, cloud) * 0.5);
        return mix(sky, Colour{235, 240, 240}, horizon * 0.8);
    }
    // Water: dark teal with bright ripple crests that thin towards the horizon.
    const double depth = -up;
    const double wave = assetgen::fbm(rx * 4.0 / (depth + 0.15), rz * 4.0 + depth * 12.0, 4, 1261);
    const double crest = std::pow(smoothstep(0.5, 0.85, wave), 2.0);
    Colour water = mix(Colour{30, 90, 100}, Colour{6, 26, 40}, std::pow(depth, 0.5));
    water = mix(water, Colour{170, 220, 225}, crest * 0.6);
    return mix(water, Colour{200, 225, 230}, horizon * 0.9);
}

// The ring's reflection map, composed in landscape. The renderer indexes it
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
            // Polished steel: a slightly warm, darker copy, brighter at grazing angles.
            const double fresnel = 0.55 + 0.45 * std::pow(1.0 - nz, 3.0);
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
