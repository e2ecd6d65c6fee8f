// The closing picture, composed in landscape (320 x 240): a dark starry sky
// over a huge planet whose rim glows across the lower part of the view, the
// sun rising behind it on the right and the title ZEMRA glowing on its face.
// The middle band of the sky, where the three credit lines slide in (rows
// 90, 120 and 150 of the view, centred on column 160), is kept dark and
// quiet so the white lines read clearly. The scene stretches the picture by
// up to 27 columns at each side, so nothing that matters sits nearer the
// sides than that.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/lettering.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/planet_rim.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/starfield.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;

constexpr int kWidth = 320, kHeight = 240;
// The planet's rim tops out at row 170, under the third credit line.
constexpr double kPlanetX = 160.0, kPlanetY = 500.0, kPlanetRadius = 330.0;
// Where the sun rises over the rim.
constexpr double kSunX = 252.0;

double rimRow(double x) { return kPlanetY - std::sqrt(kPlanetRadius * kPlanetRadius - (x - kPlanetX) * (x - kPlanetX)); }
const double kSunY = rimRow(kSunX) - 2.0;

void drawSky(Canvas& c) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) c.set(x, y, mix(Colour{2, 2, 10}, Colour{12, 4, 24}, y / double(kHeight)));
    assetgen::addNebula(c, 60.0, 144, 110.0);
    // Quieten the band of the credit lines so the nebula stays behind them.
    for (int y = 0; y < kHeight; ++y) {
        const double band = smoothstep(55.0, 80.0, y) * smoothstep(175.0, 155.0, y);
        for (int x = 0; x < kWidth; ++x) {
            const double keep = 1.0 - 0.65 * band * std::exp(-std::pow((x - 160.0) / 120.0, 2.0));
            const Colour old = c.get(x, y);
            c.set(x, y, {old.r * keep, old.g * keep, old.b * keep});
        }
    }
    assetgen::addStars(c, 800, 144);
}

// A small moon high on the left, lit from the rising sun on the right.
void drawMoon(Canvas& c) {
    const double cx = 62.0, cy = 38.0, radius = 13.0;
    for (int y = 20; y < 57; ++y) {
        for (int x = 44; x < 81; ++x) {
            const double nx = (x + 0.5 - cx) / radius, ny = (y + 0.5 - cy) / radius;
            const double r2 = nx * nx + ny * ny;
            if (r2 >= 1.0) continue;
            const double nz = std::sqrt(1.0 - r2);
            const double light = std::clamp(0.8 * nx + 0.45 * ny + 0.4 * nz, 0.0, 1.0);
            const double craters = assetgen::fbm(nx * 4.0 + 9.0, ny * 4.0, 4, 1441);
            const Colour body = mix(Colour{90, 84, 96}, Colour{210, 200, 190}, craters);
            const Colour lit = {body.r * (0.04 + light), body.g * (0.04 + light), body.b * (0.06 + light)};
            c.blend(x, y, lit, std::clamp((1.0 - std::sqrt(r2)) * radius, 0.0, 1.0));
        }
    }
}

// The planet: a night side with faint cloud bands, lit along its rim, under
// an atmosphere that glows blue above the rim and gold towards the sun.
void drawPlanet(Canvas& c) {
    assetgen::drawPlanetRim(c, {.centreX = kPlanetX, .centreY = kPlanetY, .radius = kPlanetRadius,
                                .sunX = kSunX, .sunSpread = 90.0,
                                .groundDark = {6, 8, 22}, .groundLight = {30, 34, 70},
                                .cloudScaleX = 50.0, .cloudScaleY = 9.0, .cloudSeed = 1442,
                                .rimCool = {70, 120, 230}, .rimWarm = {255, 176, 96},
                                .innerWidth = 5.0, .innerSunWidth = 14.0, .innerBase = 0.55, .innerSun = 0.45,
                                .airCool = {80, 110, 255}, .airWarm = {255, 190, 120}, .airSunMix = 0.85,
                                .hazeWidth = 5.0, .hazeSunWidth = 16.0, .hazeBase = 0.45, .hazeSun = 0.8});
}

// The sun just peeking over the rim: a white core, a warm halo and a thin
// streak of light along the horizon.
void drawSunrise(Canvas& c) {
    assetgen::addGlow(c, kSunX, kSunY, 3.5, {255, 255, 255}, 1.0);
    assetgen::addGlow(c, kSunX, kSunY, 11.0, {255, 228, 190}, 0.75);
    assetgen::addGlow(c, kSunX, kSunY, 34.0, {255, 160, 100}, 0.3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double along = std::fabs(x + 0.5 - kSunX);
            const double off = y + 0.5 - (rimRow(x + 0.5) - 1.0);
            const double streak = std::exp(-along / 70.0) * std::exp(-off * off / 4.0);
            assetgen::addLight(c, x, y, {255, 220, 190}, streak * 0.8);
        }
    }
}

// The title on the planet's face: golden capitals with a hot white core and a
// wide amber glow, as if the letters were lit from within.
void drawTitle(Canvas& c) {
    assetgen::TextLayout layout;
    layout.capHeight = 30.0;
    layout.spacing = 0.34;
    layout.slant = 0.1;
    const char* title = "ZEMRA";
    const double width = assetgen::textWidth(title, layout);
    const double left = kPlanetX - width / 2.0, top = 193.0;
    const double halfWidth = 2.6;
    const auto field = assetgen::distanceField(assetgen::layoutText(title, left, top, layout), kWidth, kHeight, 30.0);
    for (int y = 0; y < kHeight; ++y) {
        const double t = std::clamp((y + 0.5 - top) / layout.capHeight, 0.0, 1.0);
        const Colour face = mix(Colour{255, 236, 170}, Colour{255, 140, 50}, t);
        for (int x = 0; x < kWidth; ++x) {
            const double d = field[y * kWidth + x];
            if (d >= 30.0) continue;
            assetgen::addLight(c, x, y, {255, 120, 40}, 0.5 * std::exp(-(d - halfWidth) / 6.0));
            c.blend(x, y, face, assetgen::strokeCoverage(d, halfWidth));
            c.blend(x, y, {255, 255, 240}, assetgen::strokeCoverage(d, halfWidth * 0.35) * 0.8);
        }
    }
}

}  // namespace

void generate(assetgen::Output& out) {
    Canvas c(kWidth, kHeight, 3);
    drawSky(c);
    drawMoon(c);
    drawPlanet(c);
    drawSunrise(c);
    drawTitle(c);
    assetgen::addPicture(out, res::kEndPicture, assetgen::turnToPortrait(c), 92);
}
