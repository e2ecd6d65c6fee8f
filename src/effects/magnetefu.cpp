#include "effects/magnetefu.h"

#include <algorithm>
#include <cmath>

#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/picture_checks.h"
#include "render/grid_tables.h"
#include "render/isqrt.h"

using zm::wrapAdd;
using zm::wrapMul;
using zm::wrapShl;
using zm::wrapSub;

namespace {

// A fixed phase, so the first frame does not start at the paths' centres.
constexpr int32_t kPhase = 59452454;

// Each pole's rates across (A) and down (B) and its charge.
struct PolePath {
    double rateX, rateY;
    int32_t charge;
};
constexpr PolePath kPaths[MagnetEffect::kPoles] = {
    {0.00121254, 0.00102471, 96}, {0.00133643, 0.00104449, -96},
    {0.00141693, 0.00112547, 96}, {0.00121449, 0.00114397, -96}};

}  // namespace

bool MagnetEffect::acquire() {
    if (!texture_.loadTiled16(res::kMagnetTexture) || !hasShape(texture_, 256, 256, 16)) return false;
    // The glow is kept as RGB565: adding to an RGB565 pixel uses only each
    // channel's top 5 or 6 bits, and the packed addition is the same sum.
    if (!glow_.loadJpeg16(res::kMagnetGlow) || !hasShape(glow_, kGlowSize, kGlowSize, 16)) return false;
    return true;
}

void MagnetEffect::release() {
    texture_.release();
    glow_.release();
}

std::array<MagnetEffect::Pole, MagnetEffect::kPoles> MagnetEffect::poles(int32_t time) {
    const double t = wrapAdd(time, kPhase);
    std::array<Pole, kPoles> result{};
    for (int k = 0; k < kPoles; ++k) {
        result[k] = {zm::truncToInt32((std::sin(t * kPaths[k].rateX) * 10.0 + 15.0) * 256.0),
                     zm::truncToInt32((std::sin(t * kPaths[k].rateY) * 15.0 + 20.0) * 256.0), kPaths[k].charge};
    }
    return result;
}

void MagnetEffect::fillField(WarpGrid& grid, const std::array<Pole, kPoles>& poles) {
    // The show's poles stay within the screen's grid (5..25 by 5..35 cells),
    // where nothing below wraps; poles placed anywhere else wrap in 32 bits.
    int index = 0;
    for (int32_t i = 0; i < kGridRows; ++i) {
        for (int32_t j = 0; j < kGridColumns; ++j, ++index) {
            int32_t su = 0, sv = 0;
            for (const Pole& p : poles) {
                const int32_t x = wrapSub(p.x, 256 * j), y = wrapSub(p.y, 256 * i);
                const uint32_t square = static_cast<uint32_t>(wrapAdd(wrapMul(x, x), wrapMul(y, y)));
                const int32_t root = static_cast<int32_t>(isqrt(square));
                const int32_t d = root == 0 ? 1 : root;
                su = wrapAdd(su, wrapMul(wrapMul(p.charge, x), 256) / d);
                sv = wrapAdd(sv, wrapMul(wrapMul(p.charge, y), 256) / d);
            }
            grid.U[index] = wrapShl(su, 16);
            grid.V[index] = wrapShl(sv, 16);
        }
    }
}

void MagnetEffect::additiveBlit(uint16_t* backBuffer, int32_t cx, int32_t cy, int32_t w, int32_t h,
                                const uint16_t* light) {
    // Not drawScaledCentred at scale 256 (render/scaled_blit.h): that wraps
    // the corner at 32 bits, where this takes it in 64 bits, so that a centre
    // anywhere in the 32-bit range clips; and the glow, already RGB565, is
    // added a whole row at a time.
    const int64_t x0 = int64_t{cx} - (w >> 1), y0 = int64_t{cy} - (h >> 1);
    // The visible part; the source walk starts where it would have reached.
    const int64_t firstX = std::max<int64_t>(x0, 0), endX = std::min<int64_t>(x0 + w, kScreenWidth);
    const int64_t firstY = std::max<int64_t>(y0, 0), endY = std::min<int64_t>(y0 + h, kScreenHeight);
    for (int64_t y = firstY; y < endY; ++y) {
        const uint16_t* source = light + (y - y0) * w + (firstX - x0);
        uint16_t* out = backBuffer + y * kScreenWidth + firstX;
        rgb565::addSaturatedRow(out, source, endX - firstX);
    }
}

void MagnetEffect::draw(int32_t time, uint16_t* backBuffer) {
    const auto current = poles(time);
    fillField(grid_, current);
    grid_.draw(backBuffer, texture_.pixels16());
    for (const Pole& p : current) additiveBlit(backBuffer, p.x >> 5, p.y >> 5, kGlowSize, kGlowSize, glow_.pixels16());
}
