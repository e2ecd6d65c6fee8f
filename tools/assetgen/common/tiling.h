#pragma once
// Helpers for textures that wrap: positions and distances measured around a
// period, so that shapes crossing an edge come back in on the other side.

#include <cmath>

namespace assetgen {

// a wrapped into [0, period).
inline double wrapInto(double a, double period) {
    const double r = std::fmod(a, period);
    return r < 0 ? r + period : r;
}

// The shortest signed difference a - b around a period: in [-period/2, period/2).
inline double wrappedDelta(double a, double b, double period) {
    return wrapInto(a - b + period / 2, period) - period / 2;
}

}  // namespace assetgen
