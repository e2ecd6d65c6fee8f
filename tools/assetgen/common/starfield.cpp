#include "common/starfield.h"

#include <algorithm>
#include <cmath>

#include "common/noise.h"

namespace assetgen {

void addLight(Canvas& canvas, int x, int y, const Colour& c, double amount) {
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height() || amount <= 0) return;
    const Colour old = canvas.get(x, y);
    canvas.set(x, y,
               {std::min(255.0, old.r + c.r * amount), std::min(255.0, old.g + c.g * amount),
                std::min(255.0, old.b + c.b * amount)});
}

void addGlow(Canvas& canvas, double cx, double cy, double radius, const Colour& c, double amount) {
    const int reach = static_cast<int>(std::ceil(radius * 3.0));
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            addLight(canvas, x, y, c, amount * std::exp(-d * d));
        }
    }
}

void addStars(Canvas& canvas, int count, uint64_t seed) {
    Rng rng(seed);
    const Colour tints[] = {{255, 255, 255}, {200, 220, 255}, {255, 236, 200}, {255, 210, 180}, {180, 200, 255}};
    for (int i = 0; i < count; ++i) {
        const double x = rng.range(0, canvas.width()), y = rng.range(0, canvas.height());
        const Colour tint = tints[rng.below(5)];
        // Many faint stars, few bright ones.
        const double b = std::pow(rng.uniform(), 6.0);
        if (b < 0.08) {
            addLight(canvas, static_cast<int>(x), static_cast<int>(y), tint, 0.15 + b * 4.0);
            continue;
        }
        addGlow(canvas, x, y, 0.55 + b * 0.9, tint, 0.5 + b * 0.6);
        if (b > 0.8) {
            addGlow(canvas, x, y, 3.0 + b * 3.0, tint, 0.10 * b);
            const int arm = static_cast<int>(4 + b * 9);
            for (int k = -arm; k <= arm; ++k) {
                const double fall = std::pow(1.0 - std::fabs(k) / (arm + 1.0), 2.0) * 0.45 * b;
                addLight(canvas, static_cast<int>(x) + k, static_cast<int>(y), tint, fall);
                addLight(canvas, static_cast<int>(x), static_cast<int>(y) + k, tint, fall);
            }
        }
    }
}

void addNebula(Canvas& canvas, double strength, uint32_t seed, double featureSize) {
    const Colour violet{120, 50, 170}, blue{40, 80, 190}, rose{190, 60, 110};
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const double fx = x / featureSize, fy = y / featureSize;
            const double warp = fbm(fx * 0.7 + 3.0, fy * 0.7, 4, seed + 1) - 0.5;
            const double d = fbm(fx + warp, fy - warp, 6, seed);
            const double hue = fbm(fx * 0.5, fy * 0.5 + 9.0, 3, seed + 2);
            const double density = std::pow(std::clamp((d - 0.42) / 0.3, 0.0, 1.0), 1.7);
            const Colour c = hue < 0.5 ? mix(blue, violet, hue * 2.0) : mix(violet, rose, hue * 2.0 - 1.0);
            addLight(canvas, x, y, c, density * strength / 255.0);
        }
    }
}

}  // namespace assetgen
