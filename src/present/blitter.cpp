#include "present/blitter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "engine/back_buffer.h"
#include "present/pixel_ops.h"

namespace {

// What one frame does to each pixel, settled before the pixel loop.
enum class Operation { kNothing, kCopy, kInverse, kMultiply, kTrail };

Operation operationFor(int32_t mode, int32_t a) {
    switch (mode) {
    case kBlitNormal: return Operation::kCopy;
    case kBlitInverse: return a <= 0 ? Operation::kCopy : Operation::kInverse;
    case kBlitMul: return a == 0 ? Operation::kNothing : a == 256 ? Operation::kCopy : Operation::kMultiply;
    case kBlitMotionBlur: return a >= 256 ? Operation::kNothing : a <= 0 ? Operation::kCopy : Operation::kTrail;
    default: return Operation::kNothing;
    }
}

// Applies op to n pixels: src is the new frame, dst holds the shown pixels
// (read by the trail) and receives the result. Plain loops the compiler turns
// into vector code.
template <Operation op>
void applySpan(const uint16_t* __restrict src, uint16_t* __restrict dst, int n, uint32_t a) {
    if constexpr (op == Operation::kCopy) {
        std::memcpy(dst, src, static_cast<std::size_t>(n) * sizeof(uint16_t));
    } else {
        for (int i = 0; i < n; ++i) {
            if constexpr (op == Operation::kInverse) dst[i] = pixel::inverse(src[i], a);
            if constexpr (op == Operation::kMultiply) dst[i] = pixel::multiply(src[i], a);
            if constexpr (op == Operation::kTrail) dst[i] = pixel::trail(src[i], dst[i], a);
        }
    }
}

void apply(Operation op, const uint16_t* src, uint16_t* dst, int n, uint32_t a) {
    switch (op) {
    case Operation::kCopy: applySpan<Operation::kCopy>(src, dst, n, a); break;
    case Operation::kInverse: applySpan<Operation::kInverse>(src, dst, n, a); break;
    case Operation::kMultiply: applySpan<Operation::kMultiply>(src, dst, n, a); break;
    case Operation::kTrail: applySpan<Operation::kTrail>(src, dst, n, a); break;
    case Operation::kNothing: break;
    }
}

// Where picture pixel (x, y) lives: base + y * hy + x * hx (16-bit units).
struct Walk {
    uint16_t* base;
    std::ptrdiff_t hx, hy;
    uint16_t* at(int x, int y) const { return base + y * hy + x * hx; }
};

// Rows lie in memory left to right: each row is one span.
void writeRows(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    for (int y = 0; y < kScreenHeight; ++y) apply(op, src + y * kScreenWidth, w.at(0, y), kScreenWidth, a);
}

// Any other layout in which no two pixels share an address (mirrored rows,
// or columns lying in memory as on a landscape panel): bands of rows are
// worked in a scratch buffer and moved to the display a few pixels of
// neighbouring rows at a time, so the writes stay close together.
void writeBands(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    constexpr int kBand = 16;
    static_assert(kScreenHeight % kBand == 0);
    uint16_t band[kBand * kScreenWidth];
    for (int y0 = 0; y0 < kScreenHeight; y0 += kBand) {
        if (op == Operation::kTrail)
            for (int x = 0; x < kScreenWidth; ++x)
                for (int i = 0; i < kBand; ++i) band[i * kScreenWidth + x] = *w.at(x, y0 + i);
        apply(op, src + y0 * kScreenWidth, band, kBand * kScreenWidth, a);
        for (int x = 0; x < kScreenWidth; ++x)
            for (int i = 0; i < kBand; ++i) *w.at(x, y0 + i) = band[i * kScreenWidth + x];
    }
}

// Pixel by pixel in picture order, for layouts where pixels may share an
// address: the last one written wins and the trail reads what came before.
void writeInOrder(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) apply(op, src + y * kScreenWidth + x, w.at(x, y), 1, a);
}

// True when every picture pixel has an address of its own.
bool distinctAddresses(std::ptrdiff_t hx, std::ptrdiff_t hy) {
    const std::ptrdiff_t ax = hx < 0 ? -hx : hx, ay = hy < 0 ? -hy : hy;
    return (ax >= 1 && ay >= ax * kScreenWidth) || (ay >= 1 && ax >= ay * kScreenHeight);
}

}  // namespace

Blitter::Blitter(Display& surface) : display(surface.properties()), surface_(surface) {}

void Blitter::handleCommand(int32_t time, const std::string& command, const std::string& argument) {
    if (command == "setmode") {
        if (argument == "normal") mode = kBlitNormal;
        else if (argument == "inverse") mode = kBlitInverse;
        else if (argument == "mul") mode = kBlitMul;
        else if (argument == "motionblur") mode = kBlitMotionBlur;
    } else if (command == "setparam") {
        const ParamSettings settings = parseParamString(argument);
        if (settings.param == "control") control.applySettings(settings, time);
    }
}

void Blitter::update(int32_t time) { control.evaluate(time); }

void Blitter::present(const uint16_t* backBuffer) {
    // Inverse is only defined for strengths 0..256.
    const int32_t a = mode == kBlitInverse ? std::clamp(control.current, 0, 256) : control.current;
    const Operation op = operationFor(mode, a);
    uint16_t* base = surface_.beginDraw();
    if (base && op != Operation::kNothing) {
        const Walk walk{base, display.xPitch >> 1, display.yPitch >> 1};
        const auto strength = static_cast<uint32_t>(a);
        if (walk.hx == 1)
            writeRows(walk, op, backBuffer, strength);
        else if (distinctAddresses(walk.hx, walk.hy))
            writeBands(walk, op, backBuffer, strength);
        else
            writeInOrder(walk, op, backBuffer, strength);
    }
    surface_.endDraw();
}
