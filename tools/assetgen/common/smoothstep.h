#pragma once
// Smooth 0..1 transition between edges a and b (a > b runs it backwards).

#include <algorithm>

namespace assetgen {

inline double smoothstep(double a, double b, double x) {
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace assetgen
