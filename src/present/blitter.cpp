#include "present/blitter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "engine/back_buffer.h"
#include "present/pixel_ops.h"
#include "present/transpose.h"

namespace {

// What one frame does to each pixel, settled before the pixel loop.
// Multiplying takes 16-bit lanes for strengths below 65536, and needs no
// saturation below 256.
enum class Operation { kNothing, kCopy, kInverse, kDarken, kMultiply, kMultiplyWide, kTrail };

Operation operationFor(int32_t mode, int32_t a) {
    switch (mode) {
    case kBlitNormal: return Operation::kCopy;
    case kBlitInverse: return a <= 0 ? Operation::kCopy : Operation::kInverse;
    case kBlitMul:
        if (a == 0) return Operation::kNothing;
        if (a == 256) return Operation::kCopy;
        if (a > 0 && a < 256) return Operation::kDarken;
        return a > 0 && a < 65536 ? Operation::kMultiply : Operation::kMultiplyWide;
    case kBlitMotionBlur: return a >= 256 ? Operation::kNothing : a <= 0 ? Operation::kCopy : Operation::kTrail;
    default: return Operation::kNothing;
    }
}

// Applies op to one row: src is the new frame's row, dst holds the shown
// pixels (read by the trail) and receives the result. Plain loops of a fixed
// length, which the compiler turns into vector code.
template <Operation op>
void applyRow(const uint16_t* __restrict src, uint16_t* __restrict dst, uint32_t a) {
    if constexpr (op == Operation::kCopy) {
        std::memcpy(dst, src, kScreenWidth * sizeof(uint16_t));
    } else {
        const auto a16 = static_cast<uint16_t>(a), high = static_cast<uint16_t>(a >> 8),
                   low = static_cast<uint16_t>(a & 255);
        for (int i = 0; i < kScreenWidth; ++i) {
            if constexpr (op == Operation::kInverse) dst[i] = pixel::inverse(src[i], a16);
            if constexpr (op == Operation::kDarken) dst[i] = pixel::darken(src[i], a16);
            if constexpr (op == Operation::kMultiply) dst[i] = pixel::multiply(src[i], high, low);
            if constexpr (op == Operation::kMultiplyWide) dst[i] = pixel::multiplyWide(src[i], a);
            if constexpr (op == Operation::kTrail) dst[i] = pixel::trail(src[i], dst[i], a16);
        }
    }
}

void applyRow(Operation op, const uint16_t* src, uint16_t* dst, uint32_t a) {
    switch (op) {
    case Operation::kCopy: applyRow<Operation::kCopy>(src, dst, a); break;
    case Operation::kInverse: applyRow<Operation::kInverse>(src, dst, a); break;
    case Operation::kDarken: applyRow<Operation::kDarken>(src, dst, a); break;
    case Operation::kMultiply: applyRow<Operation::kMultiply>(src, dst, a); break;
    case Operation::kMultiplyWide: applyRow<Operation::kMultiplyWide>(src, dst, a); break;
    case Operation::kTrail: applyRow<Operation::kTrail>(src, dst, a); break;
    case Operation::kNothing: break;
    }
}

// The same for a single pixel s over the shown pixel d.
uint16_t applyPixel(Operation op, uint16_t s, uint16_t d, uint32_t a) {
    switch (op) {
    case Operation::kCopy: return s;
    case Operation::kInverse: return pixel::inverse(s, static_cast<uint16_t>(a));
    case Operation::kDarken: return pixel::darken(s, static_cast<uint16_t>(a));
    case Operation::kMultiply: return pixel::multiply(s, static_cast<uint16_t>(a >> 8), static_cast<uint16_t>(a & 255));
    case Operation::kMultiplyWide: return pixel::multiplyWide(s, a);
    case Operation::kTrail: return pixel::trail(s, d, static_cast<uint16_t>(a));
    case Operation::kNothing: break;
    }
    return d;
}

// Where picture pixel (x, y) lives: base + y * hy + x * hx (16-bit units).
struct Walk {
    uint16_t* base;
    std::ptrdiff_t hx, hy;
    uint16_t* at(int x, int y) const { return base + y * hy + x * hx; }
};

// Rows lie in memory left to right: each row is one span.
void writeRows(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    for (int y = 0; y < kScreenHeight; ++y) applyRow(op, src + y * kScreenWidth, w.at(0, y), a);
}

// Bands of picture rows, worked in a scratch buffer for layouts whose rows
// do not lie left to right in memory.
constexpr int kBand = 16;
static_assert(kScreenHeight % kBand == 0);
using Band = uint16_t[kBand * kScreenWidth];

// Moves a band between the scratch buffer and the display.
//
// Step is the row pitch hy when it is +1 or -1 (a panel whose columns lie in
// memory, as on a landscape display): a picture column's pixels are then
// neighbours in memory, and the band moves as transposed 8x8 blocks. For
// step -1 the block's rows are taken bottom-up, so each column comes out in
// address order. Step 0 takes any pitch, one pixel at a time.
template <int step, bool toDisplay>
void moveBand(const Walk& w, int y0, std::conditional_t<toDisplay, const uint16_t*, uint16_t*> band) {
    if constexpr (step == 0) {
        for (int x = 0; x < kScreenWidth; ++x)
            for (int i = 0; i < kBand; ++i) {
                uint16_t* shown = w.at(x, y0 + i);
                if constexpr (toDisplay) *shown = band[i * kScreenWidth + x];
                else band[i * kScreenWidth + x] = *shown;
            }
    } else {
        constexpr int first = step > 0 ? 0 : 7;  // band row that goes to the lowest address
        constexpr std::ptrdiff_t bandStride = step > 0 ? kScreenWidth : -kScreenWidth;
        for (int i0 = 0; i0 < kBand; i0 += 8)
            for (int x0 = 0; x0 < kScreenWidth; x0 += 8) {
                auto worked = band + (i0 + first) * kScreenWidth + x0;
                uint16_t* shown = w.at(x0, y0 + i0 + first);
                if constexpr (toDisplay) pixel::transpose8x8(worked, bandStride, shown, w.hx);
                else pixel::transpose8x8(shown, w.hx, worked, bandStride);
            }
    }
}

template <int step>
void writeBandsWithStep(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    Band band;
    for (int y0 = 0; y0 < kScreenHeight; y0 += kBand) {
        const uint16_t* rows = src + y0 * kScreenWidth;
        if (op == Operation::kCopy) {  // straight from the back buffer
            moveBand<step, true>(w, y0, rows);
            continue;
        }
        if (op == Operation::kTrail) moveBand<step, false>(w, y0, band);
        for (int i = 0; i < kBand; ++i) applyRow(op, rows + i * kScreenWidth, band + i * kScreenWidth, a);
        moveBand<step, true>(w, y0, band);
    }
}

// Any other layout in which no two pixels share an address (columns lying
// in memory as on a landscape panel, mirrored rows): each band is worked in
// the scratch buffer and then moved out a column at a time, so the writes
// stay close together.
void writeBands(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    if (w.hy == 1)
        writeBandsWithStep<1>(w, op, src, a);
    else if (w.hy == -1)
        writeBandsWithStep<-1>(w, op, src, a);
    else
        writeBandsWithStep<0>(w, op, src, a);
}

// Pixel by pixel in picture order, for layouts where pixels may share an
// address: the last one written wins and the trail reads what came before.
void writeInOrder(const Walk& w, Operation op, const uint16_t* src, uint32_t a) {
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            uint16_t* d = w.at(x, y);
            *d = applyPixel(op, src[y * kScreenWidth + x], *d, a);
        }
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
        for (int32_t word = kBlitNormal; word <= kBlitMotionBlur; ++word)
            if (argument == kBlitModeWords[word]) mode = word;
    } else {
        applySetParam(tracks(), time, command, argument);
    }
}

TrackList Blitter::tracks() { return {{kBlitterTrack, &control}}; }

namespace {

struct SavedBlitter {
    ParamTrack control;
    int32_t mode = kBlitNormal;
};

}  // namespace

std::unique_ptr<TargetState> Blitter::saveState() { return copyState(SavedBlitter{control, mode}); }

bool Blitter::restoreState(const TargetState* state) {
    const SavedBlitter* saved = stateValue<SavedBlitter>(state);
    if (!saved) return false;
    control = saved->control;
    mode = saved->mode;
    return true;
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
