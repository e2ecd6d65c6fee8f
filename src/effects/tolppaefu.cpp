#include "effects/tolppaefu.h"

#include "anim/intmath.h"
#include "assets/font.h"
#include "assets/resource_ids.h"
#include "effects/evaluate_tracks.h"
#include "effects/picture_checks.h"
#include "render/row_blend.h"
#include "render/sine_tables.h"

using zm::wrapAdd;
using zm::wrapSub;

// Ten spaces lead the text in from the bottom of the screen; the tabs (blank
// glyphs 32 pixels wide) and spaces at the end leave a gap before it repeats.
const char PoleEffect::kGreetings[] =
    "          Greetings to: Quorvan Tek, Zelmar, Orvindo, Vexilmondars, Throvin, Pemberyx, Kalderon.."
    "\t\t\t\t\t\t\t\t\t   ";

void TextStrips::fill(const char* text, int32_t phase, const uint8_t* fontBrightness, const uint8_t* fontCoverage,
                      int32_t fontStride) {
    // Pass over the characters that have scrolled off the bottom. A phase
    // that jumps further than a screen in one frame can carry the walk over
    // the end of the text: it starts again from the first character there,
    // as the filling below does, instead of reading past the terminator.
    // A phase more than a whole turn of the text ahead (a script may set any
    // value) skips whole turns at once, each of which brings the walk back
    // to the same character; the walk then passes less than one turn.
    int32_t turn = 0;
    for (int32_t i = 0; i < 256 && text[i] != 0; ++i) turn += glyphWidth(static_cast<unsigned char>(text[i]));
    if (turn <= 0) return;
    const int64_t ahead = int64_t{phase} - passedWidth;
    if (ahead > turn) passedWidth = static_cast<int32_t>(passedWidth + (ahead - 1) / turn * turn);
    for (;;) {
        const unsigned char ch = static_cast<unsigned char>(text[index & 255]);
        if (ch == 0) {
            if (index == 0) return;  // empty text
            index = 0;
            continue;
        }
        const int32_t w = glyphWidth(ch);
        if (phase <= int64_t{passedWidth} + w) break;
        passedWidth += w;  // below phase: no overflow
        ++index;
    }
    // Where the first visible character starts: at most one glyph below the
    // bottom line, or above the top when phase went back (nothing to fill).
    const int64_t start = int64_t{passedWidth} - phase;
    if (start >= kLines) return;
    int32_t b = static_cast<int32_t>(start);
    for (int32_t i = index; b < kLines; ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[i & 255]);
        if (ch == 0) {
            // Only the index restarts: the text follows on seamlessly from
            // where it ended, on the next frame.
            index = 0;
            return;
        }
        int32_t w = glyphWidth(ch), o = glyphOffset(ch), first = 319 - b;
        if (b < 0) {  // partly below the bottom line: skip its first columns
            w += b;
            o -= b;
            first = 319;
        }
        if (b > kLines - w) w = kLines - b;  // partly beyond line 0
        for (int32_t k = 0; k < kBytes && w > 0; ++k) {
            const uint8_t* br = fontBrightness + k * fontStride + o;
            const uint8_t* cov = fontCoverage + k * fontStride + o;
            for (int32_t n = 0; n < w; ++n) {
                brightness[(first - n) * kBytes + k] = br[n];
                coverage[(first - n) * kBytes + k] = cov[n];
            }
        }
        b += glyphWidth(ch);
    }
}

TrackList PoleEffect::tracks() { return {{"phase", &phase}}; }

bool PoleEffect::load() {
    sine_ = sineTable1023();
    return true;
}

bool PoleEffect::acquire() {
    if (!skin_.loadJpeg(res::kPoleSkin) || !hasShape(skin_, kSkinWidth, kSkinHeight, 32)) return false;
    if (!backdrop_.loadJpeg(res::kPoleBackdrop) || !hasShape(backdrop_, kScreenWidth, kScreenHeight, 32))
        return false;
    strips_.index = 0;
    strips_.passedWidth = 0;
    return true;
}

void PoleEffect::release() {
    skin_.release();
    backdrop_.release();
}

void PoleEffect::restoreBuiltState(const TargetState& state) {
    if (const TextStrips* strips = stateValue<TextStrips>(&state)) strips_ = *strips;
}

void PoleEffect::drawFace(uint16_t* out, int32_t n, const uint32_t* texels, const uint8_t* brightness,
                          const uint8_t* coverage) {
    if (n <= 0) return;
    const int32_t step = 8192 / n, light = 4 * n;  // 8.8 texels per pixel; 64 pixels is full brightness
    for (int32_t i = 0, u = 0; i < n; ++i, u += step) {
        const int32_t t = u >> 8;
        const uint32_t s = texels[t];
        const int32_t cov = coverage[t], keep = 255 - cov, ink = brightness[t] * cov;
        const int32_t r = ((static_cast<int32_t>((s >> 16) & 255) * keep + ink) * light) >> 16;
        const int32_t g = ((static_cast<int32_t>((s >> 8) & 255) * keep + ink) * light) >> 16;
        const int32_t b = ((static_cast<int32_t>(s & 255) * keep + ink) * light) >> 16;
        // Channels above 255 (faces wider than 64 pixels) are packed as they
        // are: red loses its ninth bit, blue spills into green.
        out[i] = static_cast<uint16_t>(((r & ~7) << 8) | ((g & 0xFC) << 3) | (b >> 3));
    }
}

void PoleEffect::drawPole(uint16_t* backBuffer, int32_t time, int32_t phase) const {
    const int32_t t = time, nt = zm::wrapNeg(time);
    const uint32_t* skin = skin_.pixels32();
    for (int32_t j = 0; j < kScreenHeight; ++j) {
        const int32_t sway = (sine((nt >> 1) - 2 * j) - sine((nt >> 2) - 4 * j)) >> 5;
        const int32_t twist = sine((t >> 5) + j) - sine((nt >> 4) + j) + sine((t >> 3) + (j >> 1));
        const int32_t half = (sine(twist - 256) + 1023) >> 7;  // 0..15
        const int32_t left = sway - half + 88;
        const int32_t middle = sway + (sine(((twist >> 1) & 511) - 256) >> 5) + 120;
        const int32_t right = sway + half + 152;
        const uint32_t* texels = skin + (wrapSub(j, phase) & 255) * kSkinWidth;
        const uint8_t* brightness = strips_.brightness.data() + j * TextStrips::kBytes;
        const uint8_t* coverage = strips_.coverage.data() + j * TextStrips::kBytes;
        uint16_t* row = backBuffer + j * kScreenWidth;
        drawFace(row + left, middle - left, texels, brightness, coverage);
        drawFace(row + middle, right - middle, texels, brightness, coverage);
    }
}

void PoleEffect::draw(int32_t time, uint16_t* backBuffer) {
    evaluateTracks(time, {&phase});
    const int32_t p = phase.current;

    // The backdrop breathes: 255 to 315 of its rows fill the screen.
    drawStretched(backBuffer, backdrop_.pixels32(), breathingRows(time, 0.00145, 30.0, 285.0));

    const Image& brightness = fontBrightness();
    const Image& coverage = fontCoverage();
    if (brightness.pixels && coverage.pixels)
        strips_.fill(kGreetings, p, brightness.pixels, coverage.pixels, brightness.width);
    drawPole(backBuffer, time, p);
}
