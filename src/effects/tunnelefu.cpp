#include "effects/tunnelefu.h"

#include <cmath>
#include <numbers>

#include "anim/intmath.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/grid_rays.h"
#include "render/isqrt.h"

using zm::truncToInt32;
using zm::wrapAdd;
using zm::wrapMul;
using zm::wrapShl;
using zm::wrapSub;

namespace {

constexpr float kObjectScale = 20.1f;
constexpr int32_t kTunnelRadiusSquared = 655360000;  // 25600 squared
constexpr int32_t kCameraDepth = 44800;

// An angle in radians as the table stores it: 2^32 units to a turn. Half a
// turn (2^31) does not fit and is kept at 2^31 - 1 by the saturating cast.
int32_t tableAngle(double radians) { return truncToInt32((radians * 65536.0) * 10430.378350470453); }

// sin of a single-precision product, as a double.
double sinOf(float tf, float rate) { return std::sin(static_cast<double>(tf * rate)); }

}  // namespace

TrackList TunnelEffect::tracks() { return {{"distance", &distance}}; }

bool TunnelEffect::load() {
    angles_ = std::make_unique<int32_t[]>(kAngleEntries);
    const double pi = std::numbers::pi;
    for (int j = 0; j < 128; ++j) {
        for (int k = 0; k < 128; ++k) {
            const double theta = (j == 0 && k == 0) ? 0.0 : std::atan2(j, k);
            angles_[(128 + j) * 256 + 128 + k] = tableAngle(theta);
            angles_[(128 + j) * 256 + 127 - k] = tableAngle(pi - theta);
            angles_[(127 - j) * 256 + 128 + k] = tableAngle(-theta);
            angles_[(127 - j) * 256 + 127 - k] = tableAngle(theta - pi);
        }
    }
    return true;
}

bool TunnelEffect::acquire() {
    if (!wallTexture_.loadTiled(res::kTunnelWall) || !hasShape(wallTexture_, 256, 256, 32)) return false;
    if (!objectTexture_.loadTiled16(res::kTunnelObjectMap) || !hasShape(objectTexture_, 256, 256, 16)) return false;
    if (!object_.loadMesh(res::kSpinningObject, kObjectScale)) return false;
    return true;
}

void TunnelEffect::release() {
    objectTexture_.release();
    wallTexture_.release();
    object_.release();
}

FixedMatrix TunnelEffect::viewMatrix(int32_t time, int32_t distance, int32_t& e, int32_t& h) {
    const float tf = static_cast<float>(time);
    e = truncToInt32(sinOf(tf, 0.000577f) * 12800);
    h = truncToInt32(sinOf(tf, 0.000649f) * 12800);
    FixedMatrix m;
    setIdentity(m);
    rotate(m, truncToInt32(std::sin(static_cast<double>(0.2f) * sinOf(tf, 0.0006687f)) * 65536), 'z');
    rotate(m, truncToInt32(sinOf(tf, 0.000649f) * 6553.6), 'x');
    rotate(m, truncToInt32(sinOf(tf, 0.000577f) * -6553.6), 'y');
    // |e|, |h| <= 12800: the squares' sum fits and the camera stays inside.
    const int32_t offAxis = static_cast<int32_t>(isqrt(static_cast<uint32_t>(e * e + h * h)));
    translate(m, -e, -h, wrapAdd(kCameraDepth - offAxis, distance));
    return m;
}

int32_t TunnelEffect::brightness(int32_t d) { return depthShade(d, 256); }

void TunnelEffect::castRays(WarpGrid& grid, const FixedMatrix& matrix, int32_t e, int32_t h, int32_t time) const {
    // Terms that are the same for every ray.
    const int32_t offAxis = (e * e + h * h - kTunnelRadiusSquared) >> 15;
    const int32_t scroll = wrapMul(time, 64);
    // The terms by value: the grid's stores could otherwise alias them.
    castGridRays(matrix, [this, &grid, e, h, offAxis, scroll](int i, int32_t dx, int32_t dy, int32_t dz) {
        const int32_t a = wrapAdd(wrapMul(dx, dx), wrapMul(dy, dy)) >> 8;
        int32_t hx = 0, hy = 0, d = kAxisDepth;
        if (a > 1000) {
            const int32_t b = wrapAdd(wrapMul(dx, e), wrapMul(dy, h)) >> 8;
            const int32_t disc = wrapSub(wrapMul(b >> 8, b >> 8), wrapMul(offAxis, a >> 7));
            const int32_t root = static_cast<int32_t>(isqrt(static_cast<uint32_t>(disc)));
            const int32_t t = wrapShl(wrapSub(wrapShl(root, 8), b), 7) / a;
            hx = wrapAdd(e, wrapMul(t, dx) >> 8);
            hy = wrapAdd(h, wrapMul(t, dy) >> 8);
            d = wrapMul(t, dz) >> 8;
        }
        grid.V[i] = angles_[((((hy >> 8) + 128) & 255) << 8) | (((hx >> 8) + 128) & 255)];
        grid.U[i] = wrapShl(wrapAdd(d, scroll), 16);
        grid.L[i] = brightness(d);
    });
}

void TunnelEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&distance});
    int32_t e = 0, h = 0;
    FixedMatrix m = viewMatrix(time, distance.current, e, h);
    castRays(grid_, m, e, h, time);
    grid_.drawShaded(backBuffer, wallTexture_.pixels32());
    object_.texture = objectTexture_.pixels16();
    rotate(m, wrapShl(time, 4), 'z');
    object_.setMatrix(m);
    object_.transform();
    object_.draw(backBuffer);
}
