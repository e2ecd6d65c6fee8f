// The title picture: a 1600 x 240 landscape panorama (stored as a 240 x 1600
// portrait picture) that the logo scroll pans across from its left end to its
// right end in about twenty seconds. Left to right: a planet's night side
// with the sun rising over its rim, the title ZEMRA above the sunrise (in
// view at the white flash of the music), a ringed planet, and a far galaxy.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/chrome_lettering.h"
#include "common/lettering.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/planet_rim.h"
#include "common/smoothstep.h"
#include "common/starfield.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;

constexpr int kWidth = 1600, kHeight = 240;
// The sunrise and the title stand where the view is at the flash.
constexpr double kSunX = 575.0, kSunY = 178.0;
constexpr double kPlanetRadius = 1500.0;

// A huge planet whose rim arcs across the lower left; its night side shows
// faint clouds, its atmosphere glows, most strongly towards the sun.
void drawPlanetRim(Canvas& c) {
    assetgen::drawPlanetRim(c, {.centreX = kSunX, .centreY = kSunY + kPlanetRadius, .radius = kPlanetRadius,
                                .sunX = kSunX, .sunSpread = 260.0,
                                .groundDark = {4, 6, 14}, .groundLight = {18, 22, 40},
                                .cloudScaleX = 60.0, .cloudScaleY = 14.0, .cloudSeed = 77,
                                .rimCool = {60, 120, 220}, .rimWarm = {255, 170, 90},
                                .innerWidth = 4.0, .innerSunWidth = 10.0, .innerBase = 0.5, .innerSun = 0.5,
                                .airCool = {70, 130, 255}, .airWarm = {255, 190, 120}, .airSunMix = 0.8,
                                .hazeWidth = 6.0, .hazeSunWidth = 14.0, .hazeBase = 0.35, .hazeSun = 0.9});
}

// The sun just above the rim: a white core, warm halo and a long flat streak.
void drawSunrise(Canvas& c) {
    assetgen::addGlow(c, kSunX, kSunY, 4.0, {255, 255, 255}, 1.0);
    assetgen::addGlow(c, kSunX, kSunY, 14.0, {255, 230, 190}, 0.8);
    assetgen::addGlow(c, kSunX, kSunY, 45.0, {255, 170, 110}, 0.35);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = std::fabs(x + 0.5 - kSunX), dy = y + 0.5 - kSunY;
            // The streak fades out well inside the picture's width, so that
            // the scroll's row blending never shows it as a full-width line.
            const double streak = std::exp(-std::pow(dx / 62.0, 2.0)) * std::exp(-dy * dy / 3.0);
            assetgen::addLight(c, x, y, {200, 220, 255}, streak * 0.9);
        }
    }
    // Lens ghosts along the line from the sun through the middle of the view.
    const double ghosts[][3] = {{-60, 10, 0.10}, {-120, 5, 0.16}, {-170, 18, 0.07}};
    for (const auto& g : ghosts) {
        const double t = g[0] / 100.0;
        assetgen::addGlow(c, kSunX + t * 40.0, kSunY + t * 58.0, g[1], {140, 200, 255}, g[2]);
    }
}

// The title: chrome lettering, sky-coloured above the middle line and
// sunset-coloured below, with a dark edge and a violet glow.
void drawTitle(Canvas& c) {
    assetgen::TextLayout layout;
    layout.capHeight = 50.0;
    layout.spacing = 0.3;
    layout.slant = 0.12;
    const char* title = "ZEMRA";
    const double width = assetgen::textWidth(title, layout);
    const double left = kSunX + 25.0 - width / 2.0, top = 62.0;
    const double halfWidth = 5.0;
    assetgen::drawChromeLettering(c, assetgen::layoutText(title, left, top, layout),
                                  {.top = top,
                                   .capHeight = layout.capHeight,
                                   .halfWidth = halfWidth,
                                   .edgeHalfWidth = halfWidth + 1.6,
                                   .reach = 40.0,
                                   .glow = 0.55,
                                   .glowFalloff = 9.0,
                                   .lowFace = {70, 30, 110}});
    // A thin line under the title with the makers' name.
    assetgen::TextLayout small;
    small.capHeight = 9.0;
    small.spacing = 0.45;
    const char* line = "A MORVANTIDE, INC PRODUCTION";
    const double lineLeft = kSunX + 25.0 - assetgen::textWidth(line, small) / 2.0;
    const auto lineField = assetgen::distanceField(assetgen::layoutText(line, lineLeft, 128.0, small), kWidth, kHeight, 6.0);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double d = lineField[y * kWidth + x];
            assetgen::addLight(c, x, y, {120, 160, 255}, 0.25 * std::exp(-d / 2.5));
            c.blend(x, y, {225, 235, 255}, assetgen::strokeCoverage(d, 0.8));
        }
}

// A ringed planet, lit from the left (the sun behind the view's start).
void drawRingedPlanet(Canvas& c, double cx, double cy, double radius) {
    const double tilt = 0.28;  // ring ellipse: minor / major
    auto ring = [&](int x, int y, bool front) {
        const double dx = (x + 0.5 - cx) / (radius * 2.2), dy = (y + 0.5 - cy) / (radius * 2.2 * tilt);
        const double rr = std::hypot(dx, dy);
        if ((dy > 0) != front) return;
        const double band = smoothstep(0.55, 0.6, rr) * smoothstep(1.0, 0.95, rr);
        const double grooves = 0.6 + 0.4 * std::sin(rr * 70.0);
        c.blend(x, y, {220, 190, 150}, band * grooves * 0.85);
    };
    for (int y = static_cast<int>(cy - radius * 3); y <= cy + radius * 3; ++y) {
        for (int x = static_cast<int>(cx - radius * 3); x <= cx + radius * 3; ++x) {
            ring(x, y, false);
            const double nx = (x + 0.5 - cx) / radius, ny = (y + 0.5 - cy) / radius;
            const double r2 = nx * nx + ny * ny;
            if (r2 < 1.0) {
                const double nz = std::sqrt(1.0 - r2);
                const double light = std::clamp(-0.75 * nx - 0.35 * ny + 0.55 * nz, 0.0, 1.0);
                const double bands = assetgen::fbm(ny * 6.0, nx * 1.2, 4, 91);
                const Colour body = mix(Colour{150, 110, 70}, Colour{235, 205, 160}, bands);
                const Colour shade = {body.r * (0.05 + light), body.g * (0.05 + light), body.b * (0.06 + light)};
                c.blend(x, y, shade, std::clamp((1.0 - std::sqrt(r2)) * radius, 0.0, 1.0));
            }
            ring(x, y, true);
        }
    }
}

// A small spiral galaxy seen at a slant: a diffuse disc, two arms of
// scattered stars and a warm core.
void drawGalaxy(Canvas& c, double cx, double cy, double size) {
    const double rot = -0.4, flat = 0.42;
    auto place = [&](double x, double y, double& px, double& py) {
        px = cx + x * std::cos(rot) - y * flat * std::sin(rot);
        py = cy + x * std::sin(rot) + y * flat * std::cos(rot);
    };
    for (int y = static_cast<int>(cy - size); y <= cy + size; ++y) {
        for (int x = static_cast<int>(cx - size); x <= cx + size; ++x) {
            // Back to the galaxy's own plane to measure the distance from its core.
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double gx = dx * std::cos(rot) + dy * std::sin(rot), gy = (-dx * std::sin(rot) + dy * std::cos(rot)) / flat;
            const double r = std::hypot(gx, gy) / size;
            assetgen::addLight(c, x, y, {170, 170, 230}, 0.22 * std::exp(-r * r / 0.12));
        }
    }
    assetgen::Rng rng(1410);
    for (int i = 0; i < 14000; ++i) {
        const double arm = rng.below(2) * 3.141592653589793;
        const double r = std::pow(rng.uniform(), 0.7);
        const double a = arm + r * 4.5 + rng.range(-0.5, 0.5) * (1.3 - r);
        double px = 0, py = 0;
        place(std::cos(a) * r * size, std::sin(a) * r * size, px, py);
        const Colour tint = mix(Colour{255, 225, 185}, Colour{140, 175, 255}, r);
        assetgen::addLight(c, static_cast<int>(px), static_cast<int>(py), tint, 0.05 * (1.3 - r));
    }
    assetgen::addGlow(c, cx, cy, size * 0.08, {255, 235, 200}, 0.8);
    assetgen::addGlow(c, cx, cy, size * 0.2, {255, 200, 150}, 0.25);
}

}  // namespace

void generate(assetgen::Output& out) {
    Canvas c(kWidth, kHeight, 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) c.set(x, y, mix(Colour{1, 2, 8}, Colour{6, 4, 18}, y / double(kHeight)));
    assetgen::addNebula(c, 80.0, 141, 150.0);
    assetgen::addStars(c, 2400, 141);
    drawGalaxy(c, 1400.0, 140.0, 90.0);
    drawRingedPlanet(c, 1000.0, 96.0, 34.0);
    drawPlanetRim(c);
    drawSunrise(c);
    drawTitle(c);
    out.add("JPEG", res::kTitlePanorama, assetgen::turnToPortrait(c).toJpeg(92));
}
