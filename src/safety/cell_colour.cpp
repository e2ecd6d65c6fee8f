#include "safety/cell_colour.h"

#include <algorithm>
#include <cmath>

namespace flash {

const std::array<float, 256>& linearFromSrgb() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> values{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            values[i] = static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return values;
    }();
    return table;
}

float relativeLuminance(LinearColour c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

bool isSaturatedRed(LinearColour c) {
    const float sum = c.r + c.g + c.b;
    return sum > 0 && c.r >= 0.8f * sum;
}

float redFlashValue(LinearColour c) { return std::max(0.0f, (c.r - c.g - c.b) * 320.0f); }

namespace {

struct Chromaticity {
    double u, v;
};

// u'v' of linear sRGB through CIE XYZ (D65).
Chromaticity chromaticity(double r, double g, double b) {
    const double x = 0.4124 * r + 0.3576 * g + 0.1805 * b;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = 0.0193 * r + 0.1192 * g + 0.9505 * b;
    const double d = x + 15 * y + 3 * z;
    return {4 * x / d, 9 * y / d};
}

}  // namespace

float distanceFromRed(LinearColour c) {
    static const Chromaticity red = chromaticity(1, 0, 0), white = chromaticity(1, 1, 1);
    constexpr double kDarkLuminance = 0.02;
    const double luminance = relativeLuminance(c);
    Chromaticity seen = white;
    if (luminance > 0) {
        const Chromaticity own = chromaticity(c.r, c.g, c.b);
        const double weight = std::min(1.0, luminance / kDarkLuminance);
        seen = {white.u + weight * (own.u - white.u), white.v + weight * (own.v - white.v)};
    }
    return static_cast<float>(std::hypot(seen.u - red.u, seen.v - red.v));
}

}  // namespace flash
