#include "effects/voxelefu.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "anim/cpu_clones.h"
#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "effects/pixel_blend.h"
#include "render/sine_tables.h"

namespace {

constexpr int kColumns = 160;        // view columns, two screen rows each
constexpr int kFirstDistance = 15;   // the perspective divisor's first value
constexpr int kLastDistance = 299;
constexpr int kSamples = kLastDistance - kFirstDistance + 1;
constexpr int32_t kHighestGround = 230;  // terrain never reaches past this position
constexpr uint32_t kShore = 128;

// Sky colour at e = position - horizon. Below kSkyFirst and above kSkyLast
// every channel is at its clamp, so the table's ends stand for all e.
constexpr int kSkyFirst = -64, kSkyLast = 358;

struct SkyTable {
    uint16_t colour[kSkyLast - kSkyFirst + 1];
    constexpr SkyTable() : colour{} {
        for (int e = kSkyFirst; e <= kSkyLast; ++e) {
            const int32_t green = std::clamp(3 * (210 - e), 128, 255);
            const int32_t blue = std::clamp(3 * (e - 140), 32, 255);
            const int32_t red = std::clamp(390 - e, 32, 255);
            colour[e - kSkyFirst] = rgb565::pack(red, green, blue);
        }
    }
};
constexpr SkyTable kSky;

// (3000 + 32 x depth) / j for depth 0..255 is (numerator x kReciprocal[j]) >> 32
// exactly: with m = ceil(2^32 / j) = (2^32 + e) / j, 0 <= e < j, the error
// term numerator x e / (j 2^32) stays below 1 / j while numerator x e < 2^32,
// and numerator x e < 11160 x 299 here.
struct ReciprocalTable {
    uint64_t of[kLastDistance + 1];
    constexpr ReciprocalTable() : of{} {
        for (int j = 1; j <= kLastDistance; ++j) of[j] = ((uint64_t{1} << 32) + j - 1) / j;
    }
};
constexpr ReciprocalTable kReciprocal;

// A sample position walks in 8.8 texel units and only its low 16 bits count.
// Kept "spread" over 32 bits, with the column's and the row's bits already
// where the tiled index wants them (column bits 0-2 and 6-10, row bits 3-5
// and 11-15, eight fraction bits below each), the index is one OR and a
// shift. Gaps between a coordinate's fields are filled with ones before an
// addition so that carries cross them, and masked off after it.
constexpr uint32_t kColumnMask = 0x0007C7FF, kColumnGaps = 0x00003800;
constexpr uint32_t kRowMask = 0x00F838FF, kRowGaps = 0x0007C700;

constexpr uint32_t spreadColumn(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return (u & 0x7FF) | ((u & 0xF800) << 3);
}
constexpr uint32_t spreadRow(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return (u & 0xFF) | ((u & 0x700) << 3) | ((u & 0xF800) << 8);
}
constexpr uint32_t addSpread(uint32_t a, uint32_t b, uint32_t mask, uint32_t gaps) { return ((a | gaps) + b) & mask; }

// Every pixel mixed towards the picture's with weight take (0..256):
// blend::over is this very mix, its lanes holding for weights up to 256. A
// plain loop that the compiler vectorises; on x86-64 a second copy for AVX2
// is chosen at run time where the processor has it (the same pixels either way).
ZM_AVX2_CLONES
void fadeTowards(uint16_t* backBuffer, const uint32_t* picture, uint32_t take) {
    for (size_t i = 0; i < kScreenPixels; ++i) backBuffer[i] = blend::over(backBuffer[i], picture[i], take);
}

}  // namespace

TrackList VoxelEffect::tracks() { return {{"crossfade", &crossfade}}; }

bool VoxelEffect::load() {
    sine_ = sineTable2048x256();
    cosine_ = cosineTable2048x256();
    return true;
}

bool VoxelEffect::acquire() {
    if (!landscape_.loadTiledWithMask(res::kGroundColour, res::kGroundDepth) || !hasShape(landscape_, 256, 256, 32))
        return false;
    if (!fadePicture_.loadJpeg(res::kLandscapeFade) || !hasShape(fadePicture_, kScreenWidth, kScreenHeight, 32))
        return false;
    return true;
}

void VoxelEffect::release() {
    landscape_.release();
    fadePicture_.release();
}

void VoxelEffect::restoreBuiltState(const TargetState& state) {
    if (const Camera* camera = stateValue<Camera>(&state)) camera_ = *camera;
}

void VoxelEffect::advanceCamera(int32_t time) {
    const double t = time;
    camera_.turn = zm::truncToInt32(std::sin(t * 0.000824) * std::sin(t * 0.000643) * 256.0);
    camera_.heading = zm::wrapAdd(camera_.heading, (camera_.turn >> 4) & 2047);
    // heading + 118 in 2048ths of a turn.
    const double a = (static_cast<double>(camera_.heading) + 118.0) * 2.0 * (2.0 * std::numbers::pi / 4096.0);
    camera_.x = camera_.x + static_cast<float>(std::sin(a)) * static_cast<float>(camera_.speed) * 2.0f;
    camera_.y = camera_.y + static_cast<float>(std::cos(a)) * static_cast<float>(camera_.speed) * 2.0f;
}

void VoxelEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&crossfade});
    if (!camera_.moved || time != camera_.movedAt) advanceCamera(time);
    camera_.moved = true;
    camera_.movedAt = time;
    const View view{camera_.heading, zm::truncToInt32(camera_.x), zm::truncToInt32(camera_.y), camera_.turn};
    // At 256 and beyond the picture covers the landscape entirely.
    if (crossfade.current < 256) drawLandscape(backBuffer, landscape_.pixels32(), sine_.data(), cosine_.data(), view);
    if (crossfade.current != 0) crossFade(backBuffer, fadePicture_.pixels32(), crossfade.current);
}

void VoxelEffect::drawLandscape(uint16_t* backBuffer, const uint32_t* texture, const int32_t* sine,
                                const int32_t* cosine, const View& view) {
    // Per-column horizon in 16.16, tilted by the turn rate.
    int32_t level = zm::wrapShl(zm::wrapNeg(view.turn), 14);
    const int32_t levelStep = zm::wrapShl(view.turn, 15) / kColumns;
    for (int n = 0; n < kColumns; ++n) {
        // Position p of the column is screen column 239 - p of both rows.
        uint16_t* first = backBuffer + (kScreenHeight - 1 - 2 * n) * kScreenWidth + (kScreenWidth - 1);
        uint16_t* second = first - kScreenWidth;
        const int32_t horizon = level >> 16;
        const int32_t direction = zm::wrapAdd(view.heading, 2 * n) & 2047;
        const int32_t stepX = sine[direction], stepY = cosine[direction];
        int32_t mark = 0;
        uint32_t previous = 0;
        uint32_t px = spreadColumn(view.x), py = spreadRow(view.y);
        const uint32_t spreadStepX = spreadColumn(stepX), spreadStepY = spreadRow(stepY);
        for (int k = 0; k < kSamples; ++k) {
            // Texel column (px >> 8) AND 255, row (py >> 8) AND 255.
            uint32_t s = texture[(px | py) >> 8];
            const uint32_t depth = s >> 24;
            uint32_t used = previous;
            if (previous > kShore) {
                // Seen through water: blue becomes ((blue >> 2) - 64) AND 255,
                // that is 192 + blue / 4, and dry ground stands at the shore.
                s = (s & ~0xFFu) | (((s & 0xFF) >> 2) + 192);
                if (depth <= kShore) used = kShore;
            }
            const auto drop = static_cast<int32_t>(((3000 + 32 * used) * kReciprocal.of[k + kFirstDistance]) >> 32);
            const int32_t u = std::min(horizon - drop + 160, kHighestGround);
            if (u > mark) {  // otherwise hidden behind nearer ground
                const uint16_t colour = rgb565::fromXrgb(s);
                for (int32_t p = mark; p < u; ++p) first[-p] = second[-p] = colour;
                mark = u;
            }
            previous = depth;
            px = addSpread(px, spreadStepX, kColumnMask, kColumnGaps);
            py = addSpread(py, spreadStepY, kRowMask, kRowGaps);
        }
        for (int32_t p = mark; p < kScreenWidth; ++p) {
            const int32_t e = std::clamp(p - horizon, kSkyFirst, kSkyLast);
            first[-p] = second[-p] = kSky.colour[e - kSkyFirst];
        }
        level = zm::wrapAdd(level, levelStep);
    }
}

void VoxelEffect::crossFade(uint16_t* backBuffer, const uint32_t* picture, int32_t cf) {
    // A weight outside 0..256 would push channels out of their fields; it is
    // held at the nearer end.
    fadeTowards(backBuffer, picture, static_cast<uint32_t>(std::clamp(cf, 0, 256)));
}
