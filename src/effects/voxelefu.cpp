#include "effects/voxelefu.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "anim/intmath.h"
#include "anim/rgb565.h"
#include "assets/resource_ids.h"
#include "effects/picture_checks.h"
#include "render/sine_tables.h"

namespace {

constexpr int kColumns = 160;        // view columns, two screen rows each
constexpr int kFirstDistance = 15;   // the perspective divisor's first value
constexpr int kLastDistance = 299;
constexpr int32_t kHighestGround = 230;  // terrain never reaches past this position
constexpr int32_t kShore = 128;

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

}  // namespace

TrackList VoxelEffect::tracks() { return {{"crossfade", &crossfade}}; }

bool VoxelEffect::load() {
    sine_ = sineTable2048x256();
    cosine_ = cosineTable2048x256();
    return true;
}

bool VoxelEffect::init() {
    if (initialised) return true;
    if (!landscape_.loadTiledWithMask(res::kGroundColour, res::kGroundDepth) || !hasShape(landscape_, 256, 256, 32))
        return false;
    if (!fadePicture_.loadJpeg(res::kLandscapeFade) || !hasShape(fadePicture_, kScreenWidth, kScreenHeight, 32))
        return false;
    initialised = true;
    return true;
}

void VoxelEffect::deinit() {
    if (!initialised) return;
    initialised = false;
    landscape_.release();
    fadePicture_.release();
}

void VoxelEffect::advanceCamera(int32_t time) {
    const double t = time;
    turn_ = zm::truncToInt32(std::sin(t * 0.000824) * std::sin(t * 0.000643) * 256.0);
    heading_ = zm::wrapAdd(heading_, (turn_ >> 4) & 2047);
    // heading + 118 in 2048ths of a turn.
    const double a = (static_cast<double>(heading_) + 118.0) * 2.0 * (2.0 * std::numbers::pi / 4096.0);
    x_ = x_ + static_cast<float>(std::sin(a)) * static_cast<float>(speed_) * 2.0f;
    y_ = y_ + static_cast<float>(std::cos(a)) * static_cast<float>(speed_) * 2.0f;
}

void VoxelEffect::draw(int32_t time, uint16_t* backBuffer) {
    crossfade.evaluate(time);
    if (!moved_ || time != movedAt_) advanceCamera(time);
    moved_ = true;
    movedAt_ = time;
    const View view{heading_, zm::truncToInt32(x_), zm::truncToInt32(y_), turn_};
    drawLandscape(backBuffer, landscape_.pixels32(), sine_.data(), cosine_.data(), view);
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
        int32_t mark = 0, previous = 0;
        int32_t px = view.x, py = view.y;
        for (int32_t j = kFirstDistance; j <= kLastDistance; ++j) {
            uint32_t s = texture[tiledIndex((px >> 8) & 255, (py >> 8) & 255)];
            const int32_t depth = static_cast<int32_t>(s >> 24);
            int32_t used = previous;
            if (previous > kShore) {
                // Seen through water: blue becomes 192 + blue / 4.
                s = (s & ~0xFFu) | ((((s & 0xFF) >> 2) - 64) & 0xFF);
                if (depth <= kShore) used = kShore;
            }
            int32_t u = horizon - (3000 + 32 * used) / j + 160;
            if (u > kHighestGround) u = kHighestGround;
            if (u > mark) {
                const uint16_t colour = rgb565::fromXrgb(s);
                for (int32_t p = mark; p < u; ++p) first[-p] = second[-p] = colour;
                mark = u;
            }
            previous = depth;
            px = zm::wrapAdd(px, stepX);
            py = zm::wrapAdd(py, stepY);
        }
        for (int32_t p = mark; p < kScreenWidth; ++p) {
            const int32_t e = std::clamp(p - horizon, kSkyFirst, kSkyLast);
            first[-p] = second[-p] = kSky.colour[e - kSkyFirst];
        }
        level = zm::wrapAdd(level, levelStep);
    }
}

void VoxelEffect::crossFade(uint16_t* backBuffer, const uint32_t* picture, int32_t cf) {
    const uint32_t keep = static_cast<uint32_t>(256 - cf), take = static_cast<uint32_t>(cf);
    for (size_t i = 0; i < kScreenPixels; ++i) {
        const uint32_t f = picture[i], b = backBuffer[i];
        const uint32_t r = (((f >> 16) & 0xFF) * take + rgb565::red8(b) * keep) >> 8;
        const uint32_t g = (((f >> 8) & 0xFF) * take + rgb565::green8(b) * keep) >> 8;
        const uint32_t bl = ((f & 0xFF) * take + rgb565::blue8(b) * keep) >> 8;
        backBuffer[i] = rgb565::pack(r, g, bl);
    }
}
