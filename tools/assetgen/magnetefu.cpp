// The magnet field's pictures: the texture the poles push about and the glow
// added over each pole.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
#include "common/luminance.h"
#include "common/noise.h"
#include "common/output.h"
#include "common/picture_output.h"
#include "common/smoothstep.h"
#include "common/tiling.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::mix;
using assetgen::smoothstep;

constexpr double kPi = 3.141592653589793;
constexpr int kTextureSize = 256;

// The field the bands follow: waves of whole periods across the picture plus
// rings round two centres (measured round the wrap), so it tiles both ways.
double bandField(double x, double y) {
    const double tau = 2.0 * kPi / kTextureSize;
    double f = 0.9 * std::sin(x * tau) + 0.9 * std::sin(2 * y * tau + 1.0) + 0.6 * std::sin((x + y) * tau * 2 + 0.5) +
               0.4 * std::sin((3 * x - 2 * y) * tau);
    const double centres[][2] = {{64, 80}, {192, 200}};
    for (const auto& c : centres) {
        const double d = std::hypot(assetgen::wrappedDelta(x, c[0], kTextureSize),
                                    assetgen::wrappedDelta(y, c[1], kTextureSize));
        f += 1.3 * std::exp(-d / 70.0) * std::cos(d * 0.16);
    }
    f += 0.5 * (assetgen::fbm(x / 32.0, y / 32.0, 4, 1131, 8) - 0.5);
    return f;
}

// Band colours from violet through magenta, coral and orange to gold and
// back through teal and blue, so neighbouring bands always differ clearly in
// hue. The hues are drawn close to one luminance: the poles sweep the bands
// across the screen several times a second, and bands of one brightness
// move as colour, not as light and dark flashing.
Colour palette(double t) {
    static const Colour stops[] = {{100, 40, 200}, {195, 35, 160}, {225, 85, 105}, {220, 115, 45},
                                   {215, 155, 55},  {35, 155, 145}, {35, 100, 180}, {60, 60, 180}};
    constexpr int kStops = 8;
    constexpr double kLuminance = 0.18, kKeep = 0.25;  // a fifth of a white's; a quarter of the difference kept
    const double s = assetgen::wrapInto(t, 1.0) * kStops;
    const int i = static_cast<int>(s) % kStops;
    const Colour c = mix(stops[i], stops[(i + 1) % kStops], smoothstep(0.0, 1.0, s - i));
    return assetgen::towardsLuminance(c, kLuminance, kKeep);
}

Canvas magnetTexture() {
    // About one cycle of the palette across the texture: the warp magnifies
    // it many times, and narrower bands only make the screen busier.
    constexpr double kBands = 0.17;     // palette cycles per unit of the field
    constexpr double kOffset = 0.1;     // where in the cycle the field's middle falls: magenta
    constexpr double kLines = 1.5;      // contours per unit of the field
    constexpr double kLineWidth = 1.6;  // a contour's soft half-width in pixels
    constexpr double kInk = 0.45;       // how much darker a contour's middle is than its band
    Canvas texture(kTextureSize, kTextureSize, 3);
    for (int y = 0; y < kTextureSize; ++y)
        for (int x = 0; x < kTextureSize; ++x) {
            Colour sum;
            for (double sy : {0.25, 0.75})
                for (double sx : {0.25, 0.75}) {
                    const double px = x + sx, py = y + sy;
                    const double f = bandField(px, py);
                    // Contours a constant width wide: the distance to the
                    // nearest level in pixels, from the field's slope.
                    const double gx = bandField(px + 0.5, py) - bandField(px - 0.5, py);
                    const double gy = bandField(px, py + 0.5) - bandField(px, py - 0.5);
                    const double slope = std::max(std::hypot(gx, gy) * kLines, 1e-3);
                    const double level = std::fabs(assetgen::wrappedDelta(f * kLines, 0.0, 1.0)) / slope;
                    // A contour is a darker tone of its band fading in over a
                    // few pixels, so that warped and stepped it stays a soft
                    // seam rather than a jagged black line.
                    const double ink = std::exp(-(level / kLineWidth) * (level / kLineWidth));
                    const Colour c = assetgen::scaled(palette(f * kBands + kOffset), 1.0 - kInk * ink);
                    sum = {sum.r + c.r / 4, sum.g + c.g / 4, sum.b + c.b / 4};
                }
            texture.set(x, y, sum);
        }
    return texture;
}

// A hot white core in an electric violet-blue halo, reaching exactly zero at
// the radius so that nothing shows at the square's edges when added.
Canvas magnetGlow() {
    constexpr int kSize = 128;
    Canvas glow(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double r = std::hypot(x + 0.5 - kSize / 2.0, y + 0.5 - kSize / 2.0) / (kSize / 2.0 - 2.0);
            if (r >= 1.0) continue;
            const double fade = std::pow(1.0 - r, 2.2) * smoothstep(1.0, 0.8, r);
            const double halo = fade * 0.75;
            const double core = std::exp(-r * r / 0.012);
            const Colour c{90 * halo + 255 * core + 150 * halo * halo, 80 * halo * halo + 255 * core,
                           255 * halo + 255 * core};
            glow.set(x, y, {std::min(c.r, 255.0), std::min(c.g, 255.0), std::min(c.b, 255.0)});
        }
    return glow;
}

}  // namespace

void generate(assetgen::Output& out) {
    assetgen::addPicture(out, res::kMagnetTexture, magnetTexture());
    assetgen::addPicture(out, res::kMagnetGlow, magnetGlow(), 95);
}
