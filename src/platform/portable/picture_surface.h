#pragma once
// The memory the blitter writes the show into, laid out as the viewer sees
// it: rows of `width` RGB565 pixels from top to bottom.
//
// Landscape (the default) is 320 x 240: picture pixel (x, y) of the 240x320
// back buffer lands in row x, column 319 - y, so the picture appears turned
// a quarter turn clockwise (x pitch 640 bytes, y pitch -2 bytes, the base
// address at the top-right pixel). Portrait is the plain 240 x 320 layout
// (x pitch 2, y pitch 480).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/display.h"

enum class Orientation { Landscape, Portrait };

struct SurfaceLayout {
    int width = 0, height = 0;  // as the viewer sees it
    int32_t xPitch = 0, yPitch = 0;  // bytes, for picture pixels
    std::ptrdiff_t baseOffset = 0;  // pixels from the surface start to picture pixel (0, 0)
};

SurfaceLayout surfaceLayout(Orientation orientation);

class PictureSurface {
public:
    explicit PictureSurface(Orientation orientation);

    const SurfaceLayout& layout() const { return layout_; }
    int width() const { return layout_.width; }
    int height() const { return layout_.height; }
    // What a display built on this surface reports to the blitter.
    DisplayProperties properties() const;
    // Picture pixel (0, 0): where the blitter's walk starts.
    uint16_t* base() { return pixels_.data() + layout_.baseOffset; }
    // The surface rows as the viewer sees them (width x height).
    const uint16_t* pixels() const { return pixels_.data(); }
    uint16_t* pixels() { return pixels_.data(); }

private:
    SurfaceLayout layout_;
    std::vector<uint16_t> pixels_;  // black at the start
};

// The display the blitter writes: a picture surface, whose memory keeps the
// last frame. Each finished frame is handed to `shown` (the window shows it,
// an offscreen renderer stores it).
class SurfaceDisplay : public Display {
public:
    explicit SurfaceDisplay(PictureSurface& surface, std::function<void()> shown = {})
        : surface_(surface), shown_(std::move(shown)) {}
    DisplayProperties properties() const override { return surface_.properties(); }
    uint16_t* beginDraw() override { return surface_.base(); }
    void endDraw() override {
        if (shown_) shown_();
    }

private:
    PictureSurface& surface_;
    std::function<void()> shown_;
};

// The pixels of a landscape surface turned back a quarter anticlockwise,
// as the handheld's portrait display showed them (the plain 240 x 320
// picture): put(x, y, pixel) for each, row by row of that upright picture.
template <class Put>
void forEachUprightPixel(const PictureSurface& landscape, Put put) {
    const int width = landscape.width(), height = landscape.height();
    // Upright row y is the landscape column width - 1 - y, read downwards.
    for (int y = 0; y < width; ++y) {
        const uint16_t* column = landscape.pixels() + (width - 1 - y);
        for (int x = 0; x < height; ++x) put(x, y, column[static_cast<std::size_t>(x) * width]);
    }
}

// Widens RGB565 pixels to 0xFFRRGGBB words. Each channel's top bits are
// repeated into its new low bits, so 0 stays 0 and full intensity becomes 255
// (white stays white, whatever the graphics driver would make of RGB565).
void widenRgb565(const uint16_t* source, uint32_t* target, std::size_t count);
uint32_t widenRgb565(uint16_t pixel);
