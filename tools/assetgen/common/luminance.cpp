#include "common/luminance.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

double toLinear(double v) {
    v /= 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double toSrgb(double v) {
    v = std::clamp(v, 0.0, 1.0);
    return 255.0 * (v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055);
}

}  // namespace

double relativeLuminance(const Colour& c) {
    return 0.2126 * toLinear(c.r) + 0.7152 * toLinear(c.g) + 0.0722 * toLinear(c.b);
}

Colour towardsLuminance(const Colour& c, double target, double keep) {
    const double luminance = relativeLuminance(c);
    if (luminance <= 0) return c;
    const double k = (target + (luminance - target) * keep) / luminance;
    return {toSrgb(toLinear(c.r) * k), toSrgb(toLinear(c.g) * k), toSrgb(toLinear(c.b) * k)};
}

}  // namespace assetgen
