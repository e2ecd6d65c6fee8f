#include "effects/fractalefu.h"

#include <algorithm>

#include "anim/cpu_clones.h"
#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/fixed_matrix.h"

using zm::wrapMul;

namespace {

constexpr int kWidth = kScreenWidth, kHeight = kScreenHeight;
// The inner picture covers the outer one's columns 60..180 and rows 80..240.
constexpr int32_t kInnerLeft = 60 << 11, kInnerTop = 80 << 11;
// 119.875 and 159.875 inner pixels: the screen centre at the finest view.
constexpr int32_t kCentreX = 122752, kCentreY = 163712;

// Where a 22.10 coordinate falls in a picture of `size` pixels: the pixel,
// its fraction and whether the pixel and its right (lower) neighbour exist.
struct Tap {
    int32_t pixel, fraction;
    bool inside;
};

Tap tap(int32_t coordinate, int32_t size) {
    const int32_t pixel = coordinate >> 10;
    return {pixel, coordinate & 1023, pixel >= 0 && pixel <= size - 2};
}

// Red and blue in two 32-bit lanes of one 64-bit word: every partial sum of
// the blend stays below 255 x 1023 x 1023 < 2^32, so no lane carries into
// the other, and green is blended on its own.
uint64_t redBlue(uint32_t p) { return (uint64_t{(p >> 16) & 255} << 32) | (p & 255); }

// The bilinear blend of 2 x 2 pixels: pXY is X columns right and Y rows
// down of p00. Weights add to 1023 each way, in unsigned 32 bits.
uint32_t blend(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11, uint32_t fx, uint32_t fy) {
    const uint32_t gx = 1023 - fx, gy = 1023 - fy;
    const uint64_t rb = (redBlue(p00) * gy + redBlue(p01) * fy) * gx + (redBlue(p10) * gy + redBlue(p11) * fy) * fx;
    const uint32_t g = (((p00 >> 8) & 255) * gy + ((p01 >> 8) & 255) * fy) * gx +
                       (((p10 >> 8) & 255) * gy + ((p11 >> 8) & 255) * fy) * fx;
    return static_cast<uint32_t>((rb >> 52) << 16) | ((g >> 20) << 8) | static_cast<uint32_t>((rb & 0xFFFFFFFF) >> 20);
}

// Columns [begin, end).
struct Run {
    int32_t begin, end;
};

Run insideRun(const Tap* taps) {
    int32_t begin = 0;
    while (begin < kScreenWidth && !taps[begin].inside) ++begin;
    int32_t end = begin;
    while (end < kScreenWidth && taps[end].inside) ++end;
    return {begin, end};
}

// Blends a gathered row of 2 x 2 pixels (pXY: X columns right, Y rows down)
// with their column fractions fx and packs it; columns [innerBegin,
// innerEnd) take the row fraction innerFy, the others outerFy. A fixed count
// of plain arithmetic that the compiler vectorises; on x86-64 a second copy
// for AVX2 is chosen at run time where the processor has it (integers: the
// same pixels either way).
ZM_AVX2_CLONES
void blendRow(uint16_t* out, const uint32_t* p00, const uint32_t* p01, const uint32_t* p10, const uint32_t* p11,
              const uint32_t* fx, int32_t innerBegin, int32_t innerEnd, uint32_t innerFy, uint32_t outerFy) {
    for (int32_t s = 0; s < kWidth; ++s) {
        const uint32_t a = p00[s], b = p01[s], c = p10[s], d = p11[s];
        const uint32_t wy = s >= innerBegin && s < innerEnd ? innerFy : outerFy;
        const uint32_t wx = fx[s], vx = 1023 - wx, vy = 1023 - wy;
        const auto channel = [&](int shift) {
            return ((((a >> shift) & 255) * vy + ((b >> shift) & 255) * wy) * vx +
                    (((c >> shift) & 255) * vy + ((d >> shift) & 255) * wy) * wx) >> 20;
        };
        out[s] = rgb565::pack(channel(16), channel(8), channel(0));
    }
}

}  // namespace

TrackList FractalZoomEffect::tracks() { return {{"zoom", &zoom}}; }

bool FractalZoomEffect::acquire() {
    if (!texture_.loadTiled16(res::kFractalObjectMap) || !hasShape(texture_, 256, 256, 16)) return false;
    for (int i = 0; i < kLevels; ++i) {
        // The zoom reads whole 240 x 320 pictures: another shape fails here.
        if (!pictures_[i].loadJpeg(res::kFractalZoom0 + i) || !hasShape(pictures_[i], kWidth, kHeight, 32))
            return false;
    }
    if (!object_.loadMesh(res::kFractalObject, 35.1f)) return false;
    return true;
}

void FractalZoomEffect::release() {
    for (Image& picture : pictures_) picture.release();
    texture_.release();
    object_.release();
}

uint32_t FractalZoomEffect::sample(const uint32_t* picture, int32_t x, int32_t y) {
    const uint32_t* upper = picture + (y >> 10) * kWidth + (x >> 10);
    const uint32_t* lower = upper + kWidth;
    return blend(upper[0], lower[0], upper[1], lower[1], x & 1023, y & 1023);
}

void FractalZoomEffect::drawZoom(uint16_t* backBuffer, const uint32_t* const pictures[kLevels], int32_t z) {
    z &= 0xFFF;
    const uint32_t* outer = pictures[z >> 10];
    const uint32_t* inner = pictures[(z >> 10) + 1];
    // Distance between screen pixels in 1/1024 inner pixels: 2047 shows the
    // inner picture at about half size, 1024 at full size.
    const int32_t step = 2047 - (z & 1023);
    const int32_t x0 = (step >> 1) - 120 * step + kCentreX, y0 = (step >> 1) - 160 * step + kCentreY;

    // Columns are the same on every row: where each falls in both pictures.
    Tap innerColumn[kWidth], outerColumn[kWidth];
    for (int32_t s = 0, x = x0; s < kWidth; ++s, x += step) {
        innerColumn[s] = tap(x, kWidth);
        outerColumn[s] = tap((x + kInnerLeft) >> 1, kWidth);
    }
    // The columns inside each picture form one run, since x grows along the
    // row; the inner picture's run lies within the outer one's (the inner
    // picture covers the middle of the outer), and likewise for rows.
    const Run innerRun = insideRun(innerColumn), outerRun = insideRun(outerColumn);

    // Each row is gathered first (the 2 x 2 pixels of every column, from
    // whichever picture it falls in) and then blended in one pass without
    // branches or lookups. The column fractions of a row: the outer
    // picture's, with the inner one's over its run on rows that show it.
    int32_t innerPixel[kWidth], outerPixel[kWidth];
    uint32_t outerFx[kWidth], mixedFx[kWidth];
    for (int32_t s = 0; s < kWidth; ++s) {
        innerPixel[s] = innerColumn[s].pixel, outerPixel[s] = outerColumn[s].pixel;
        outerFx[s] = outerColumn[s].fraction;
        mixedFx[s] = s >= innerRun.begin && s < innerRun.end ? innerColumn[s].fraction : outerFx[s];
    }
    uint32_t p00[kWidth] = {}, p01[kWidth] = {}, p10[kWidth] = {}, p11[kWidth] = {};
    const auto gather = [&](int32_t begin, int32_t end, const uint32_t* upper, const int32_t* pixel) {
        for (int32_t s = begin; s < end; ++s) {
            const uint32_t* p = upper + pixel[s];
            p00[s] = p[0], p10[s] = p[1], p01[s] = p[kWidth], p11[s] = p[kWidth + 1];
        }
    };

    uint16_t last = 0;  // the top-left pixel always lies in one of the pictures
    for (int32_t r = 0, y = y0; r < kHeight; ++r, y += step) {
        const Tap innerRow = tap(y, kHeight), outerRow = tap((y + kInnerTop) >> 1, kHeight);
        const Run sampled = outerRow.inside ? outerRun : Run{0, 0};
        const Run shown = innerRow.inside ? innerRun : Run{0, 0};
        const uint32_t* outerUpper = outer + outerRow.pixel * kWidth;
        gather(sampled.begin, shown.begin, outerUpper, outerPixel);
        gather(shown.begin, shown.end, inner + innerRow.pixel * kWidth, innerPixel);
        gather(std::max(shown.end, sampled.begin), sampled.end, outerUpper, outerPixel);
        uint16_t* out = backBuffer + r * kWidth;
        blendRow(out, p00, p01, p10, p11, shown.begin < shown.end ? mixedFx : outerFx, shown.begin, shown.end,
                 innerRow.fraction, outerRow.fraction);
        // Pixels outside both pictures repeat the one before them in raster
        // order: the row's first ones the end of the row above.
        for (int32_t s = 0; s < sampled.begin; ++s) out[s] = last;
        if (sampled.begin < sampled.end) last = out[sampled.end - 1];
        for (int32_t s = sampled.end; s < kWidth; ++s) out[s] = last;
        last = out[kWidth - 1];
    }
}

void FractalZoomEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&zoom});
    const uint32_t* pictures[kLevels];
    for (int i = 0; i < kLevels; ++i) pictures[i] = pictures_[i].pixels32();
    drawZoom(backBuffer, pictures, zoom.current);

    FixedMatrix m;
    setIdentity(m);
    translate(m, 0, 0, 102400);
    rotate(m, wrapMul(7, time), 'z');
    rotate(m, wrapMul(10, time), 'x');
    rotate(m, wrapMul(13, time), 'y');
    object_.setMatrix(m);
    object_.texture = texture_.pixels16();
    object_.transform();
    object_.draw(backBuffer);
}
