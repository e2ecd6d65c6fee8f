// The twisting pole's scene: the skin wrapped along the pole (seamless along
// its length) and the dusk sea behind it, which the effect stretches and
// shrinks sideways (as watched) by up to a tenth.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/starfield.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;

// Along the pole (as watched, left to right) 256 pixels, across a face 32.
constexpr int kLength = 256, kAcross = 32;
// A dark collar every kRingGap pixels, a helical copper band every kBandGap.
constexpr int kRingGap = 64, kBandGap = 32;

// Distance from a to the nearest multiple of period (a >= 0 not required).
double periodicDistance(double a, double period) {
    const double m = std::fmod(std::fmod(a, period) + period, period);
    return std::min(m, period - m);
}

// The skin, landscape 256 x 32: dark blued steel, brushed along the pole,
// wound with a copper band whose slant shows the twist, and dark collars
// whose spacing shows the sway. Every pattern repeats a
// whole number of times along the 256 pixels, so the skin wraps seamlessly.
Canvas poleSkin() {
    Canvas c(kLength, kAcross, 3);
    for (int y = 0; y < kAcross; ++y) {
        for (int x = 0; x < kLength; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double across = py / kAcross;  // 0 at one edge of the face, 1 at the other
            // Brushed steel: fine grain along the pole, slower blotches.
            const double grain = assetgen::fbm(px / 4.0, py / 1.5, 3, 1190, kLength / 4);
            const double blotch = assetgen::fbm(px / 32.0, py / 32.0, 3, 1191, kLength / 32);
            Colour col = mix(Colour{22, 28, 44}, Colour{58, 70, 96}, 0.55 * grain + 0.45 * blotch);
            // The face's edges turn away from the light; a soft sheen runs a
            // quarter of the way across.
            const double bevel = std::min(across, 1.0 - across);
            col = mix(Colour{6, 8, 14}, col, smoothstep(0.0, 0.16, bevel));
            const double sheen = std::exp(-std::pow((across - 0.28) / 0.09, 2.0));
            col = mix(col, Colour{150, 170, 205}, 0.35 * sheen);

            // The copper band: slanted two pixels along per pixel across.
            const double band = periodicDistance(px + 2.0 * py, kBandGap);
            const double copper = smoothstep(7.5, 6.0, band);
            if (copper > 0) {
                const double lit = 0.5 + 0.5 * std::cos(band / 7.0 * 3.14159);
                Colour metal = mix(Colour{110, 48, 18}, Colour{235, 140, 60}, lit * (0.6 + 0.4 * grain));
                metal = mix(metal, Colour{255, 220, 170}, 0.5 * sheen * lit);
                col = mix(col, mix(Colour{20, 8, 4}, metal, smoothstep(0.0, 0.1, bevel)), copper);
            }

            // Collars: broad dark bands with a soft sheen across the pole.
            // They are wider than any stroke of the lettering and darker than
            // the steel, so between the greetings they cannot read as letters.
            const double ring = periodicDistance(px - kRingGap / 2.0, kRingGap);
            const double collar = smoothstep(10.0, 7.0, ring);
            if (collar > 0) {
                const double round = std::cos(std::min(ring, 8.0) / 8.0 * 1.5708);
                Colour metal = mix(Colour{10, 12, 20}, Colour{52, 60, 80}, round * round);
                metal = mix(metal, Colour{110, 120, 150}, 0.35 * sheen * round);
                col = mix(col, mix(Colour{4, 4, 8}, metal, smoothstep(0.0, 0.1, bevel)), collar);
            }
            c.set(x, y, col);
        }
    }
    return c;
}

// The backdrop, landscape 320 x 240: dusk over a calm sea. Everything in it
// runs level (cloud streaks, a far coast, light on the water), so a sideways
// stretch of a tenth changes nothing that the eye would catch; the sky glows
// around a sun that has just set behind the coast.
Canvas poleBackdrop() {
    const int w = 320, h = 240;
    const double horizon = 168.0, sunX = 196.0;
    Canvas c(w, h, 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double sunward = std::exp(-std::pow((px - sunX) / 120.0, 2.0));
            Colour col;
            if (py < horizon) {
                const double height = 1.0 - py / horizon;  // 0 at the horizon, 1 at the top
                col = mix(Colour{250, 130, 60}, Colour{150, 40, 90}, smoothstep(0.0, 0.35, height));
                col = mix(col, Colour{34, 14, 70}, smoothstep(0.25, 0.7, height));
                col = mix(col, Colour{6, 6, 26}, smoothstep(0.6, 1.0, height));
                col = mix(col, Colour{255, 200, 120}, sunward * std::exp(-height * 6.0) * 0.8);
                // Long thin clouds, dark against the glow and lit from below.
                const double streak = assetgen::fbm(px / 90.0, py / 7.0, 5, 1201);
                const double cloud = smoothstep(0.5, 0.72, streak) * smoothstep(0.95, 0.3, height);
                const Colour shade = mix(Colour{40, 12, 40}, Colour{255, 150, 110}, 0.3 + 0.7 * sunward);
                const double underside = smoothstep(0.6, 0.5, assetgen::fbm(px / 90.0, (py + 2.0) / 7.0, 5, 1201));
                col = mix(col, mix(shade, Colour{255, 190, 140}, underside * sunward), cloud * 0.85);
            } else {
                const double depth = (py - horizon) / (h - horizon);  // 0 at the horizon, 1 at the bottom
                col = mix(Colour{70, 30, 70}, Colour{4, 8, 24}, smoothstep(0.0, 0.8, depth));
                // Ripples: short level strokes that mirror the sunset glow.
                const double ripple = assetgen::fbm(px / (40.0 - 25.0 * depth), py / (1.2 + 3.0 * depth), 4, 1202);
                const double glitter = smoothstep(0.55, 0.8, ripple) * (0.3 + 0.7 * sunward) * (1.0 - 0.7 * depth);
                col = mix(col, Colour{255, 170, 90}, glitter * 0.8);
                col = mix(col, Colour{255, 220, 160}, sunward * std::exp(-depth * 8.0) * 0.5);
            }
            // The far coast: a low ridge sitting on the horizon.
            const double ridge = horizon - 3.0 - 9.0 * assetgen::fbm(px / 40.0, 3.5, 4, 1203);
            if (py > ridge && py < horizon + 1.0) col = mix(col, Colour{16, 8, 24}, smoothstep(ridge, ridge + 1.0, py));
            c.set(x, y, col);
        }
    }
    // A few stars in the darkest sky; their faint haze keeps them round enough when stretched.
    Canvas stars(w, 90, 3);
    assetgen::addStars(stars, 70, 1204);
    for (int y = 0; y < 90; ++y) {
        const double fade = smoothstep(90.0, 20.0, y);
        for (int x = 0; x < w; ++x) {
            const Colour s = stars.get(x, y);
            assetgen::addLight(c, x, y, s, fade);
        }
    }
    return c;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kPoleSkin, assetgen::turnToPortrait(poleSkin()), 95);
    assetgen::addPicture(out, res::kPoleBackdrop, assetgen::turnToPortrait(poleBackdrop()));
}
