#include "song_picture.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace songcheck {
namespace {

constexpr int kLabelHeight = 9;
constexpr int kSpectrumHeight = 256;
constexpr int kWaveHeight = 128;

struct Rgb {
    uint8_t r, g, b;
};

void put(Picture& p, int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
    uint8_t* px = &p.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3];
    px[0] = c.r;
    px[1] = c.g;
    px[2] = c.b;
}

// dB (-90 .. 0) to a black-blue-magenta-orange-white ramp.
Rgb heat(double db) {
    const double t = std::clamp((db + 90.0) / 90.0, 0.0, 1.0);
    static const double stops[][3] = {{0, 0, 0}, {20, 20, 110}, {140, 30, 150}, {240, 120, 30}, {255, 250, 200}};
    const double x = t * 4.0;
    const int i = std::min(3, static_cast<int>(x));
    const double f = x - i;
    auto mix = [&](int k) { return static_cast<uint8_t>(stops[i][k] + (stops[i + 1][k] - stops[i][k]) * f); };
    return {mix(0), mix(1), mix(2)};
}

// Digits of a 3 x 5 pixel font, one row of three bits per entry, top first.
void drawNumber(Picture& p, int x, int y, int value, Rgb c) {
    static const uint8_t glyphs[10][5] = {{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7},
                                          {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2},
                                          {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};
    for (char ch : std::to_string(value)) {
        const auto& g = glyphs[ch - '0'];
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (g[row] & (4 >> col)) put(p, x + col, y + row, c);
            }
        }
        x += 4;
    }
}

}  // namespace

Picture drawSong(const Stereo& song, const SongMarks& marks, int pixelsPerSecond) {
    Picture p;
    p.width = std::max(1, static_cast<int>(song.frames() * pixelsPerSecond / song.rate));
    p.height = kLabelHeight + kSpectrumHeight + kWaveHeight;
    p.rgb.assign(static_cast<std::size_t>(p.width) * p.height * 3, 0);

    const auto spectrum = spectrogram(song, p.width, kSpectrumHeight, 30.0, 18000.0);
    for (int x = 0; x < p.width; ++x) {
        for (int b = 0; b < kSpectrumHeight; ++b) {
            put(p, x, kLabelHeight + kSpectrumHeight - 1 - b, heat(spectrum[static_cast<std::size_t>(x)][static_cast<std::size_t>(b)]));
        }
        // Level envelope: peak in grey, RMS in green, on a dB scale down to -60.
        const std::size_t first = song.frames() * x / p.width, end = song.frames() * (x + 1) / p.width;
        double top = 0.0;
        for (std::size_t i = 2 * first; i < 2 * end; ++i) top = std::max(top, static_cast<double>(std::abs(song.samples[i])));
        const double rms = rmsDb(song, first, end);
        auto height = [](double db) { return static_cast<int>(std::clamp((db + 60.0) / 60.0, 0.0, 1.0) * (kWaveHeight - 4)); };
        const int base = p.height - 1;
        const int peakHeight = height(top > 0.0 ? 20.0 * std::log10(top) : -200.0);
        for (int y = 0; y < peakHeight; ++y) put(p, x, base - y, {90, 90, 100});
        for (int y = 0; y < height(rms); ++y) put(p, x, base - y, {60, 200, 110});
        if (top >= 1.0) put(p, x, base - kWaveHeight + 2, {255, 0, 0});
    }
    auto column = [&](std::size_t frame) { return static_cast<int>(frame * pixelsPerSecond / song.rate); };
    for (std::size_t o = 0; o < marks.orderStarts.size(); ++o) {
        const int x = column(marks.orderStarts[o]);
        for (int y = 0; y < p.height; y += (y < kLabelHeight ? 1 : 2)) put(p, x, y, {200, 200, 200});
        drawNumber(p, x + 2, 2, static_cast<int>(o), {255, 255, 255});
    }
    for (std::size_t s : marks.sceneStarts) {
        for (int y = kLabelHeight; y < p.height; ++y) put(p, column(s), y, {255, 220, 0});
    }
    for (std::size_t a : marks.accents) {
        for (int y = kLabelHeight; y < kLabelHeight + 8; ++y) put(p, column(a), y, {255, 40, 40});
    }
    for (std::size_t f : marks.fades) {
        for (int y = kLabelHeight + 10; y < kLabelHeight + 18; ++y) put(p, column(f), y, {40, 230, 255});
    }
    return p;
}

}  // namespace songcheck
