#include "platform/portable/loading_box.h"

#include <algorithm>

namespace {

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;
constexpr uint32_t kCaption = 0xFF0A246A, kFrame = 0xFF404040;
constexpr uint32_t kBarShadow = 0xFF808080, kBarLight = 0xFFE0E0E0, kBarChunk = 0xFF1C4FA8;

// The box: 112 x 54 pixels of client area under an 18-pixel caption; the bar
// 92 x 11 pixels, 10 from the left and 23 from the client's top.
constexpr int kBoxWidth = 112, kClientHeight = 54, kCaptionHeight = 18;
constexpr int kBarX = 10, kBarY = 23, kBarWidth = 92, kBarHeight = 11;
constexpr int kChunkWidth = 6, kChunkGap = 2;

// Just the caption's letters, 5 x 9 cells with descenders ('#' set).
struct Glyph {
    char ch;
    int width;
    const char* rows[9];
};
constexpr Glyph kGlyphs[] = {
    {'L', 5, {"#....", "#....", "#....", "#....", "#....", "#....", "#####", ".....", "....."}},
    {'o', 5, {".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {'a', 5, {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."}},
    {'d', 5, {"....#", "....#", ".##.#", "#..##", "#...#", "#..##", ".##.#", ".....", "....."}},
    {'i', 1, {"#", ".", "#", "#", "#", "#", "#", ".", "."}},
    {'n', 5, {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."}},
    {'g', 5, {".....", ".....", ".####", "#...#", "#...#", "#..##", ".##.#", "....#", ".###."}},
    {'.', 1, {".", ".", ".", ".", ".", ".", "#", ".", "."}},
};

class Painter {
public:
    Painter(uint32_t* picture, int width, int height) : picture_(picture), width_(width), height_(height) {}

    void fill(int x, int y, int w, int h, uint32_t colour) {
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        const int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
        for (int row = y0; row < y1; ++row)
            for (int column = x0; column < x1; ++column) picture_[row * width_ + column] = colour;
    }

    void frame(int x, int y, int w, int h, uint32_t topLeft, uint32_t bottomRight) {
        fill(x, y, w, 1, topLeft);
        fill(x, y, 1, h, topLeft);
        fill(x, y + h - 1, w, 1, bottomRight);
        fill(x + w - 1, y, 1, h, bottomRight);
    }

    // Draws text with its cells' top-left at (x, y); returns the width used.
    int text(int x, int y, const char* text, uint32_t colour) {
        const int start = x;
        for (; *text; ++text) {
            const Glyph* glyph = nullptr;
            for (const Glyph& g : kGlyphs)
                if (g.ch == *text) glyph = &g;
            if (!glyph) {
                x += 4;
                continue;
            }
            for (int row = 0; row < 9; ++row)
                for (int column = 0; column < glyph->width; ++column)
                    if (glyph->rows[row][column] == '#') fill(x + column, y + row, 1, 1, colour);
            x += glyph->width + 1;
        }
        return x - start;
    }

private:
    uint32_t* picture_;
    int width_, height_;
};

}  // namespace

void paintLoadingBox(uint32_t* picture, int width, int height, int low, int high, int position) {
    Painter paint(picture, width, height);
    paint.fill(0, 0, width, height, kBlack);

    const int boxHeight = kCaptionHeight + kClientHeight;
    const int left = (width - kBoxWidth) / 2, top = (height - boxHeight) / 2;
    paint.fill(left, top, kBoxWidth, kCaptionHeight, kCaption);
    paint.text(left + 5, top + 5, "Loading..", kWhite);
    const int client = top + kCaptionHeight;
    paint.fill(left, client, kBoxWidth, kClientHeight, kWhite);
    paint.frame(left - 1, top - 1, kBoxWidth + 2, boxHeight + 2, kFrame, kFrame);

    // A sunken bar filled from the left with blocks, the last one cut to the
    // exact share of the range.
    const int barX = left + kBarX, barY = client + kBarY;
    paint.frame(barX, barY, kBarWidth, kBarHeight, kBarShadow, kBarLight);
    const int inner = kBarWidth - 4;
    const int span = high - low;
    const int done = span > 0 ? std::clamp(position - low, 0, span) : 0;
    const int filled = span > 0 ? inner * done / span : 0;
    for (int chunk = 0; chunk < filled; chunk += kChunkWidth + kChunkGap)
        paint.fill(barX + 2 + chunk, barY + 2, std::min(kChunkWidth, filled - chunk), kBarHeight - 4, kBarChunk);
}
