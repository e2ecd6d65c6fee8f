#include "safety/flash_measures.h"

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
    float u, v;
};

// u'v' of linear sRGB through CIE XYZ (D65).
constexpr Chromaticity chromaticity(float r, float g, float b) {
    const float x = 0.4124f * r + 0.3576f * g + 0.1805f * b;
    const float y = 0.2126f * r + 0.7152f * g + 0.0722f * b;
    const float z = 0.0193f * r + 0.1192f * g + 0.9505f * b;
    const float scale = 1 / (x + 15 * y + 3 * z);
    return {4 * x * scale, 9 * y * scale};
}

constexpr Chromaticity kRed = chromaticity(1, 0, 0), kWhite = chromaticity(1, 1, 1);
constexpr float kPerDarkLuminance = 1 / 0.02f;

}  // namespace

float distanceFromRed(LinearColour c) {
    const float luminance = relativeLuminance(c);
    Chromaticity seen = kWhite;
    if (luminance > 0) {
        const Chromaticity own = chromaticity(c.r, c.g, c.b);
        const float weight = std::min(1.0f, luminance * kPerDarkLuminance);
        seen = {kWhite.u + weight * (own.u - kWhite.u), kWhite.v + weight * (own.v - kWhite.v)};
    }
    const float du = seen.u - kRed.u, dv = seen.v - kRed.v;
    return std::sqrt(du * du + dv * dv);
}

}  // namespace flash
