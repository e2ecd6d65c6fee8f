// The magnet field's pictures: the texture the poles push about and the glow
// added over each pole.

#include <algorithm>
#include <cmath>

#include "assets/resource_ids.h"
#include "common/canvas.h"
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

// Band colours from deep violet through magenta and orange to pale yellow and
// back through teal, so neighbouring bands always differ clearly.
Colour palette(double t) {
    static const Colour stops[] = {{30, 8, 70}, {170, 20, 150}, {255, 110, 40}, {255, 235, 150}, {20, 170, 170},
                                   {10, 40, 110}};
    constexpr int kStops = 6;
    const double s = assetgen::wrapInto(t, 1.0) * kStops;
    const int i = static_cast<int>(s) % kStops;
    return mix(stops[i], stops[(i + 1) % kStops], smoothstep(0.0, 1.0, s - i));
}

Canvas magnetTexture() {
    constexpr double kBands = 0.3;  // palette cycles per unit of the field
    constexpr double kLines = 1.5;  // ink contours per unit of the field
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
                    Colour c = palette(f * kBands);
                    // Each band brightens towards its middle line.
                    const double shine = 0.5 + 0.5 * std::cos(2 * kPi * f * kLines);
                    c = mix(c, Colour{255, 255, 255}, 0.18 * shine * shine);
                    c = mix(c, Colour{6, 0, 14}, smoothstep(1.3, 0.5, level));
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
