// The fractal zoom's pictures: five views of the Mandelbrot set around one
// point of the seahorse valley, each the centre half of the one before at
// twice the resolution, so that the effect's blend of two neighbours has no
// seam; and the spinning object's environment map, a chrome studio whose
// ice-blue sky and golden ground echo the fractal's own palette.

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
using assetgen::smoothstep;

// Landscape size of the zoom pictures (stored turned, 240 x 320).
constexpr int kWide = 320, kHigh = 240;
// The landscape pixel every level shares: the effect places picture i + 1
// over columns 80..240 and rows 60..180 of picture i (as watched), so pixel
// c of level i + 1 is pixel 79.5 + c / 2 of level i, whose fixed point is
// 159; likewise row 120.
constexpr double kFixedColumn = 159.0, kFixedRow = 120.0;
// The point of the plane at that pixel, and the first level's pixel size.
constexpr double kCentreRe = -0.7436438870371587, kCentreIm = 0.1318259043091895;
constexpr double kPixel0 = 0.00004;
constexpr int kMaxIterations = 4000;

// Smooth escape count of c, or a negative value inside the set.
double escape(double cr, double ci) {
    // The main cardioid and the period-2 bulb never escape.
    const double q = (cr - 0.25) * (cr - 0.25) + ci * ci;
    if (q * (q + (cr - 0.25)) < 0.25 * ci * ci || (cr + 1) * (cr + 1) + ci * ci < 0.0625) return -1;
    double zr = 0, zi = 0;
    for (int n = 0; n < kMaxIterations; ++n) {
        const double zr2 = zr * zr, zi2 = zi * zi;
        if (zr2 + zi2 > 65536.0) return n + 1 - std::log2(0.5 * std::log(zr2 + zi2));
        zi = 2 * zr * zi + ci;
        zr = zr2 - zi2 + cr;
    }
    return -1;
}

// A cycle of colours along the smooth count: night blue, electric blue,
// ice, white-hot, gold, ember, back to night. The count is taken on a
// square-root scale so the bands stay similar in width at every level.
Colour palette(double count) {
    static const Colour stops[] = {{4, 6, 30},     {20, 60, 170},  {70, 170, 240}, {230, 245, 255},
                                   {255, 200, 70}, {200, 70, 20},  {60, 10, 30},   {4, 6, 30}};
    constexpr int kStops = 7;
    double t = std::sqrt(count) * 0.9;
    t -= std::floor(t);
    const double at = t * kStops;
    const int i = static_cast<int>(at);
    return mix(stops[i], stops[i + 1], smoothstep(0.0, 1.0, at - i));
}

// Level `level` as watched: 5 x 5 samples a pixel, the set itself in deep night.
Canvas zoomLevel(int level) {
    const double pixel = kPixel0 / (1 << level);
    Canvas c(kWide, kHigh, 3);
    for (int y = 0; y < kHigh; ++y) {
        for (int x = 0; x < kWide; ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = -2; sy <= 2; ++sy) {
                for (int sx = -2; sx <= 2; ++sx) {
                    const double re = kCentreRe + (x + sx / 5.0 - kFixedColumn) * pixel;
                    const double im = kCentreIm - (y + sy / 5.0 - kFixedRow) * pixel;
                    const double n = escape(re, im);
                    const Colour col = n < 0 ? Colour{0, 0, 8} : palette(n);
                    r += col.r, g += col.g, b += col.b;
                }
            }
            c.set(x, y, {r / 25, g / 25, b / 25});
        }
    }
    return c;
}

struct SoftBox {
    double x, y, halfWidth, halfHeight;  // in ball radii from the centre
};
constexpr SoftBox kSoftBoxes[] = {{-0.45, -0.5, 0.16, 0.07}, {0.1, -0.62, 0.1, 0.05}};

// The object's map, as watched: a sphere seen in a chrome ball. Its centre
// faces the viewer. Ice-blue sky above a white-hot horizon, golden ground
// fading to ember below, two soft boxes of light up to the left and a dark
// night-blue rim.
Canvas objectMap() {
    Canvas c(256, 256, 3);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double dx = (x + 0.5 - 128) / 128, dy = (y + 0.5 - 128) / 128;
            const double d = std::min(1.0, std::hypot(dx, dy));
            // The horizon bows with the ball's curvature.
            const double h = dy - 0.18 * dx * dx;
            Colour col = h < 0 ? mix(Colour{120, 190, 250}, Colour{10, 24, 90}, smoothstep(0.0, 0.9, -h))
                               : mix(Colour{255, 196, 80}, Colour{70, 20, 12}, smoothstep(0.0, 0.8, h));
            const double swirl = assetgen::fbm(x / 40.0, y / 40.0, 4, 1050);
            col = mix(col, h < 0 ? Colour{4, 10, 50} : Colour{120, 40, 10}, 0.35 * smoothstep(0.45, 0.75, swirl));
            col = mix(col, Colour{255, 255, 240}, std::exp(-std::pow(h / 0.05, 2.0)));
            for (const SoftBox& box : kSoftBoxes) {
                // Rounded corners, a soft edge and a faint halo around each box.
                const double bx = std::fabs(dx - box.x) - box.halfWidth + 0.03;
                const double by = std::fabs(dy - box.y) - box.halfHeight + 0.03;
                const double edge = std::hypot(std::max(bx, 0.0), std::max(by, 0.0)) + std::min(std::max(bx, by), 0.0) - 0.03;
                col = mix(col, Colour{230, 245, 255}, 0.35 * std::exp(-std::max(edge, 0.0) / 0.05));
                col = mix(col, Colour{255, 255, 255}, smoothstep(0.02, -0.02, edge));
            }
            col = mix(col, Colour{4, 6, 30}, smoothstep(0.8, 1.0, d) * 0.7);
            c.set(x, y, col);
        }
    }
    return c;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kFractalObjectMap, assetgen::turnToPortrait(objectMap()));
    for (int level = 0; level < res::kFractalZoomCount; ++level)
        assetgen::addPicture(out, res::kFractalZoom0 + level, assetgen::turnToPortrait(zoomLevel(level)), 95);
}
