#pragma once
// The study panel's own small font (five by seven pixels, printable ASCII)
// and the picture it draws into: kept apart from the show's font, which
// belongs to the show.

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

// Glyphs of 5 x 7 pixels in cells of 6 x 8 (a row below for descenders).
constexpr int kGlyphWidth = 5, kGlyphHeight = 7;
constexpr int kCharAdvance = kGlyphWidth + 1, kLineAdvance = kGlyphHeight + 3;

// Pixels of 0xFFRRGGBB, rows from the top.
struct StudyCanvas {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    StudyCanvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0xFF000000u) {}
    uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // A rectangle, clipped to the canvas.
    void fill(int x, int y, int w, int h, uint32_t colour);
};

// Draws text with its top-left corner at (x, y), clipped to maxWidth pixels
// (0: the canvas's edge); characters outside printable ASCII show as '?'.
// Returns the x after the last character drawn.
int drawPanelText(StudyCanvas& canvas, int x, int y, std::string_view text, uint32_t colour, int maxWidth = 0);
