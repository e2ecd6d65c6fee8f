#include "platform/portable/picture_surface.h"

#include "anim/screen_size.h"

SurfaceLayout surfaceLayout(Orientation orientation) {
    if (orientation == Orientation::Portrait) return {kScreenWidth, kScreenHeight, 2, 2 * kScreenWidth, 0};
    // Landscape rows are the picture's columns: moving right in the picture
    // moves one landscape row down (+640 bytes), moving down in the picture
    // moves one landscape column left (-2 bytes). Picture row 0 is the right
    // edge, so the walk starts at the top-right pixel and stays inside.
    const int width = kScreenHeight, height = kScreenWidth;
    return {width, height, 2 * width, -2, width - 1};
}

PictureSurface::PictureSurface(Orientation orientation)
    : layout_(surfaceLayout(orientation)), pixels_(static_cast<std::size_t>(layout_.width) * layout_.height, 0) {}

DisplayProperties PictureSurface::properties() const {
    DisplayProperties props;
    props.width = layout_.width;
    props.height = layout_.height;
    props.xPitch = layout_.xPitch;
    props.yPitch = layout_.yPitch;
    props.bitsPerPixel = 16;
    return props;
}

uint32_t widenRgb565(uint16_t pixel) {
    const uint32_t r5 = pixel >> 11, g6 = (pixel >> 5) & 0x3F, b5 = pixel & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2);
    const uint32_t g = (g6 << 2) | (g6 >> 4);
    const uint32_t b = (b5 << 3) | (b5 >> 2);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void widenRgb565(const uint16_t* source, uint32_t* target, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) target[i] = widenRgb565(source[i]);
}
