#include "offline/render_output.h"

void pictureToRgb24(const PictureSurface& picture, std::vector<uint8_t>& rgb) {
    const std::size_t count = static_cast<std::size_t>(picture.width()) * picture.height();
    rgb.resize(3 * count);
    const uint16_t* pixels = picture.pixels();
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t argb = widenRgb565(pixels[i]);
        rgb[3 * i] = static_cast<uint8_t>(argb >> 16);
        rgb[3 * i + 1] = static_cast<uint8_t>(argb >> 8);
        rgb[3 * i + 2] = static_cast<uint8_t>(argb);
    }
}
