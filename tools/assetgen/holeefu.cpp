// The shaft's pictures: the wall lining (256 x 256, stored tiled) and the
// swimmers' head glow (64 x 64).
//
// Wall lining: columns run along the shaft (512 world units each, the
// texture repeats every 256 columns), rows run around it, 64 rows to each
// of the four walls in turn, so rows 63 and 64 (and 255 and 0) meet at a
// corner. Stone blocks in running courses, a bronze trim along every corner,
// recessed lamps in the middle of each wall and a ring of light around the
// whole shaft once per repeat: things that stream past and show the speed.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/noise.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/starfield.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::scaled;
using assetgen::smoothstep;
using assetgen::tiledFbm;

constexpr int N = 256;
constexpr int kWallRows = 64;
constexpr int kBlockRows = 14, kBlockColumns = 32;  // about square on the wall (1024 x 512 units per texel)
constexpr int kTrim = 4;                            // rows of trim on each side of a corner


// A number in [0, 1) for a block, the same wherever the block repeats.
double blockRandom(int course, int block, uint32_t salt) {
    assetgen::Rng rng(static_cast<uint64_t>(course) * 7919u + static_cast<uint64_t>(block) * 104729u + salt);
    return rng.uniform();
}

// Stone courses between the trims: each course a run of blocks offset by
// half a block from the one before, with mortar joints and bevelled edges.
Colour stone(int column, int wall, int row) {
    const int inner = row - kTrim;  // 0 .. 55 between the trims
    const int course = inner / kBlockRows, inCourse = inner % kBlockRows;
    const int shifted = column + (course & 1) * (kBlockColumns / 2) + wall * 7;
    const int block = (shifted / kBlockColumns) % (N / kBlockColumns);
    const int inBlock = shifted % kBlockColumns;
    const double tint = blockRandom(wall * 4 + course, block, 31);
    Colour c = mix(Colour{104, 92, 80}, Colour{138, 124, 104}, tint);
    c = mix(c, Colour{96, 100, 104}, blockRandom(wall * 4 + course, block, 32) * 0.5);
    const int y = wall * kWallRows + row;
    const double grain = tiledFbm(column, y, N, 32, 4, 900 + wall);
    const double pits = smoothstep(0.62, 0.72, tiledFbm(column, y, N, 64, 2, 910));
    c = scaled(c, 0.8 + 0.4 * grain - 0.25 * pits);
    // Bevels: lit along the block's leading and upper edges, shadowed along the others.
    if (inCourse == 0 || inBlock == 0) return scaled(c, 0.28);  // mortar
    if (inCourse == 1 || inBlock == 1) c = scaled(c, 1.25);
    if (inCourse == kBlockRows - 1 || inBlock == kBlockColumns - 1) c = scaled(c, 0.62);
    // A carved ring on some blocks.
    if (blockRandom(wall * 4 + course, block, 33) < 0.3) {
        const double d = std::hypot(inBlock - kBlockColumns / 2.0, (inCourse - kBlockRows / 2.0) * 2.0);
        if (std::fabs(d - 8.0) < 1.0) c = scaled(c, 0.55);
        if (std::fabs(d - 9.2) < 0.6) c = scaled(c, 1.2);
    }
    return c;
}

// The bronze trim on either side of a corner, brightest on its ridge.
Colour trim(int column, int row) {
    const int fromCorner = row < kWallRows / 2 ? row : kWallRows - 1 - row;  // 0 at the corner
    const double ridge = 1.0 - std::fabs(fromCorner - 1.5) / 2.5;
    Colour c = mix(Colour{90, 62, 34}, Colour{210, 160, 90}, std::max(0.0, ridge));
    if (column % 16 == 0) c = scaled(c, 0.5);  // rivet joints along the corner
    return c;
}

Canvas paintWall() {
    Canvas c(N, N, 3);
    for (int y = 0; y < N; ++y) {
        const int wall = y / kWallRows, row = y % kWallRows;
        for (int x = 0; x < N; ++x) {
            const bool isTrim = row < kTrim || row >= kWallRows - kTrim;
            c.set(x, y, isTrim ? trim(x, row) : stone(x, wall, row));
        }
    }
    // Lamps recessed in the middle of each wall, twice per repeat, the
    // walls' lamps staggered so that they come past one after another.
    for (int wall = 0; wall < 4; ++wall) {
        for (int k = 0; k < 2; ++k) {
            const double cx = 32 + 128 * k + wall * 24, cy = wall * kWallRows + kWallRows / 2.0;
            for (int y = static_cast<int>(cy) - 12; y <= cy + 12; ++y) {
                for (int x = static_cast<int>(cx) - 20; x <= cx + 20; ++x) {
                    const double dx = std::fabs(x + 0.5 - cx) / 14.0, dy = std::fabs(y + 0.5 - cy) / 6.0;
                    const double box = std::max(dx, dy);
                    const int px = (x + N) % N;
                    if (box < 1.0) {
                        c.set(px, y, mix(Colour{255, 250, 220}, Colour{255, 170, 70}, box * box));
                    } else if (box < 1.25) {
                        c.set(px, y, Colour{40, 30, 24});  // the recess's rim
                    } else {
                        const double spill = std::exp(-(box - 1.25) * 4.0) * 0.55;
                        assetgen::addLight(c, px, y, {255, 170, 80}, spill);
                    }
                }
            }
        }
    }
    // The ring of light around the whole shaft: a glowing band across every row.
    for (int y = 0; y < N; ++y) {
        for (int dx = -10; dx <= 10; ++dx) {
            const int x = (dx + N) % N;  // between the lamps of the last and first wall
            const double core = std::exp(-dx * dx / 3.0), halo = std::exp(-dx * dx / 30.0) * 0.6;
            assetgen::addLight(c, x, y, {120, 220, 255}, core + halo);
        }
    }
    return c;
}

// A soft glowing spot: white core, rose halo, violet rim; exactly black
// from radius 29 on (clear of the 64 x 64 edge), so the additive blit
// leaves no square outline.
Canvas paintGlow() {
    Canvas c(64, 64, 3);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double r = std::hypot(x + 0.5 - 32.0, y + 0.5 - 32.0) / 29.0;
            if (r >= 1.0) continue;
            const double window = std::pow(1.0 - r * r, 2.0);
            const double core = std::exp(-r * r * 40.0), halo = std::exp(-r * r * 6.0);
            Colour col = scaled(Colour{150, 60, 170}, halo * window);
            col = mix(col, Colour{255, 150, 210}, std::min(1.0, halo * halo) * 0.6 * window);
            col = mix(col, Colour{255, 255, 255}, core);
            c.set(x, y, col);
        }
    }
    return c;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kShaftWall, paintWall(), 92);
    assetgen::addPicture(out, res::kSwimmerGlow, paintGlow(), 95);
}
