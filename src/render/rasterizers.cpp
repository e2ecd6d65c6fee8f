#include "render/rasterizers.h"

#include <algorithm>
#include <array>
#include <utility>

#include "anim/intmath.h"
#include "assets/image.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

bool offScreen(const ProjectedVertex& v) {
    return v.screenX < 0 || v.screenY < 0 || v.screenX > kWidth - 1 || v.screenY > kHeight - 1;
}

// (difference << 8) / steps in 8.8, or 0 over no steps. Sorted vertices
// never give negative steps (short of coordinates that wrap).
int32_t slope(int32_t end, int32_t start, int32_t steps) {
    return steps <= 0 ? 0 : zm::wrapShl(zm::wrapSub(end, start), 8) / steps;
}

// One edge of the triangle: x and the interpolated values, all 8.8, with
// their steps per scanline.
template <int N>
struct Edge {
    int32_t x = 0, dx = 0;
    std::array<int32_t, N> value{}, step{};

    void start(const ProjectedVertex& from, const std::array<int32_t, N>& values) {
        x = zm::wrapShl(from.screenX, 8);
        for (int i = 0; i < N; ++i) value[i] = zm::wrapShl(values[i], 8);
    }
    void aim(const ProjectedVertex& from, const std::array<int32_t, N>& fromValues, const ProjectedVertex& to,
             const std::array<int32_t, N>& toValues) {
        const int32_t dy = zm::wrapSub(to.screenY, from.screenY);
        dx = slope(to.screenX, from.screenX, dy);
        for (int i = 0; i < N; ++i) step[i] = slope(toValues[i], fromValues[i], dy);
    }
    // Steps n scanlines at once; the same as n single steps, wrapping included.
    void advance(int32_t n) {
        x = zm::wrapAdd(x, zm::wrapMul(dx, n));
        for (int i = 0; i < N; ++i) value[i] = zm::wrapAdd(value[i], zm::wrapMul(step[i], n));
    }
};

// Fills pixels (left.x >> 8) .. (right.x >> 8) - 1 of row y, the values
// starting at the left edge's and adding the span gradient per pixel.
template <int N, bool kClip, typename Plot>
void fillSpan(const Edge<N>& left, const Edge<N>& right, int32_t y, Plot& plot) {
    int32_t x = left.x >> 8;
    int32_t end = right.x >> 8;
    if (end <= x) return;
    const int32_t width = zm::wrapSub(right.x, left.x);
    if (width <= 0) return;  // only when edge coordinates wrapped
    std::array<int32_t, N> value = left.value, gradient{};
    for (int i = 0; i < N; ++i) gradient[i] = zm::wrapShl(zm::wrapSub(right.value[i], left.value[i]), 8) / width;
    if constexpr (kClip) {
        if (x < 0) {
            for (int i = 0; i < N; ++i) value[i] = zm::wrapAdd(value[i], zm::wrapMul(gradient[i], -x));
            x = 0;
        }
        if (end > kWidth) end = kWidth;
    }
    for (; x < end; ++x) {
        plot(x, y, value);
        for (int i = 0; i < N; ++i) value[i] = zm::wrapAdd(value[i], gradient[i]);
    }
}

// Fills rows first .. last - 1 between two edges, then leaves both edges
// stepped past them. Clipped fills jump over the rows above the screen and
// stop below it; the edge values come out the same as stepping row by row.
template <int N, bool kClip, typename Plot>
void fillRows(Edge<N>& left, Edge<N>& right, int32_t first, int32_t last, Plot& plot) {
    if (last <= first) return;
    if constexpr (kClip) {
        // Rows counted in 64 bits; advancing by a count modulo 2^32 gives the
        // same wrapped edge values as stepping one row at a time.
        const int64_t total = int64_t{last} - first;
        const int64_t above = std::clamp<int64_t>(-int64_t{first}, 0, total);
        const int64_t top = first + above;
        const int64_t bottom = std::min<int64_t>(last, kHeight);
        const int64_t drawn = std::max<int64_t>(bottom - top, 0);
        left.advance(static_cast<int32_t>(static_cast<uint32_t>(above)));
        right.advance(static_cast<int32_t>(static_cast<uint32_t>(above)));
        for (int64_t y = top; y < top + drawn; ++y) {
            fillSpan<N, true>(left, right, static_cast<int32_t>(y), plot);
            left.advance(1);
            right.advance(1);
        }
        const int64_t below = total - above - drawn;
        left.advance(static_cast<int32_t>(static_cast<uint32_t>(below)));
        right.advance(static_cast<int32_t>(static_cast<uint32_t>(below)));
    } else {
        for (int32_t y = first; y < last; ++y) {
            fillSpan<N, false>(left, right, y, plot);
            left.advance(1);
            right.advance(1);
        }
    }
}

// The scanline scheme shared by every filler. values(v) gives the N
// quantities to interpolate at vertex v; plot(x, y, values) writes a pixel
// with the interpolated values in 8.8. The shaft's additive triangles keep
// their own scan (effects/holeefu.cpp): theirs carries the upper half's left
// and right edges, not the long edge, into the lower half, and divides
// slopes by row counts that wrapped negative.
template <int N, bool kClip, typename Values, typename Plot>
void scanTriangle(const ProjectedVertex* t, const ProjectedVertex* m, const ProjectedVertex* b, Values values,
                  Plot& plot) {
    const std::array<int32_t, N> tv = values(*t), mv = values(*m), bv = values(*b);
    Edge<N> longEdge, shortEdge;
    longEdge.start(*t, tv);
    longEdge.aim(*t, tv, *b, bv);
    shortEdge.start(*t, tv);
    shortEdge.aim(*t, tv, *m, mv);

    // Upper half: the edge with the smaller x slope is on the left.
    if (longEdge.dx < shortEdge.dx) fillRows<N, kClip>(longEdge, shortEdge, t->screenY, m->screenY, plot);
    else fillRows<N, kClip>(shortEdge, longEdge, t->screenY, m->screenY, plot);

    // Lower half: the short edge restarts at the middle vertex.
    if (m->screenY != b->screenY) shortEdge.aim(*m, mv, *b, bv);
    shortEdge.start(*m, mv);
    if (longEdge.dx < shortEdge.dx) fillRows<N, kClip>(shortEdge, longEdge, m->screenY, b->screenY, plot);
    else fillRows<N, kClip>(longEdge, shortEdge, m->screenY, b->screenY, plot);
}

template <int N, typename Values, typename Plot>
void rasterize(const ProjectedVertex& first, const ProjectedVertex& second, const ProjectedVertex& third,
               Values values, Plot plot) {
    const int off = offScreen(first) + offScreen(second) + offScreen(third);
    if (off == 3) return;  // not drawn, even when it covers the screen
    // Sort by screenY with three compare-and-swaps; equal rows keep their order.
    const ProjectedVertex* v[3] = {&first, &second, &third};
    if (v[0]->screenY > v[1]->screenY) std::swap(v[0], v[1]);
    if (v[1]->screenY > v[2]->screenY) std::swap(v[1], v[2]);
    if (v[0]->screenY > v[1]->screenY) std::swap(v[0], v[1]);
    if (off == 0) scanTriangle<N, false>(v[0], v[1], v[2], values, plot);
    else scanTriangle<N, true>(v[0], v[1], v[2], values, plot);
}

std::array<int32_t, 2> texCoords(const ProjectedVertex& v) { return {v.texU, v.texV}; }
std::array<int32_t, 3> texCoordsAndDepth(const ProjectedVertex& v) { return {v.texU, v.texV, v.depth}; }
std::array<int32_t, 0> noValues(const ProjectedVertex&) { return {}; }

uint16_t texel(const uint16_t* texture, int32_t u, int32_t v) {
    return texture[tiledIndex((u >> 8) & 255, (v >> 8) & 255)];
}

}  // namespace

void fillTextured(uint16_t* backBuffer, const uint16_t* texture, const ProjectedVertex& first,
                  const ProjectedVertex& second, const ProjectedVertex& third) {
    rasterize<2>(first, second, third, texCoords, [=](int32_t x, int32_t y, const std::array<int32_t, 2>& uv) {
        backBuffer[y * kWidth + x] = texel(texture, uv[0], uv[1]);
    });
}

void fillTexturedSplit(uint16_t* backBuffer, const uint16_t* texture, const ProjectedVertex& first,
                       const ProjectedVertex& second, const ProjectedVertex& third, int32_t depthLimit) {
    rasterize<3>(first, second, third, texCoordsAndDepth,
                 [=](int32_t x, int32_t y, const std::array<int32_t, 3>& uvz) {
                     uint16_t& pixel = backBuffer[y * kWidth + x];
                     pixel = (uvz[2] >> 8) < depthLimit ? texel(texture, uvz[0], uvz[1]) : halvePixel(pixel);
                 });
}

void fillHalved(uint16_t* backBuffer, const ProjectedVertex& first, const ProjectedVertex& second,
                const ProjectedVertex& third) {
    rasterize<0>(first, second, third, noValues, [=](int32_t x, int32_t y, const std::array<int32_t, 0>&) {
        uint16_t& pixel = backBuffer[y * kWidth + x];
        pixel = halvePixel(pixel);
    });
}

void fillCoverage(int32_t* coverage, const ProjectedVertex& first, const ProjectedVertex& second,
                  const ProjectedVertex& third) {
    rasterize<0>(first, second, third, noValues, [=](int32_t x, int32_t y, const std::array<int32_t, 0>&) {
        coverage[(y >> 1) * (kWidth / 2) + (x >> 1)] += 128;
    });
}
