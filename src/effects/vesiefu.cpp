#include "effects/vesiefu.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "anim/intmath.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/fixed_matrix.h"

using zm::truncToInt32;
using zm::wrapAdd;
using zm::wrapMul;
using zm::wrapSub;

namespace {

constexpr int kMargin = 960;
constexpr int kFieldA = kMargin;
constexpr int kFieldB = kFieldA + WaterEffect::kFieldCells + 2 * kMargin;
constexpr int kBlockCells = kFieldB + WaterEffect::kFieldCells + kMargin;
static_assert(kBlockCells * 4 == 168960 && kFieldA * 4 == 3840 && kFieldB * 4 == 88320);

constexpr float kRingScale = 40.1f;
constexpr int32_t kSlopeLimit = 64;

}  // namespace

TrackList WaterEffect::tracks() { return {{"distance", &distance}, {"speed", &speed}}; }

bool WaterEffect::acquire() {
    // A fresh zeroed block replaces (and frees) one left by a failed attempt.
    block_.assign(kBlockCells, 0);
    current_ = block_.data() + kFieldA;
    previous_ = block_.data() + kFieldB;
    if (!water_.loadJpeg16(res::kWaterBed) || !hasShape(water_, 256, 256, 16)) return false;
    if (!ringMap_.loadTiled16(res::kRingObjectMap) || !hasShape(ringMap_, 256, 256, 16)) return false;
    if (!ring_.loadMesh(res::kWaterObject, kRingScale)) return false;
    return true;
}

void WaterEffect::release() {
    block_ = {};
    current_ = previous_ = nullptr;
    water_.release();
    ringMap_.release();
    ring_.release();
}

namespace {

struct SavedWater {
    int32_t xAngle, yAngle, zAngle, previousTime;
    std::vector<int32_t> block;  // empty while not initialised
    bool currentIsA;
};

}  // namespace

std::unique_ptr<TargetState> WaterEffect::saveBuiltState() const {
    return copyState(SavedWater{xAngle, yAngle, zAngle, previousTime, block_, current_ == block_.data() + kFieldA});
}

void WaterEffect::restoreBuiltState(const TargetState& state) {
    const SavedWater* saved = stateValue<SavedWater>(&state);
    if (!saved) return;
    xAngle = saved->xAngle;
    yAngle = saved->yAngle;
    zAngle = saved->zAngle;
    previousTime = saved->previousTime;
    if (saved->block.size() != block_.size()) return;  // the flag was matched first: both hold one or neither
    block_ = saved->block;
    if (block_.empty()) return;
    current_ = block_.data() + (saved->currentIsA ? kFieldA : kFieldB);
    previous_ = block_.data() + (saved->currentIsA ? kFieldB : kFieldA);
}

void WaterEffect::rippleAndDraw(uint16_t* backBuffer, const int32_t* current, int32_t* previous,
                                const uint16_t* water) {
    int i = 0;
    for (int32_t j = 0; j < kCellRows; ++j) {
        uint16_t* top = backBuffer + 2 * j * 2 * kCellColumns;
        uint16_t* bottom = top + 2 * kCellColumns;
        for (int32_t k = 0; k < kCellColumns; ++k, ++i) {
            // The left and right neighbours run on into the adjacent rows.
            const int32_t around = wrapAdd(wrapAdd(current[i - kCellColumns], current[i + kCellColumns]),
                                           wrapAdd(current[i + 1], current[i - 1]));
            int32_t h = wrapSub(around >> 1, previous[i]);
            h = wrapSub(h, h >> 4);  // damping by a sixteenth
            previous[i] = h;
            const int32_t sy = std::clamp(wrapSub(h, current[i + 2 * kCellColumns]) >> 4, -kSlopeLimit, kSlopeLimit);
            const int32_t sx = std::clamp(wrapSub(h, current[i + 2]) >> 4, -kSlopeLimit, kSlopeLimit);
            const int32_t u = (k + sy) & 255, v = (j + sx) & 255;
            const int32_t un = (u + 1) & 255, vn = (v + 1) & 255;
            const uint16_t* row = water + v * 256;
            const uint16_t* nextRow = water + vn * 256;
            top[2 * k] = row[u];
            top[2 * k + 1] = row[un];
            bottom[2 * k] = nextRow[u];
            bottom[2 * k + 1] = nextRow[un];
        }
    }
}

void WaterEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&distance, &speed});

    const int32_t d = wrapMul(wrapSub(time, previousTime), speed.current);
    previousTime = time;
    zAngle = wrapAdd(zAngle, wrapMul(d, 4) >> 8);
    xAngle = wrapAdd(xAngle, wrapMul(d, 15) >> 8);
    yAngle = wrapAdd(yAngle, wrapMul(d, 7) >> 8);

    const double t = time;
    FixedMatrix m;
    setIdentity(m);
    translate(m, truncToInt32(std::sin(t * 0.0004367) * 100.0 * 256.0),
              truncToInt32(std::sin(t * 0.0003577) * 100.0 * 256.0),
              wrapSub(distance.current, truncToInt32((std::sin(t * 0.0006649) * 50.0 + 450.0) * -256.0)));
    rotate(m, zAngle, 'z');
    rotate(m, xAngle, 'x');
    rotate(m, yAngle, 'y');

    ring_.setMatrix(m);
    ring_.texture = ringMap_.pixels16();
    ring_.transform();
    ring_.drawCoverage(current_, kWaterDepth);
    rippleAndDraw(backBuffer, current_, previous_, water_.pixels16());
    std::swap(current_, previous_);
    ring_.drawDepthSplit(backBuffer, kWaterDepth);
}
