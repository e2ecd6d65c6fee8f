#include "voxelefu_terrain.h"

#include <algorithm>
#include <cmath>

#include "common/noise.h"
#include "common/smoothstep.h"

namespace assetgen {

namespace {

constexpr int N = Terrain::kSize;
constexpr double kWaterShare = 0.30;  // fraction of the map under water


// Mountain relief: octaves of noise whose amplitude shrinks where the
// octaves above already slope steeply, so slopes stay smooth and detail
// gathers in valleys and on crests, as weathering leaves it.
double erodedFbm(double x, double y, int period, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 1, total = 0, sx = 0, sy = 0;
    double u = x * period / N, v = y * period / N;
    constexpr double e = 0.01;
    for (int o = 0; o < octaves; ++o) {
        const uint32_t s = seed + 1013u * o;
        const double n = valueNoise(u, v, s, period);
        const double nx = (valueNoise(u + e, v, s, period) - valueNoise(u - e, v, s, period)) / (2 * e);
        const double ny = (valueNoise(u, v + e, s, period) - valueNoise(u, v - e, s, period)) / (2 * e);
        sx += nx * amplitude;
        sy += ny * amplitude;
        sum += amplitude * n / (1.0 + sx * sx + sy * sy);
        total += amplitude;
        u *= 2;
        v *= 2;
        period *= 2;
        amplitude *= 0.5;
    }
    return sum / total;
}

// Raw relief: a domain-warped continent (lowlands, lakes, a coast) with
// weathered mountains where the continent is high, and rolling hills.
std::vector<double> baseRelief() {
    std::vector<double> h(N * N);
    for (int y = 0; y < N; ++y) {
        for (int x = 0; x < N; ++x) {
            const double wx = (tiledFbm(x, y, N, 4, 4, 601) - 0.5) * 70.0;
            const double wy = (tiledFbm(x, y, N, 4, 4, 602) - 0.5) * 70.0;
            const double continent = tiledFbm(x + wx, y + wy, N, 3, 5, 610);
            const double mountains = erodedFbm(x + wx * 0.3, y + wy * 0.3, 4, 7, 620);
            const double hills = tiledFbm(x, y, N, 8, 4, 630);
            const double mountainous = smoothstep(0.42, 0.7, continent);
            h[Terrain::index(x, y)] = continent * 0.8 + mountains * 0.9 * mountainous + (hills - 0.5) * 0.2;
        }
    }
    return h;
}

// Bilinear height and gradient at a real position (wrapping).
void sample(const std::vector<double>& h, double x, double y, double& height, double& gx, double& gy) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double a = h[Terrain::index(ix, iy)], b = h[Terrain::index(ix + 1, iy)];
    const double c = h[Terrain::index(ix, iy + 1)], d = h[Terrain::index(ix + 1, iy + 1)];
    gx = (b - a) * (1 - fy) + (d - c) * fy;
    gy = (c - a) * (1 - fx) + (d - b) * fx;
    height = a * (1 - fx) * (1 - fy) + b * fx * (1 - fy) + c * (1 - fx) * fy + d * fx * fy;
}

// Adds amount (negative to remove) over a small disc around (x, y), so
// that valleys and their fills get width rather than single-texel lines.
void spread(std::vector<double>& h, double x, double y, double amount) {
    constexpr int kRadius = 2;
    static const double weights = [] {
        double sum = 0;
        for (int j = -kRadius; j <= kRadius; ++j)
            for (int i = -kRadius; i <= kRadius; ++i) sum += std::max(0.0, kRadius + 0.5 - std::hypot(i, j));
        return sum;
    }();
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    for (int j = -kRadius; j <= kRadius; ++j)
        for (int i = -kRadius; i <= kRadius; ++i)
            h[Terrain::index(cx + i, cy + j)] += amount * std::max(0.0, kRadius + 0.5 - std::hypot(i, j)) / weights;
}

// Droplet erosion: each raindrop runs downhill with some inertia, picks up
// soil where it speeds up and has capacity, drops it where it slows or
// reaches flat ground. This carves branching valleys and fills basins.
void erode(std::vector<double>& h, std::vector<double>& wet, int drops, uint64_t seed) {
    constexpr double kInertia = 0.3, kCapacity = 4.0, kMinSlope = 0.01, kErode = 0.3, kDeposit = 0.1;
    constexpr double kEvaporate = 0.03, kGravity = 8.0;
    Rng rng(seed);
    for (int drop = 0; drop < drops; ++drop) {
        double x = rng.range(0, N), y = rng.range(0, N);
        double dx = 0, dy = 0, speed = 1, water = 1, sediment = 0;
        for (int step = 0; step < 48; ++step) {
            double height, gx, gy;
            sample(h, x, y, height, gx, gy);
            dx = dx * kInertia - gx * (1 - kInertia);
            dy = dy * kInertia - gy * (1 - kInertia);
            const double len = std::hypot(dx, dy);
            if (len < 1e-9) break;
            dx /= len;
            dy /= len;
            const double ox = x, oy = y;
            x += dx;
            y += dy;
            wet[Terrain::index(static_cast<int>(std::floor(ox)), static_cast<int>(std::floor(oy)))] += water;
            double newHeight, ngx, ngy;
            sample(h, x, y, newHeight, ngx, ngy);
            const double drop_ = newHeight - height;  // negative when going down
            const double capacity = std::max(-drop_, kMinSlope) * speed * water * kCapacity;
            if (sediment > capacity || drop_ > 0) {
                // Uphill: fill the pit behind; otherwise drop part of the surplus.
                const double amount = drop_ > 0 ? std::min(drop_, sediment) : (sediment - capacity) * kDeposit;
                sediment -= amount;
                spread(h, ox, oy, amount);
            } else {
                const double amount = std::min((capacity - sediment) * kErode, -drop_);
                spread(h, ox, oy, -amount);
                sediment += amount;
            }
            speed = std::sqrt(std::max(0.0, speed * speed - drop_ * kGravity));
            water *= 1 - kEvaporate;
        }
    }
}

// Softens slopes steeper than talus by moving material downhill (scree).
void settle(std::vector<double>& h, int passes, double talus) {
    std::vector<double> next(h.size());
    for (int pass = 0; pass < passes; ++pass) {
        next = h;
        for (int y = 0; y < N; ++y) {
            for (int x = 0; x < N; ++x) {
                const double here = h[Terrain::index(x, y)];
                const int nx[4] = {x + 1, x - 1, x, x};
                const int ny[4] = {y, y, y + 1, y - 1};
                for (int k = 0; k < 4; ++k) {
                    const double diff = here - h[Terrain::index(nx[k], ny[k])];
                    if (diff > talus) {
                        const double move = (diff - talus) * 0.12;
                        next[Terrain::index(x, y)] -= move;
                        next[Terrain::index(nx[k], ny[k])] += move;
                    }
                }
            }
        }
        h.swap(next);
    }
}

}  // namespace

Terrain makeTerrain() {
    Terrain t;
    t.height = baseRelief();
    // Work in texel-scale heights so slopes and capacities are meaningful.
    double lo = *std::min_element(t.height.begin(), t.height.end());
    double hi = *std::max_element(t.height.begin(), t.height.end());
    for (double& v : t.height) v = (v - lo) / (hi - lo) * 60.0;
    t.wetness.assign(N * N, 0.0);
    erode(t.height, t.wetness, 50000, 7781);
    settle(t.height, 4, 1.6);
    // Fine detail: small bumps, stronger on the heights, so the surface is
    // never smooth at texel scale.
    for (int y = 0; y < N; ++y) {
        for (int x = 0; x < N; ++x) {
            const double v = t.height[Terrain::index(x, y)];
            const double detail = tiledFbm(x, y, N, 32, 3, 640) - 0.5;
            t.height[Terrain::index(x, y)] = v + detail * (1.8 + v * 0.05);
        }
    }
    lo = *std::min_element(t.height.begin(), t.height.end());
    hi = *std::max_element(t.height.begin(), t.height.end());
    for (double& v : t.height) v = (v - lo) / (hi - lo);
    std::vector<double> sorted = t.height;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() * kWaterShare), sorted.end());
    t.seaLevel = sorted[static_cast<size_t>(sorted.size() * kWaterShare)];
    // Wetness on a log scale: a few drops show, rivers saturate.
    const double wetMax = *std::max_element(t.wetness.begin(), t.wetness.end());
    for (double& w : t.wetness) w = std::log1p(w) / std::log1p(wetMax);
    return t;
}

}  // namespace assetgen
