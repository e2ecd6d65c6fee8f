#include "effects/spriteefu.h"

#include "anim/intmath.h"
#include "assets/font.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/grid_tables.h"
#include "render/sine_tables.h"

using zm::wrapAdd;
using zm::wrapMul;

namespace {

// A fixed phase, so the first frame does not start at the curves' origin.
constexpr int32_t kPhase = 54892;

}  // namespace

const std::array<std::array<TypewriterEffect::TextLine, TypewriterEffect::kLines>, 2> TypewriterEffect::kTextSets = {{
    {{{120, 40, "Lorem ipsum dolor"},
      {166, 64, "sit amet, consectetuer"},
      {126, 88, "adipiscing elit."},
      {170, 148, "sed diam nonummy nibh"},
      {150, 172, "euismod tincidunt ut"},
      {150, 196, "laoreet dolore magna.."}}},
    {{{120, 40, "Duis autem, vel"},
      {170, 64, "eum iriure dolor esse"},
      {148, 88, "Hendrerit velit."},
      {140, 148, "vel illum dolore vero"},
      {160, 172, "feugiat nulla facilisis"},
      {160, 196, "eros praesent accumsan."}}},
}};

TrackList TypewriterEffect::tracks() {
    return {{"mode", &mode}, {"len1", &len1}, {"len2", &len2}, {"len3", &len3},
            {"len4", &len4}, {"len5", &len5}, {"len6", &len6}, {"pump", &pump}};
}

bool TypewriterEffect::load() {
    sine_ = sineTable1023();
    return true;
}

bool TypewriterEffect::acquire() {
    if (!textures_[0].loadTiled16(res::kWarpTexture0) || !hasShape(textures_[0], 256, 256, 16)) return false;
    if (!textures_[1].loadTiled16(res::kWarpTexture1) || !hasShape(textures_[1], 256, 256, 16)) return false;
    return true;
}

void TypewriterEffect::release() {
    textures_[0].release();
    textures_[1].release();
}

void TypewriterEffect::warpTwirl(int32_t time) {
    const int32_t a = wrapAdd(time, kPhase);
    const int32_t p2 = wrapMul(a, 14) >> 6, p3 = wrapMul(a, 5) >> 5, p4 = wrapMul(a, 10) >> 6;
    const int32_t y0 = wrapMul(sine(wrapMul(a, 35) >> 8), 1 << 20);
    const int32_t x0 = wrapMul(sine(wrapMul(a, 15) >> 8), 1 << 20);
    int i = 0;
    for (int32_t j = -20; j <= 20; ++j) {
        for (int32_t k = -15; k <= 15; ++k, ++i) {
            const int32_t radius = gridRadius[i];
            // Zoom pulses with distance; the twist turns by distance and time.
            const int32_t zoom = (sine(((radius * 17) >> 7) - 512) + 3072) * 10;
            const int32_t twist = (sine(p3 + ((radius * 25) >> 8)) >> 3) + (sine(p2 + ((radius * 15) >> 8)) >> 4) + p4;
            const int32_t sn = sine(twist) * zoom, cs = sine(twist - 256) * zoom;
            grid_.setTurned(i, cs, sn, k, j, x0, y0, 2);
        }
    }
}

void TypewriterEffect::warpSwirl(int32_t time, int32_t pumpValue) {
    const int32_t a = wrapAdd(time, kPhase);
    const int32_t q1 = wrapMul(a, 11) >> 6, q2 = wrapMul(a, 4) >> 5;
    const int32_t drift = wrapMul(a, 147456);
    int i = 0;
    for (int32_t j = -20; j <= 20; ++j) {
        for (int32_t k = -15; k <= 15; ++k, ++i) {
            const int32_t rg = ((j * j + 200) * gridRadius[i]) >> 9;
            // Depth 1280..2559, never zero: the divisions below are safe.
            const int32_t dz = ((sine(wrapAdd(pumpValue, (rg * 17) >> 7)) + 3072) * 10) >> 4;
            const int32_t w = (k * (1 << 25)) / dz, h = (j * (1 << 25)) / dz;
            const int32_t twist = (sine(q2 + ((rg * -17) >> 8)) >> 5) + (sine(q1 + ((rg * -11) >> 8)) >> 5);
            const int32_t sn = sine(twist), cs = sine(twist - 256);
            grid_.setTurned(i, cs, sn, w, h, drift, 0, 4);
        }
    }
}

void TypewriterEffect::draw(int32_t time, uint16_t* backBuffer) {
    ParamTrack* counts[kLines] = {&len1, &len2, &len3, &len4, &len5, &len6};
    evaluateTracks(time, {&mode, &len1, &len2, &len3, &len4, &len5, &len6, &pump});

    // Only the two modes have a texture and text; any other draws nothing.
    const int32_t selected = mode.current;
    if (selected == 0) warpTwirl(time);
    else if (selected == 1) warpSwirl(time, pump.current);
    else return;
    grid_.draw(backBuffer, textures_[selected].pixels16());
    for (int line = 0; line < kLines; ++line) {
        const TextLine& text = kTextSets[selected][line];
        drawText(backBuffer, text.centre, text.across, text.text, counts[line]->current);
    }
}
