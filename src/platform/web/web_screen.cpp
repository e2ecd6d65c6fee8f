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

void WebScreen::paint() {
    if (suspended_ || closed_) return;
    paintOnCanvas(surface_);
}

void paintOnCanvas(const PictureSurface& surface) {
    static std::vector<uint32_t> wide;
    const std::size_t count = static_cast<std::size_t>(surface.width()) * surface.height();
    wide.resize(count);
    widenRgb565(surface.pixels(), wide.data(), count);
    // 0xFFRRGGBB words to the canvas's R, G, B, A bytes (little-endian 0xAABBGGRR).
    for (uint32_t& pixel : wide)
        pixel = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
    zemra_page_paint(reinterpret_cast<const uint8_t*>(wide.data()), surface.width(), surface.height());
}
