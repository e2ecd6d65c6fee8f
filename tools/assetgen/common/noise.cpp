#include "common/noise.h"

#include <cmath>

namespace assetgen {

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
double Rng::range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
int Rng::below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }

namespace {

uint32_t hash(int x, int y, int z, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h = (h << 11) | (h >> 21);
    h ^= static_cast<uint32_t>(z) * 0x165667B1u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double lattice(int x, int y, int z, uint32_t seed) { return hash(x, y, z, seed) * (1.0 / 4294967295.0); }

double smooth(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

int wrap(int v, int period) {
    if (period <= 0) return v;
    int m = v % period;
    return m < 0 ? m + period : m;
}

}  // namespace

double valueNoise(double x, double y, uint32_t seed, int period) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    const int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    const int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    const double a = lattice(x0, y0, 0, seed), b = lattice(x1, y0, 0, seed);
    const double c = lattice(x0, y1, 0, seed), d = lattice(x1, y1, 0, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double fbm(double x, double y, int octaves, uint32_t seed, int period) {
    double sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(x, y, seed + 1013u * o, period);
        total += amplitude;
        x *= 2;
        y *= 2;
        if (period > 0) period *= 2;
        amplitude *= 0.5;
    }
    return sum / total;
}

double tiledFbm(double x, double y, double size, int period, int octaves, uint32_t seed) {
    return fbm(x * period / size, y * period / size, octaves, seed, period);
}

double valueNoise3(double x, double y, double z, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const double tx = smooth(x - fx), ty = smooth(y - fy), tz = smooth(z - fz);
    double plane[2];
    for (int dz = 0; dz < 2; ++dz) {
        const double a = lattice(ix, iy, iz + dz, seed), b = lattice(ix + 1, iy, iz + dz, seed);
        const double c = lattice(ix, iy + 1, iz + dz, seed), d = lattice(ix + 1, iy + 1, iz + dz, seed);
        const double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
        plane[dz] = top + (bottom - top) * ty;
    }
    return plane[0] + (plane[1] - plane[0]) * tz;
}

double fbm3(double x, double y, double z, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise3(x, y, z, seed + 1013u * o);
        total += amplitude;
        x *= 2;
        y *= 2;
        z *= 2;
        amplitude *= 0.5;
    }
    return sum / total;
}

CellSample cellular(double x, double y, uint32_t seed, int period) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    CellSample best{1e9, 1e9, 0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int cx = wrap(ix + dx, period), cy = wrap(iy + dy, period);
            const uint32_t h = hash(cx, cy, 1, seed);
            const double px = ix + dx + lattice(cx, cy, 2, seed), py = iy + dy + lattice(cx, cy, 3, seed);
            const double d = std::hypot(px - x, py - y);
            if (d < best.nearest) {
                best.second = best.nearest;
                best = {d, best.second, h, px, py};
            } else if (d < best.second) {
                best.second = d;
            }
        }
    }
    return best;
}

}  // namespace assetgen
