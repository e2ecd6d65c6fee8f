// The credits scene: a seamless marbled texture that the effect twirls over
// the whole screen, an old television set (with its mask) that grows and
// shrinks over it, and four credit pictures shown on the set's screen, each
// a role and a name written sideways so that they read left to right as the
// show is watched.

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/lettering.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;

// Signed distance to a rounded rectangle (negative inside).
double roundedBox(double x, double y, double x0, double y0, double x1, double y1, double radius) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

double coverage(double signedDistance) { return std::clamp(0.5 - signedDistance, 0.0, 1.0); }

// 256 x 256, seamless both ways: warped marble in deep blues and violets
// with thin golden veins. Noise with a period of whole lattice cells wraps.
Canvas warpTexture() {
    Canvas c(256, 256, 3);
    const int period = 4;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double u = x / 64.0, v = y / 64.0;
            const double wu = assetgen::fbm(u, v, 4, 142, period) - 0.5;
            const double wv = assetgen::fbm(u + 1.7, v + 2.9, 4, 143, period) - 0.5;
            const double n = assetgen::fbm(u + 2.0 * wu, v + 2.0 * wv, 6, 144, period);
            const double bands = 0.5 + 0.5 * std::sin(n * 26.0);
            Colour col = mix(Colour{10, 14, 60}, Colour{70, 30, 140}, smoothstep(0.3, 0.7, n));
            col = mix(col, Colour{40, 140, 200}, std::pow(bands, 6.0) * 0.7);
            const double vein = std::pow(std::max(0.0, 1.0 - std::fabs(n - 0.55) * 30.0), 2.0);
            col = mix(col, Colour{255, 210, 120}, vein);
            c.set(x, y, col);
        }
    }
    return c;
}

struct Picture {
    Canvas colour;
    Canvas mask;
};

// The television, landscape 256 x 220: a rounded wooden cabinet, a dark
// bulging screen centred on the picture's centre (where the credit pictures
// are drawn), a speaker grille and two knobs below it, feet and antennas.
Picture television() {
    const int w = 256, h = 220;
    Canvas colour(w, h, 3), mask(w, h, 1);
    const auto antennas = assetgen::distanceField(
        {{128, 28, 70, 3}, {128, 28, 190, 5}}, w, h, 8.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            Colour c{0, 0, 0};
            double a = 0;
            // Antennas and their base.
            const double rod = coverage(antennas[y * w + x] - 1.3);
            if (rod > 0) {
                c = mix(Colour{120, 125, 135}, Colour{230, 235, 240}, smoothstep(-1.3, 1.3, std::fabs(px - 128) * 0.02));
                a = rod;
            }
            const double ball = std::min(std::hypot(px - 70, py - 3), std::hypot(px - 190, py - 5)) - 3.0;
            if (coverage(ball) > 0) {
                c = mix(c, Colour{210, 215, 225}, coverage(ball));
                a = std::max(a, coverage(ball));
            }
            const double dome = std::hypot(px - 128, (py - 34) * 1.2) - 14.0;
            if (coverage(dome) > 0 && py < 34) {
                c = mix(c, mix(Colour{40, 40, 46}, Colour{110, 110, 120}, (34 - py) / 14.0), coverage(dome));
                a = std::max(a, coverage(dome));
            }
            // Feet.
            const double feet = std::min(roundedBox(px, py, 38, 190, 62, 214, 4), roundedBox(px, py, 194, 190, 218, 214, 4));
            if (coverage(feet) > 0) {
                c = mix(c, Colour{30, 22, 18}, coverage(feet));
                a = std::max(a, coverage(feet));
            }
            // Cabinet: wood grain, a light upper-left bevel and a darker lower-right one.
            const double cabinet = roundedBox(px, py, 6, 30, 250, 198, 22);
            if (coverage(cabinet) > 0) {
                const double grain = assetgen::fbm(px / 40.0, py / 3.0, 4, 148);
                Colour wood = mix(Colour{92, 48, 24}, Colour{150, 86, 42}, grain);
                wood = mix(wood, Colour{70, 34, 18}, 0.4 + 0.4 * std::sin(grain * 30.0 + px * 0.05) * 0.5);
                const double rim = smoothstep(-5.0, 0.0, cabinet);
                // Light from the upper left: the rim turns from lit to shaded
                // across the diagonal, smoothly, so no edge of the cabinet
                // changes colour at a hard step.
                const double lit = smoothstep(-40.0, 40.0, (128.0 - px) * 0.55 + (114.0 - py));
                wood = mix(wood, mix(Colour{30, 14, 8}, Colour{220, 160, 110}, lit), rim * 0.6);
                c = mix(c, wood, coverage(cabinet));
                a = std::max(a, coverage(cabinet));
            }
            // Screen bezel and glass.
            const double bezel = roundedBox(px, py, 28, 40, 228, 180, 18);
            if (coverage(bezel) > 0) c = mix(c, Colour{26, 24, 24}, coverage(bezel));
            const double glass = roundedBox(px, py, 36, 47, 220, 173, 14);
            if (coverage(glass) > 0) {
                const double dx = (px - 128) / 92.0, dy = (py - 110) / 63.0;
                const double vignette = std::clamp(1.0 - 0.6 * (dx * dx + dy * dy), 0.0, 1.0);
                Colour g = mix(Colour{4, 6, 10}, Colour{20, 40, 52}, vignette);
                if (y % 2 == 0) g = mix(g, Colour{0, 0, 0}, 0.25);  // scan lines
                const double shine = std::exp(-std::pow((px - 80) / 38.0, 2) - std::pow((py - 66) / 12.0, 2));
                g = mix(g, Colour{200, 220, 235}, shine * 0.35);
                c = mix(c, g, coverage(glass));
            }
            // Speaker grille and knobs below the screen.
            const double grille = roundedBox(px, py, 44, 183, 150, 193, 3);
            if (coverage(grille) > 0) c = mix(c, (x % 4 < 2) ? Colour{20, 12, 8} : Colour{60, 34, 20}, coverage(grille));
            for (double kx : {186.0, 210.0}) {
                const double knob = std::hypot(px - kx, py - 188) - 6.0;
                if (coverage(knob) > 0) {
                    const double light = std::clamp(0.6 - (px - kx + py - 188) * 0.08, 0.0, 1.0);
                    c = mix(c, mix(Colour{60, 55, 50}, Colour{220, 210, 190}, light), coverage(knob));
                }
            }
            colour.set(x, y, c);
            mask.setGrey(x, y, a * 255.0);
        }
    }
    return {assetgen::turnToPortrait(colour), assetgen::turnToPortrait(mask)};
}

// A credit picture, landscape 180 x height: a small role line above a
// larger name, both centred, glowing a little as on a picture tube.
Picture creditPicture(const std::string& role, const std::string& name, int height) {
    const int w = 180;
    Canvas colour(w, height, 3), mask(w, height, 1);
    assetgen::TextLayout roleLayout, nameLayout;
    roleLayout.capHeight = 8.0;
    roleLayout.spacing = 0.5;
    nameLayout.capHeight = std::min(20.0, 164.0 / (assetgen::textWidth(name, nameLayout) / nameLayout.capHeight));
    const double roleTop = 6.0, nameTop = height - 8.0 - nameLayout.capHeight;
    auto segments = assetgen::layoutText(role, (w - assetgen::textWidth(role, roleLayout)) / 2.0, roleTop, roleLayout);
    const auto roleField = assetgen::distanceField(segments, w, height, 12.0);
    segments = assetgen::layoutText(name, (w - assetgen::textWidth(name, nameLayout)) / 2.0, nameTop, nameLayout);
    const auto nameField = assetgen::distanceField(segments, w, height, 12.0);
    const double nameHalf = std::max(1.3, nameLayout.capHeight * 0.1);
    for (int y = 0; y < height; ++y) {
        const double t = std::clamp((y - nameTop) / nameLayout.capHeight, 0.0, 1.0);
        const Colour nameColour = mix(Colour{255, 255, 255}, Colour{255, 196, 90}, t);
        for (int x = 0; x < w; ++x) {
            const double dr = roleField[y * w + x], dn = nameField[y * w + x];
            const double roleCore = assetgen::strokeCoverage(dr, 0.7), nameCore = assetgen::strokeCoverage(dn, nameHalf);
            const double glow = std::max(0.5 * std::exp(-dr / 2.0), 0.6 * std::exp(-(dn - nameHalf) / 3.0));
            Colour c = mix(Colour{80, 160, 255}, Colour{150, 225, 255}, roleCore);
            c = mix(c, nameColour, nameCore);
            colour.set(x, y, c);
            mask.setGrey(x, y, 255.0 * std::clamp(std::max({roleCore, nameCore, glow * 0.75}), 0.0, 1.0));
        }
    }
    return {assetgen::turnToPortrait(colour), assetgen::turnToPortrait(mask)};
}

void addPicture(assetgen::Output& out, int id, int maskId, const Picture& p) {
    assetgen::addPictureWithMask(out, id, maskId, p.colour, p.mask);
}

}  // namespace

void generate(assetgen::Output& out) {
    out.add("JPEG", res::kCreditsTexture, warpTexture().toJpeg(92));
    addPicture(out, res::kTelevision, res::kTelevisionMask, television());
    addPicture(out, res::kCredit1, res::kCredit1Mask, creditPicture("PRESENTED BY", "MORVANTIDE, INC", 50));
    addPicture(out, res::kCredit2, res::kCredit2Mask, creditPicture("CODE", "HALVERIN", 50));
    addPicture(out, res::kCredit3, res::kCredit3Mask, creditPicture("MUSIC AND GRAPHICS", "HALVERIN", 52));
    addPicture(out, res::kCredit4, res::kCredit4Mask, creditPicture("RELEASED AT", "GATHMOOR 2002", 50));
}
