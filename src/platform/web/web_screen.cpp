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
uint32_t canvasOrder(uint32_t wide) { return (wide & 0xFF00FF00u) | ((wide >> 16) & 0xFFu) | ((wide & 0xFFu) << 16); }

uint32_t canvasPixel(uint16_t pixel) { return canvasOrder(widenRgb565(pixel)); }

// The canvas's pixels, kept between paints.
std::vector<uint32_t> canvas;

}  // namespace

void paintOnCanvas(const uint32_t* pixels, int width, int height) {
    canvas.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < canvas.size(); ++i) canvas[i] = canvasOrder(pixels[i]);
    zemra_page_paint(reinterpret_cast<const uint8_t*>(canvas.data()), width, height);
}

void paintOnCanvas(const PictureSurface& surface, bool upright) {
    const int width = surface.width(), height = surface.height();
    canvas.resize(static_cast<std::size_t>(width) * height);
    const uint16_t* pixels = surface.pixels();
    if (upright && width > height) {
        forEachUprightPixel(surface, [&](int x, int y, uint16_t pixel) {
            canvas[static_cast<std::size_t>(y) * height + x] = canvasPixel(pixel);
        });
        zemra_page_paint(reinterpret_cast<const uint8_t*>(canvas.data()), height, width);
        return;
    }
    for (std::size_t i = 0; i < canvas.size(); ++i) canvas[i] = canvasPixel(pixels[i]);
    zemra_page_paint(reinterpret_cast<const uint8_t*>(canvas.data()), width, height);
}
