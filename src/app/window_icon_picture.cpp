#include "app/window_icon_picture.h"

#include "assets/image.h"
#include "assets/resource_ids.h"

WindowIcon showWindowIcon() {
    Image picture;
    if (!picture.loadWithMask(res::kWindowIcon, res::kWindowIconMask) || picture.bitsPerPixel != 32) return {};
    // The bytes blue, green, red, alpha read as one little-endian word are
    // 0xAARRGGBB.
    WindowIcon icon{picture.width, picture.height, {}};
    for (int i = 0; i < picture.width * picture.height; ++i) {
        const uint8_t* p = picture.pixels + 4 * i;
        icon.argb.push_back(uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
    }
    return icon;
}
