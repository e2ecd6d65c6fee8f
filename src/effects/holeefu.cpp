#include "effects/holeefu.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/picture_checks.h"
#include "render/grid_rays.h"
#include "render/scaled_blit.h"

namespace {

using zm::wrapAdd;
using zm::wrapMul;
using zm::wrapShl;
using zm::wrapSub;

constexpr int kGlowSize = 64;
constexpr uint32_t kTailColour = 0x603040;
constexpr int kTailSegments = 9;

struct Swimmer {
    int32_t x, y, z0;
    double frequency;  // z travel, per millisecond
    int32_t phase;     // added to the time for the tail
};

// In drawing order.
constexpr Swimmer kSwimmers[] = {
    {-15360, 12800, 25600, 0.000554642, 642649}, {20480, 5120, 30720, 0.000554243, 846247},
    {2560, -10240, 33280, 0.000564257, 457384},  {-7680, 2560, 32000, 0.000586448, 975329},
    {10240, 6656, 35840, 0.000532764, 432577},   {5120, -15360, 33792, 0.000576848, 864244},
    {10240, 12800, 24320, 0.000563583, 635789},  {15360, -19456, 17920, 0.000635786, 846987},
    {-7680, 2560, 41472, 0.000753278, 674893},
};

// Wall distance along a ray: 0 when the ray runs parallel to the wall.
int32_t wallDistance(int32_t wall, int32_t cam, int32_t d) {
    return d == 0 ? 0 : wrapMul(wrapSub(wall, cam), 256) / d;
}

bool offScreen(int32_t x, int32_t y) { return x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight; }

// Rows y .. yEnd - 1 of a triangle half, both edges in 8.8 fixed point,
// stepped after each row. Clipped rows and columns are skipped but the edges
// still step through them, so clipping never moves a pixel.
template <bool kClip>
void fillHalf(uint16_t* backBuffer, uint16_t colour, int32_t y, int32_t yEnd, int32_t& left, int32_t leftStep,
              int32_t& right, int32_t rightStep) {
    if constexpr (kClip) {
        if (y < 0 && yEnd > y) {
            // Step the edges past the rows above the screen at once; a count
            // of 2^31 rows or more wraps, as stepping row by row would.
            const int32_t top = std::min(yEnd, 0), skipped = wrapSub(top, y);
            left = wrapAdd(left, wrapMul(leftStep, skipped));
            right = wrapAdd(right, wrapMul(rightStep, skipped));
            y = top;
        }
        yEnd = std::min(yEnd, static_cast<int32_t>(kScreenHeight));
    }
    for (; y < yEnd; ++y) {
        int32_t from = left >> 8, to = right >> 8;
        if constexpr (kClip) {
            from = std::max(from, 0);
            to = std::min(to, static_cast<int32_t>(kScreenWidth));
        }
        uint16_t* row = backBuffer + y * kScreenWidth;
        for (int32_t x = from; x < to; ++x) row[x] = rgb565::addSaturated565(row[x], colour);
        left = wrapAdd(left, leftStep);
        right = wrapAdd(right, rightStep);
    }
}

// The corners sorted top, middle, bottom. Not the mesh rasterizer's scan
// (render/rasterizers.cpp), which differs in two places: there the long edge
// keeps its own x into the lower half, where here the upper half's left and
// right edges carry on whichever edge they followed (other pixels where
// truncated slopes leave the long one outside the two short ones); and there
// a slope over a row count that wrapped negative is 0, here a division.
template <bool kClip>
void fillTriangle(uint16_t* backBuffer, uint16_t colour, int32_t xt, int32_t yt, int32_t xm, int32_t ym, int32_t xb,
                  int32_t yb) {
    // In 64 bits and wrapped: rows that wrapped to -1 under an x difference
    // of -2^31 give -2^31 rather than a trapping division.
    const auto slope = [](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        if (y0 == y1) return 0;
        const int64_t quotient = int64_t{wrapMul(wrapSub(x1, x0), 256)} / wrapSub(y1, y0);
        return static_cast<int32_t>(static_cast<uint32_t>(quotient));
    };
    const int32_t longSlope = slope(xt, yt, xb, yb), upper = slope(xt, yt, xm, ym), lower = slope(xm, ym, xb, yb);
    int32_t left = wrapShl(xt, 8), right = left;
    fillHalf<kClip>(backBuffer, colour, yt, ym, left, std::min(longSlope, upper), right, std::max(longSlope, upper));
    if (longSlope >= lower) {
        right = wrapShl(xm, 8);
        fillHalf<kClip>(backBuffer, colour, ym, yb, left, longSlope, right, lower);
    } else {
        left = wrapShl(xm, 8);
        fillHalf<kClip>(backBuffer, colour, ym, yb, left, lower, right, longSlope);
    }
}

}  // namespace

bool ShaftEffect::acquire() {
    if (!wallTexture_.loadTiled(res::kShaftWall) || !hasShape(wallTexture_, 256, 256, 32)) return false;
    if (!glow_.loadJpeg(res::kSwimmerGlow) || !hasShape(glow_, kGlowSize, kGlowSize, 32)) return false;
    if (!camera_.loadMesh(res::kShaftCamera, 30.1f)) return false;
    return true;
}

void ShaftEffect::release() {
    wallTexture_.release();
    glow_.release();
    camera_.release();
}

ShaftEffect::WallHit ShaftEffect::castRay(int32_t dx, int32_t dy, int32_t dz, int32_t camX, int32_t camY,
                                          int32_t previousW) {
    const int32_t tYp = wallDistance(kWall, camY, dy), tYm = wallDistance(-kWall, camY, dy);
    const int32_t tXm = wallDistance(-kWall, camX, dx), tXp = wallDistance(kWall, camX, dx);
    int32_t t = kNoHit;
    for (int32_t candidate : {tYp, tYm, tXm, tXp})
        if (candidate > 0 && candidate < t) t = candidate;
    const int32_t hx = wrapAdd(camX, wrapMul(t, dx) >> 8);
    const int32_t hy = wrapAdd(camY, wrapMul(t, dy) >> 8);
    const int32_t hz = wrapMul(t, dz) >> 8;
    // Consecutive quarters of the texture rows, continuous around the shaft:
    // y = +wall, x = +wall, y = -wall, x = -wall.
    int32_t w = previousW;
    if (t == tYm)
        w = wrapSub(0xA000, hx >> 2);
    else if (t == tYp)
        w = wrapAdd(hx >> 2, 0x2000);
    else if (t == tXm)
        w = wrapAdd(hy >> 2, 0xE000);
    else if (t == tXp)
        w = wrapSub(0x6000, hy >> 2);
    return {t, hz, w};
}

void ShaftEffect::castWalls(WarpGrid& grid, const FixedMatrix& matrix, int32_t camX, int32_t camY, int32_t time) {
    const int32_t slide = wrapMul(64, time);  // one texel (512 units) every 8 ms
    // The wall row w carries from one grid point to the next. The first, a
    // screen corner, always meets a wall; should it not, it takes row 0
    // rather than anything left from another frame. Values are captured by
    // copy: the grid's stores could otherwise alias them.
    auto cast = [&grid, camX, camY, slide, w = int32_t{0}](int index, int32_t dx, int32_t dy,
                                                            int32_t dz) mutable {
        const WallHit hit = castRay(dx, dy, dz, camX, camY, w);
        w = hit.w;
        grid.U[index] = wrapShl(wrapAdd(slide, hit.hz), 15);
        grid.V[index] = wrapShl(w, 16);
        grid.L[index] = depthShade(hit.hz, 320);
    };
    castGridRays(matrix, cast);
}

void ShaftEffect::draw(int32_t time, uint16_t* backBuffer) {
    const float f = static_cast<float>(time);
    const double s1 = std::sin(static_cast<double>(f * 0.000377f));
    const double s2 = std::sin(static_cast<double>(f * 0.000449f));
    const double s3 = std::sin(static_cast<double>(f * 0.0003687f));
    const double kAngle = static_cast<double>(6553.6f);
    const int32_t camX = zm::truncToInt32(s1 * -12800.0), camY = zm::truncToInt32(s2 * -12800.0);
    const int32_t rz = zm::truncToInt32(s3 * kAngle), rx = zm::truncToInt32(s2 * -kAngle);
    const int32_t ry = zm::truncToInt32(s1 * kAngle);

    FixedMatrix m;
    setIdentity(m);
    rotate(m, rz, 'z');
    rotate(m, rx, 'x');
    rotate(m, ry, 'y');
    translate(m, zm::wrapNeg(camX), zm::wrapNeg(camY), 0);
    camera_.setMatrix(m);

    castWalls(grid_, m, camX, camY, time);
    grid_.drawShaded(backBuffer, wallTexture_.pixels32());

    for (const Swimmer& s : kSwimmers) {
        const int32_t travel = zm::truncToInt32(std::sin(static_cast<double>(time) * s.frequency) * -23040.0);
        drawSwimmer(backBuffer, camera_, glow_.pixels32(), wrapAdd(time, s.phase), s.x, s.y, wrapSub(s.z0, travel));
    }
}

void ShaftEffect::drawSwimmer(uint16_t* backBuffer, const Mesh& camera, const uint32_t* glow, int32_t phase,
                              int32_t x, int32_t y, int32_t z) {
    struct Point {
        int32_t x, y, z;
    };
    const auto project = [&camera](Point p) {
        camera.projectPoint(p.x, p.y, p.z);
        return p;  // z is now the view depth
    };
    const Point head = project({x, y, z});
    if (head.z > kNearDepth)
        scaledAdditiveBlit(backBuffer, head.x, head.y, kGlowSize, kGlowSize, 8388608 / head.z, glow);

    Point left = project({wrapSub(x, 512), y, z}), right = project({wrapAdd(x, 512), y, z});
    const float pa = static_cast<float>(phase) * 0.006537f, pb = static_cast<float>(phase) * 0.007359f;
    for (int n = 1; n <= kTailSegments; ++n) {
        const int32_t sx = zm::truncToInt32(std::sin(static_cast<double>(static_cast<float>(n) - pa)) * n * -256.0);
        const int32_t sy = zm::truncToInt32(std::sin(static_cast<double>(static_cast<float>(n) - pb)) * n * -256.0);
        const int32_t half = 480 - 60 * (n - 1);
        const int32_t cx = wrapSub(x, sx), cy = wrapSub(y, sy), cz = wrapSub(z, 2048 * n);
        const Point nextLeft = project({wrapSub(cx, half), cy, cz}), nextRight = project({wrapAdd(cx, half), cy, cz});
        if (right.z > kNearDepth && left.z > kNearDepth && nextRight.z > kNearDepth && nextLeft.z > kNearDepth) {
            additiveTriangle(backBuffer, kTailColour, left.x, left.y, right.x, right.y, nextLeft.x, nextLeft.y);
            additiveTriangle(backBuffer, kTailColour, nextRight.x, nextRight.y, nextLeft.x, nextLeft.y, right.x, right.y);
        }
        left = nextLeft;
        right = nextRight;
    }
}

void ShaftEffect::scaledAdditiveBlit(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h,
                                     int32_t scale, const uint32_t* pixels) {
    drawScaledCentred(backBuffer, cx, cy, w, h, scale, pixels, [](uint16_t& out, uint32_t p) {
        // Black adds nothing; the glow's dark surround is skipped.
        const uint16_t add = rgb565::fromXrgb(p);
        if (add != 0) out = rgb565::addSaturated565(out, add);
    });
}

void ShaftEffect::additiveTriangle(uint16_t* backBuffer, uint32_t colour, int32_t x0, int32_t y0, int32_t x1,
                                   int32_t y1, int32_t x2, int32_t y2) {
    const int off = offScreen(x0, y0) + offScreen(x1, y1) + offScreen(x2, y2);
    if (off == 3) return;
    if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
    if (y1 > y2) std::swap(x1, x2), std::swap(y1, y2);
    if (y0 > y1) std::swap(x0, x1), std::swap(y0, y1);
    // Adding the colour's channels saturating is adding its RGB565 form.
    const uint16_t packed = rgb565::fromXrgb(colour);
    if (off == 0)
        fillTriangle<false>(backBuffer, packed, x0, y0, x1, y1, x2, y2);
    else
        fillTriangle<true>(backBuffer, packed, x0, y0, x1, y1, x2, y2);
}
