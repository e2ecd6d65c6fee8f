#include "effects/logoefu.h"

#include "anim/intmath.h"
#include "effects/picture_checks.h"

namespace {
constexpr int kPictureId = 141;
}

void LogoEffect::handleCommand(int32_t time, const std::string& command, const std::string& argument) {
    if (command != "setparam") return;
    const ParamSettings s = parseParamString(argument);
    if (s.param == "pos") pos.applySettings(s, time);
}

bool LogoEffect::load() { return true; }

bool LogoEffect::init() {
    if (initialised) return true;
    if (!picture_.loadJpeg(kPictureId)) return false;
    // The scroll reads rows of exactly 240 pixels and one row below the
    // screen, so a picture narrower or shorter than that would be overrun.
    if (!hasShape(picture_, kPictureWidth, picture_.height, 32) || picture_.height < kScreenHeight + 2) {
        picture_.release();
        return false;
    }
    initialised = true;
    return true;
}

void LogoEffect::deinit() {
    if (!initialised) return;
    initialised = false;
    picture_.release();
}

void LogoEffect::drawScroll(uint16_t* backBuffer, const uint32_t* picture, int32_t height, int32_t pos) {
    const int32_t p = pos & 0xFFFF;
    // 16.16 row number: the bottom 321 rows at p = 0, approaching the top.
    int32_t y = zm::wrapMul(65536 - p, height - 321);
    for (int r = 0; r < kScreenHeight; ++r, y += 65536) {
        const uint32_t e = static_cast<uint32_t>(y) & 0xFFFF, f = 0xFFFF - e;
        const uint32_t* upper = picture + (y >> 16) * kPictureWidth;
        const uint32_t* lower = upper + kPictureWidth;
        uint16_t* out = backBuffer + r * kScreenWidth;
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t u = upper[x], w = lower[x];
            const uint32_t red = ((u >> 16) & 255) * f + ((w >> 16) & 255) * e;
            const uint32_t green = ((u >> 8) & 255) * f + ((w >> 8) & 255) * e;
            const uint32_t blue = (u & 255) * f + (w & 255) * e;
            out[x] = static_cast<uint16_t>((((red >> 16) & 0xF8) << 8) | (((green >> 16) & 0xFC) << 3) | (blue >> 19));
        }
    }
}

void LogoEffect::render(int32_t time, uint16_t* backBuffer) {
    if (!initialised && !init()) return;
    pos.evaluate(time);
    drawScroll(backBuffer, picture_.pixels32(), picture_.height, pos.current);
}
