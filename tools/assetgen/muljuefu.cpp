// The writhing tube's pictures: its skin, 256 x 256 and seamless both ways
// (columns go round the tube, rows along it), and the backdrop it crosses,
// an alien dusk composed in landscape that the show stretches in a slow
// breath. The tube's bump map is the landscape's depth picture (voxel group).

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/starfield.h"
#include "common/tiling.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;

constexpr double kPi = 3.141592653589793;

// Overlapping scales in staggered rows (8 round the tube, 16 along it), each
// row lying over the one before, so their rounded edges all point the same
// way along the tube and show it sliding. Two helical bands of darker
// bronze scales wind round the tube and show its twist. Mid-dark: the tube
// doubles the skin's brightness where it faces the viewer.
Canvas tubeSkin() {
    constexpr int kSize = 256, kAround = 8, kAlong = 16;
    constexpr double kPitchX = kSize / kAround, kPitchY = kSize / kAlong, kRadius = 20.0;
    Canvas c(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            // The scale on top: the latest row whose disc holds the pixel.
            double dx = 0, dy = 0;
            for (int j = static_cast<int>(std::floor(py / kPitchY)) + 2; j >= static_cast<int>(py / kPitchY) - 3; --j) {
                const int wrappedRow = ((j % kAlong) + kAlong) % kAlong;
                const double cy = j * kPitchY;
                const double cxOffset = (wrappedRow % 2) ? kPitchX / 2 : 0.0;
                const double col = std::round((px - cxOffset - kPitchX / 2) / kPitchX);
                const double cx = col * kPitchX + kPitchX / 2 + cxOffset;
                const double ddx = assetgen::wrappedDelta(px, cx, kSize), ddy = py - cy;
                if (ddx * ddx + ddy * ddy < kRadius * kRadius) {
                    dx = ddx;
                    dy = ddy;
                    break;
                }
            }
            const double d = std::hypot(dx, dy) / kRadius;
            // Which helical band: bands run along x + y, seamless both ways.
            const double helix = 0.5 + 0.5 * std::cos((px + py) / kSize * 2.0 * kPi * 2.0);
            const double band = smoothstep(0.55, 0.8, helix);
            const double grain = assetgen::fbm(px / 16.0, py / 16.0, 4, 1120, 16);
            Colour base = mix(Colour{20, 70, 56}, Colour{46, 110, 72}, grain);
            base = mix(base, Colour{92, 58, 22}, band);
            // Lit towards the free, rounded edge (dy > 0), shadowed at the
            // root under the previous row, with a ridge down the middle.
            const double lit = smoothstep(-0.9, 0.8, dy / kRadius);
            Colour col = mix(Colour{base.r * 0.35, base.g * 0.35, base.b * 0.35}, base, lit);
            const double ridge = std::exp(-std::pow(dx / 2.2, 2.0)) * smoothstep(-0.5, 0.5, dy / kRadius);
            col = mix(col, Colour{150, 140, 80}, 0.25 * ridge);
            const double rim = smoothstep(0.8, 0.98, d);
            col = mix(col, Colour{12, 16, 10}, 0.85 * rim);
            const double sheen = std::exp(-std::pow((d - 0.7) / 0.08, 2.0)) * smoothstep(0.0, 0.6, dy / kRadius);
            col = mix(col, Colour{170, 170, 110}, 0.3 * sheen);
            c.set(x, y, col);
        }
    }
    return c;
}

// The backdrop in landscape, 320 x 240: the tube hangs from top to bottom
// through the middle, so the scene is framed by its sides. A dusk sky from
// deep indigo to a glowing magenta and amber horizon, stars and a pale
// ringed moon at the upper left, a nebula's haze at the upper right, and
// mesas in silhouette with a dark plain cut by glowing fissures below.
Canvas tubeBackdrop() {
    constexpr int kW = 320, kH = 240;
    constexpr double kHorizon = 168.0;
    Canvas c(kW, kH, 3);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const double t = y / kHorizon;
            Colour sky = mix(Colour{6, 6, 26}, Colour{46, 18, 78}, smoothstep(0.0, 0.7, t));
            sky = mix(sky, Colour{170, 50, 96}, smoothstep(0.6, 0.95, t));
            sky = mix(sky, Colour{240, 140, 60}, smoothstep(0.9, 1.0, t));
            c.set(x, y, sky);
        }
    }
    assetgen::addNebula(c, 60.0, 1390, 80.0);
    assetgen::addStars(c, 260, 1391);
    // The moon: a pale disc with a soft glow and a tilted ring.
    const double mx = 62, my = 54, mr = 24;
    assetgen::addGlow(c, mx, my, 40, Colour{120, 110, 170}, 0.6);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const double dx = x + 0.5 - mx, dy = y + 0.5 - my;
            const double d = std::hypot(dx, dy);
            // Ring: an ellipse tilted by 20 degrees, hidden behind the disc on its upper half.
            const double rx = dx * std::cos(0.35) + dy * std::sin(0.35), ry = -dx * std::sin(0.35) + dy * std::cos(0.35);
            const double e = std::hypot(rx / 46.0, ry / 11.0);
            const double ring = std::exp(-std::pow((e - 1.0) / 0.05, 2.0)) * 0.7;
            const bool behind = ry < 0 && d < mr;
            if (d < mr + 1) {
                const double cover = std::clamp(mr + 0.5 - d, 0.0, 1.0);
                const double craters = assetgen::fbm(x / 7.0, y / 7.0, 4, 1392);
                const double light = smoothstep(mr, -mr, dx * 0.8 + dy * 0.6);
                Colour moon = mix(Colour{60, 56, 80}, Colour{236, 226, 214}, light * (0.75 + 0.35 * craters));
                c.blend(x, y, moon, cover);
            }
            if (!behind && ring > 0.01) c.blend(x, y, Colour{220, 200, 170}, ring);
        }
    }
    // Mesas: flat-topped silhouettes along the horizon, darker towards us.
    for (int x = 0; x < kW; ++x) {
        const double n = assetgen::fbm(x / 40.0, 0.5, 4, 1393);
        const double mesa = kHorizon - 8 - 40 * smoothstep(0.45, 0.6, n) - 10 * assetgen::fbm(x / 9.0, 3.5, 3, 1394);
        for (int y = 0; y < kH; ++y) {
            if (y + 0.5 < mesa) continue;
            const double depth = smoothstep(mesa, kH, y);
            Colour ground = mix(Colour{40, 14, 40}, Colour{10, 6, 14}, std::min(1.0, depth * 3.0));
            if (y > kHorizon) {
                // Glowing fissures in the plain, widening towards the viewer.
                const double f = assetgen::fbm(x / 50.0, (y - kHorizon) / 8.0, 5, 1395);
                const double crack = std::exp(-std::pow((f - 0.5) / (0.008 + 0.02 * depth), 2.0));
                ground = mix(ground, Colour{255, 120, 40}, crack * (0.4 + 0.6 * depth));
            }
            const double edge = std::clamp(y + 0.5 - mesa, 0.0, 1.0);
            c.blend(x, y, ground, edge);
        }
    }
    return c;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kTubeSkin, tubeSkin());
    assetgen::addPicture(out, res::kTubeBackdrop, assetgen::turnToPortrait(tubeBackdrop()));
}
