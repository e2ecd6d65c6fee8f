#include "worldefu_planet.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/noise.h"
#include "common/smoothstep.h"
#include "worldefu_geometry.h"

namespace globe {

namespace {

using assetgen::Colour;
using assetgen::fbm3;
using assetgen::mix;
using assetgen::scaled;
using assetgen::smoothstep;


// Everything the three maps need to know about one point of the surface.
struct Surface {
    double height;     // raw terrain noise
    double ridges;     // mountain chains, 0..1
    double latitude;   // degrees, north positive
    double moisture;   // 0..1
    double warmth;     // 0..1 before elevation
    double clouds;     // cover 0..1
    double detail;     // fine brightness variation around 1
    double cityNoise;  // 0..1, clustered
    double sparkle;    // 0..1, scattered points
};

Surface sample(const Vec3& p) {
    Surface s{};
    // Warped fractal noise gives continents with ragged coasts and inland seas.
    const double wx = fbm3(p.x * 1.4 + 11.3, p.y * 1.4, p.z * 1.4, 4, 101) - 0.5;
    const double wy = fbm3(p.x * 1.4, p.y * 1.4 + 7.1, p.z * 1.4, 4, 202) - 0.5;
    const double wz = fbm3(p.x * 1.4, p.y * 1.4, p.z * 1.4 + 5.7, 4, 303) - 0.5;
    const double qx = (p.x + 0.9 * wx) * 1.9, qy = (p.y + 0.9 * wy) * 1.9, qz = (p.z + 0.9 * wz) * 1.9;
    s.height = fbm3(qx + 3.1, qy, qz, 8, 404);
    const double r = fbm3(qx * 2.3, qy * 2.3 + 1.7, qz * 2.3, 5, 505);
    s.ridges = std::pow(1.0 - std::fabs(2.0 * r - 1.0), 3.0);
    s.latitude = std::asin(std::clamp(p.y, -1.0, 1.0)) * 180.0 / kPi;
    const double absLat = std::fabs(s.latitude);
    s.moisture = fbm3(p.x * 2.6, p.y * 2.6, p.z * 2.6 + 9.0, 5, 606);
    s.moisture -= 0.22 * std::exp(-std::pow((absLat - 24.0) / 9.0, 2));  // subtropical deserts
    s.moisture += 0.14 * std::exp(-std::pow(absLat / 9.0, 2));           // wet tropics
    s.warmth = 1.0 - absLat / 78.0 + (fbm3(p.x * 3.0, p.y * 3.0 + 4.0, p.z * 3.0, 4, 707) - 0.5) * 0.3;
    // Clouds: stretched along the latitude lines like weather bands.
    const double cw = fbm3(p.x * 2.0 + 20.0, p.y * 2.0, p.z * 2.0, 4, 808) - 0.5;
    const double c = fbm3((p.x + cw) * 3.2, p.y * 7.0, (p.z + cw) * 3.2, 6, 909);
    s.clouds = smoothstep(0.54, 0.74, c) * 0.8;
    s.detail = 0.86 + 0.28 * fbm3(p.x * 24.0, p.y * 24.0, p.z * 24.0, 3, 1010);
    s.cityNoise = fbm3(p.x * 18.0, p.y * 18.0, p.z * 18.0, 4, 1111);
    s.sparkle = assetgen::valueNoise3(p.x * 120.0, p.y * 120.0, p.z * 120.0, 1212);
    return s;
}

// The level of the terrain noise that leaves about a third of the surface
// (weighted by area) above the sea.
double seaLevel(const std::vector<Surface>& surface) {
    std::vector<std::pair<double, double>> weighted;
    weighted.reserve(surface.size());
    double total = 0;
    for (size_t i = 0; i < surface.size(); ++i) {
        const double w = std::cos(surface[i].latitude * kPi / 180.0);
        weighted.emplace_back(surface[i].height, w);
        total += w;
    }
    std::sort(weighted.begin(), weighted.end());
    double acc = 0;
    for (const auto& [h, w] : weighted) {
        acc += w;
        if (acc >= total * 0.66) return h;
    }
    return 0.5;
}

struct Land {
    Colour day;
    double habitability;  // 0..1: where cities grow
};

Land landColour(const Surface& s, double elevation) {
    const double absLat = std::fabs(s.latitude);
    const double warmth = s.warmth - elevation * 0.5;
    const Colour sand{206, 176, 124}, redSand{176, 118, 74}, steppe{150, 142, 86}, grass{92, 122, 52};
    const Colour forest{38, 78, 36}, jungle{26, 92, 34}, tundra{122, 118, 100}, rock{112, 100, 88};
    const Colour snow{238, 242, 250};
    // Vegetation by moisture, then the climate zone by warmth.
    Colour dry = mix(sand, redSand, smoothstep(0.4, 0.7, s.detail - 0.5 + s.moisture));
    Colour c = mix(dry, steppe, smoothstep(0.34, 0.44, s.moisture));
    c = mix(c, grass, smoothstep(0.44, 0.52, s.moisture));
    c = mix(c, mix(forest, jungle, smoothstep(0.6, 0.8, warmth)), smoothstep(0.5, 0.6, s.moisture));
    c = mix(c, tundra, smoothstep(0.36, 0.22, warmth));
    c = mix(c, rock, smoothstep(0.35, 0.7, elevation * 0.6 + s.ridges * 0.6));
    c = mix(c, snow, smoothstep(0.16, 0.06, warmth - s.ridges * 0.15));
    c = scaled(c, s.detail);
    double hab = smoothstep(0.36, 0.5, s.moisture) * smoothstep(0.25, 0.45, warmth) * smoothstep(1.0, 0.75, warmth);
    hab *= smoothstep(0.6, 0.2, elevation) * (absLat < 66 ? 1.0 : 0.0);
    return {c, hab};
}

Colour oceanColour(const Surface& s, double depth, double& ice) {
    const Colour shallow{36, 108, 146}, deep{9, 28, 78}, frozen{222, 232, 242};
    Colour c = mix(shallow, deep, smoothstep(0.0, 0.09, depth));
    ice = smoothstep(71.0, 76.0, std::fabs(s.latitude) + (s.detail - 1.0) * 40.0);
    return mix(c, frozen, ice);
}

}  // namespace

PlanetMaps planetMaps() {
    PlanetMaps maps;
    std::vector<Surface> surface(256 * 512);
    for (int v = 0; v < 512; ++v)
        for (int u = 0; u < 256; ++u) surface[v * 256 + u] = sample(texelDirection(u, v));
    const double sea = seaLevel(surface);
    double top = sea, bottom = sea;
    for (const Surface& s : surface) {
        top = std::max(top, s.height);
        bottom = std::min(bottom, s.height);
    }

    // The sun stands a little north of the equator over the longitude that
    // faces the camera; the twilight band is a few degrees wide.
    const double decl = 12.0 * kPi / 180.0;
    const Vec3 sun{0.0, std::sin(decl), std::cos(decl)};

    for (int v = 0; v < 512; ++v) {
        for (int u = 0; u < 256; ++u) {
            const Surface& s = surface[v * 256 + u];
            const Vec3 p = texelDirection(u, v);
            Colour day, night;
            double lights = 0;
            if (s.height > sea) {
                const double elevation = (s.height - sea) / (top - sea);
                const Land land = landColour(s, elevation);
                day = land.day;
                // Coasts are crowded, inland less so; cities come in clusters
                // joined by scattered towns.
                const double coast = smoothstep(0.08, 0.0, elevation);
                const double density = land.habitability * (0.4 + 0.6 * coast) + coast * 0.3;
                lights = density * smoothstep(0.38, 0.7, s.cityNoise) * 1.8;
                lights += density * smoothstep(0.72, 0.92, s.sparkle) * 1.4;
                night = mix(scaled(day, 0.06), Colour{14, 16, 26}, 0.6);
            } else {
                double ice = 0;
                day = oceanColour(s, (sea - s.height) / (sea - bottom), ice);
                night = mix(Colour{3, 6, 18}, Colour{16, 18, 26}, ice);
            }
            day = mix(day, Colour{246, 247, 252}, s.clouds);
            night = mix(night, Colour{22, 24, 36}, s.clouds);
            lights = std::clamp(lights * (1.0 - 0.75 * s.clouds), 0.0, 1.0);
            night = mix(night, Colour{255, 196, 112}, lights);
            if (lights > 0.7) night = mix(night, Colour{255, 240, 200}, (lights - 0.7) * 2.0);
            maps.day.set(u, v, day);
            maps.night.set(u, v, night);
            const double light = p.x * sun.x + p.y * sun.y + p.z * sun.z;
            maps.daylight.setGrey(u, v, 255.0 * smoothstep(-0.12, 0.12, light));
        }
    }
    return maps;
}

}  // namespace globe
