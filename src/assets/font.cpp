#include "assets/font.h"

#include <algorithm>
#include <cstring>

#include "anim/rgb565.h"
#include "anim/screen_size.h"
#include "assets/resource_ids.h"

namespace {

constexpr int kStripWidth = 1264;
constexpr int kStripHeight = 32;

Image brightnessImage;
Image coverageImage;

bool hasStripLayout(const Image& image) {
    return image.pixels != nullptr && image.bitsPerPixel == 8 && image.width >= kStripWidth &&
           image.height >= kStripHeight;
}

// Both pictures loaded with the strip's layout and one stride: otherwise
// drawing would read outside them.
bool fontReady() {
    return hasStripLayout(brightnessImage) && hasStripLayout(coverageImage) &&
           coverageImage.width == brightnessImage.width;
}

}  // namespace

uint16_t blendTextPixel(uint16_t destination, int brightness, int coverage) {
    const int r = rgb565::red8(destination), g = rgb565::green8(destination), b = rgb565::blue8(destination);
    const int ink = brightness * coverage, keep = 256 - coverage;
    const int r2 = (ink + r * keep) >> 8;
    const int g2 = (ink + g * keep) >> 8;
    const int b2 = (ink + b * keep) >> 8;
    return rgb565::pack(r2, g2, b2);
}

bool loadFont() {
    if (!brightnessImage.loadJpeg(res::kFontBrightness) || !coverageImage.loadJpeg(res::kFontCoverage)) return false;
    return fontReady();
}

bool loadFont(Image::Bytes brightnessJpeg, Image::Bytes coverageJpeg) {
    if (!brightnessImage.loadJpeg(brightnessJpeg) || !coverageImage.loadJpeg(coverageJpeg)) return false;
    return fontReady();
}

void releaseFont() {
    brightnessImage.release();
    coverageImage.release();
}

const Image& fontBrightness() { return brightnessImage; }
const Image& fontCoverage() { return coverageImage; }

int glyphWidth(unsigned char ch) {
    if (ch == ' ') return 20;
    if (ch == 'I' || ch == 'i' || ch == ',' || ch == '.' || ch == ':' || ch == '"') return 16;
    return 32;
}

int glyphOffset(unsigned char ch) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<unsigned char>(ch - 'a' + 'A');
    if (ch >= 'A' && ch <= 'I') return 32 + (ch - 'A') * 32;
    if (ch >= 'J' && ch <= 'Z') return 304 + (ch - 'J') * 32;  // after the narrow I
    if (ch >= '0' && ch <= '9') return 848 + (ch - '0') * 32;
    switch (ch) {
        case '/': return 1168;
        case ',': return 1200;
        case '.': return 1216;
        case ':': return 1232;
        case '"': return 1248;
        default: return 0;  // space and anything else: the blank columns
    }
}

void drawText(uint16_t* backBuffer, int x, int y, const char* text, int maxChars) {
    if (!fontReady()) return;
    // Positions come from script tracks and may be anything: far outside the
    // screen the text is out of sight either way, and the sums below must
    // not overflow.
    constexpr int kFar = 1 << 24;
    x = std::clamp(x, -kFar, kFar);
    y = std::clamp(y, -kFar, kFar);
    const int n = static_cast<int>(std::strlen(text));
    int totalWidth = 0;
    for (int k = 0; k < n; ++k) totalWidth += glyphWidth(static_cast<unsigned char>(text[k]));
    const int count = (maxChars == -1 || maxChars > n) ? n : maxChars;
    // Placed by the whole string, so a growing count types it out in place.
    int s = x - (((totalWidth >> 1) - 2 * n + 2) >> 1);
    const int stride = brightnessImage.width;
    for (int k = 0; k < count; ++k) {
        const auto ch = static_cast<unsigned char>(text[k]);
        const int drawnWidth = glyphWidth(ch) >> 1;
        const int offset = glyphOffset(ch);
        for (int t = 0; t < 16; ++t) {
            const int column = y - 8 + t;
            if (column < 0 || column >= kScreenWidth) continue;
            const size_t fontRow = static_cast<size_t>(2 * t) * stride;
            for (int i = 0; i < drawnWidth; ++i) {
                const int p = s + i;
                if (p < 0 || p >= kScreenHeight) continue;
                const size_t at = fontRow + offset + 2 * i;
                uint16_t& d = backBuffer[(kScreenHeight - 1 - p) * kScreenWidth + column];
                d = blendTextPixel(d, brightnessImage.pixels[at], coverageImage.pixels[at]);
            }
        }
        s += drawnWidth - 2;  // each glyph overlaps the previous by 2 pixels
    }
}
