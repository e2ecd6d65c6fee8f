// The typewriter scene's two warp textures, 256 x 256 and seamless both
// ways (the warps wrap them endlessly): stained glass for the twirl and an
// art-deco fan tiling for the perspective swirl. Both stay dark and low in
// contrast, like a dimmed backdrop, so that the white text typed over them
// reads at a glance.

#include <algorithm>
#include <cmath>

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


// Leaded glass: organic cells (cellular noise over a gently warped plane) in
// deep jewel tones, each glowing a little towards its middle and mottled like
// old glass, set in dark lead with a faint warm rim.
Canvas stainedGlass() {
    const Colour jewels[] = {{84, 16, 30}, {18, 32, 88}, {12, 64, 48}, {96, 56, 14}, {52, 20, 80}, {14, 66, 80}};
    Canvas c(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double wu = assetgen::fbm(x / 64.0, y / 64.0, 3, 186, 4) - 0.5;
            const double wv = assetgen::fbm(x / 64.0 + 5.3, y / 64.0 + 1.1, 3, 187, 4) - 0.5;
            const auto cell = assetgen::cellular(x / 32.0 + 0.7 * wu, y / 32.0 + 0.7 * wv, 1860, 8);
            const Colour base = jewels[cell.cell % 6];
            const double mottle = assetgen::fbm(x / 16.0, y / 16.0, 4, 1861, 16);
            const double glowInside = 0.75 + 0.3 * smoothstep(0.9, 0.1, cell.nearest) + 0.2 * (mottle - 0.5);
            const Colour glass = scaled(base, glowInside);
            const double edge = cell.second - cell.nearest;
            const double lead = smoothstep(0.11, 0.04, edge);
            const double rim = std::exp(-std::pow((edge - 0.12) / 0.03, 2.0));
            Colour col = mix(glass, Colour{150, 110, 60}, 0.15 * rim);
            col = mix(col, Colour{14, 12, 16}, 0.8 * lead);
            c.set(x, y, col);
        }
    }
    return c;
}

// Art-deco fans: 32-pixel cells, each a quarter disc of three broad arcs
// opening from one corner, the corner turning from cell to cell so that four
// fans meet in full circles, dark copper and verdigris circles in a checker;
// deep teal enamel between them and faint gold outlines, with a patina of
// noise. The arcs differ only a little in brightness.
Canvas decoFans() {
    constexpr int kCell = 32;
    Canvas c(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int cx = x / kCell, cy = y / kCell;
            // Corner of the fan: cells alternate so that fans meet in circles.
            const double ox = (cx % 2 == 0) ? kCell : 0, oy = (cy % 2 == 0) ? kCell : 0;
            const double lx = x % kCell + 0.5, ly = y % kCell + 0.5;
            const double r = std::hypot(lx - ox, ly - oy) / kCell;  // 0 at the corner, 1 at the fan's rim
            const double patina = assetgen::fbm(x / 32.0, y / 32.0, 5, 1870, 8);
            Colour enamel = mix(Colour{6, 28, 34}, Colour{14, 48, 52}, patina);
            enamel = mix(enamel, Colour{6, 20, 30}, smoothstep(0.9, 1.4, r) * 0.6);
            Colour col = enamel;
            if (r < 1.0) {
                // Three broad arcs a fan: the swirl shrinks the picture several
                // times over, and finer arcs break into flickering moire.
                const double ring = 0.5 + 0.5 * std::cos(r * 3.0 * 2.0 * 3.141592653589793);
                const bool verdigris = ((x / (2 * kCell)) + (y / (2 * kCell))) % 2 == 1;
                Colour copper = verdigris ? mix(Colour{14, 50, 42}, Colour{30, 78, 64}, ring)
                                          : mix(Colour{62, 28, 14}, Colour{96, 50, 24}, ring);
                copper = mix(copper, Colour{40, 18, 10}, 0.35 * (patina - 0.3));
                // Rays across the arcs.
                const double angle = std::atan2(std::fabs(ly - oy), std::fabs(lx - ox));
                const double ray = std::pow(std::fabs(std::sin(angle * 4.0)), 12.0);
                copper = mix(copper, Colour{40, 20, 12}, 0.35 * ray * smoothstep(0.15, 0.35, r));
                col = mix(copper, enamel, smoothstep(0.96, 1.0, r));
            }
            const double outline = std::exp(-std::pow((r - 1.0) * kCell / 0.9, 2.0));
            col = mix(col, Colour{150, 118, 60}, 0.5 * outline);
            // A small gold stud where four fans meet.
            const double stud = std::hypot(lx - ox, ly - oy);
            col = mix(col, Colour{150, 122, 70}, smoothstep(3.0, 1.5, stud));
            c.set(x, y, col);
        }
    }
    return c;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kWarpTexture0, stainedGlass());
    assetgen::addPicture(out, res::kWarpTexture1, decoFans());
}
