#include "effects/fractalefu.h"

#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
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

uint16_t packed(uint32_t rgb) { return rgb565::fromXrgb(rgb); }

}  // namespace

TrackList FractalZoomEffect::tracks() { return {{"zoom", &zoom}}; }

bool FractalZoomEffect::load() { return true; }

bool FractalZoomEffect::init() {
    if (initialised) return true;
    if (!texture_.loadTiled16(res::kFractalObjectMap) || !hasShape(texture_, 256, 256, 16)) return false;
    for (int i = 0; i < kLevels; ++i) {
        // The zoom reads whole 240 x 320 pictures: another shape fails here.
        if (!pictures_[i].loadJpeg(res::kFractalZoom0 + i) || !hasShape(pictures_[i], kWidth, kHeight, 32))
            return false;
    }
    if (!object_.loadMesh(res::kFractalObject, 35.1f)) return false;
    initialised = true;
    return true;
}

void FractalZoomEffect::deinit() {
    if (!initialised) return;
    initialised = false;
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

    uint16_t last = 0;  // the top-left pixel always lies in one of the pictures
    for (int32_t r = 0, y = y0; r < kHeight; ++r, y += step) {
        const Tap innerRow = tap(y, kHeight), outerRow = tap((y + kInnerTop) >> 1, kHeight);
        const uint32_t* innerUpper = inner + innerRow.pixel * kWidth;
        const uint32_t* outerUpper = outer + outerRow.pixel * kWidth;
        uint16_t* out = backBuffer + r * kWidth;
        for (int32_t s = 0; s < kWidth; ++s) {
            if (innerRow.inside && innerColumn[s].inside) {
                const uint32_t* p = innerUpper + innerColumn[s].pixel;
                last = packed(blend(p[0], p[kWidth], p[1], p[kWidth + 1], innerColumn[s].fraction, innerRow.fraction));
            } else if (outerRow.inside && outerColumn[s].inside) {
                const uint32_t* p = outerUpper + outerColumn[s].pixel;
                last = packed(blend(p[0], p[kWidth], p[1], p[kWidth + 1], outerColumn[s].fraction, outerRow.fraction));
            }
            out[s] = last;  // outside both: the previous pixel again
        }
    }
}

void FractalZoomEffect::draw(int32_t time, uint16_t* backBuffer) {
    zoom.evaluate(time);
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
