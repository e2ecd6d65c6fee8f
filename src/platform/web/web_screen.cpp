#include "platform/web/web_screen.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, zemra_page_paint, (const uint8_t* rgba, int width, int height), {
    zemraPage.paint(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});
// clang-format on

WebScreen::WebScreen(Orientation orientation) : surface_(orientation), display_(surface_, [this] { paint(); }) {}

bool WebScreen::pollEvent(ScreenEvent& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

// The last frame may have been drawn over by the page meanwhile.
void WebScreen::resume() {
    suspended_ = false;
    paint();
}

void WebScreen::setUpright(bool upright) {
    upright_ = upright;
    if (!closed_) paintOnCanvas(surface_, upright_);
}

void WebScreen::paint() {
    if (suspended_ || closed_) return;
    paintOnCanvas(surface_, upright_);
}

namespace {

// 0xFFRRGGBB to the canvas's R, G, B, A bytes (little-endian 0xAABBGGRR).
uint32_t canvasPixel(uint16_t pixel) {
    const uint32_t wide = widenRgb565(pixel);
    return (wide & 0xFF00FF00u) | ((wide >> 16) & 0xFFu) | ((wide & 0xFFu) << 16);
}

}  // namespace

void paintOnCanvas(const PictureSurface& surface, bool upright) {
    static std::vector<uint32_t> canvas;
    const int width = surface.width(), height = surface.height();
    canvas.resize(static_cast<std::size_t>(width) * height);
    const uint16_t* pixels = surface.pixels();
    if (upright && width > height) {
        // Landscape row r, column c holds picture pixel (r, width - 1 - c):
        // the upright row y is the landscape column width - 1 - y, read downwards.
        for (int y = 0; y < width; ++y) {
            const uint16_t* column = pixels + (width - 1 - y);
            uint32_t* row = canvas.data() + static_cast<std::size_t>(y) * height;
            for (int x = 0; x < height; ++x) row[x] = canvasPixel(column[static_cast<std::size_t>(x) * width]);
        }
        zemra_page_paint(reinterpret_cast<const uint8_t*>(canvas.data()), height, width);
        return;
    }
    for (std::size_t i = 0; i < canvas.size(); ++i) canvas[i] = canvasPixel(pixels[i]);
    zemra_page_paint(reinterpret_cast<const uint8_t*>(canvas.data()), width, height);
}
