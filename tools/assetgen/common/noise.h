#pragma once
// Deterministic randomness and smooth noise for the generator.

#include <cstdint>

namespace assetgen {

// A small, fast, seedable generator (splitmix64): same seed, same sequence.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next();
    double uniform();                       // [0, 1)
    double range(double lo, double hi);     // [lo, hi)
    int below(int n);                       // 0 .. n-1
private:
    uint64_t state_;
};

// Value noise in [0, 1] on an integer lattice, smoothly interpolated.
// With period > 0 the lattice repeats every period units in x and y, so a
// picture that samples one period across is seamless at its edges.
double valueNoise(double x, double y, uint32_t seed, int period = 0);

// Fractal sum of octaves of valueNoise, normalised to [0, 1]. Each octave
// doubles the frequency (and the period) and halves the amplitude.
double fbm(double x, double y, int octaves, uint32_t seed, int period = 0);

// Cellular (Worley) noise: one jittered feature point per lattice cell.
// nearest and second are the distances (in lattice units) from (x, y) to the
// closest and the next closest point; cell is a hash of the closest point's
// cell, for per-cell colours. With period > 0 the points repeat every
// period cells, so a picture that samples one period across is seamless.
struct CellSample {
    double nearest, second;
    uint32_t cell;
    double pointX, pointY;  // the closest point, in the same units as (x, y)
};
CellSample cellular(double x, double y, uint32_t seed, int period = 0);
// fbm over a size x size picture with period lattice cells across it, so
// that the picture wraps seamlessly in both directions.
double tiledFbm(double x, double y, double size, int period, int octaves, uint32_t seed);

// 3D value noise in [0, 1] (no period), for textures wrapped on spheres.
double valueNoise3(double x, double y, double z, uint32_t seed);
double fbm3(double x, double y, double z, int octaves, uint32_t seed);

}  // namespace assetgen
