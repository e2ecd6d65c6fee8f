// The picture and compressed-resource path: JPEG bytes through every Image
// loader (with a mask where the loader takes one, and the tiled layouts),
// the font with text drawn in it, and BZ2 bytes decompressed. The first
// byte picks the path, the next two where the picture ends and its mask
// (or the font's coverage) begins.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "anim/screen_size.h"
#include "assets/font.h"
#include "assets/image.h"
#include "assets/resources.h"

namespace {

// Where the sums go, so that reading the pixels is not left out.
volatile uint32_t sink = 0;

// Reads every pixel, so that a size that does not match the memory shows.
uint32_t touch(const Image& image) {
    if (!image.pixels) return 0;
    const std::size_t bytes = static_cast<std::size_t>(image.width) * image.height * (image.bitsPerPixel / 8);
    uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) sum += image.pixels[i];
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const uint8_t pick = data[0];
    const std::size_t split = std::min<std::size_t>(size - 3, data[1] | data[2] << 8 | (pick & 0xF0) << 12);
    const Image::Bytes first(data + 3, split), second(data + 3 + split, size - 3 - split), all(data + 3, size - 3);
    static std::vector<uint16_t> backBuffer(kScreenPixels);

    Image image, mask;
    switch (pick % 9) {
        case 0: image.loadJpeg(all); break;
        case 1: image.loadJpeg16(all); break;
        case 2: image.loadTiled(all); break;
        case 3: image.loadTiled16(all); break;
        case 4: image.loadWithMask(first, second); break;
        case 5: image.loadTiledWithMask(first, second); break;
        case 6:
            image.loadJpeg(first);
            mask.loadJpeg(second);
            image.setAlphaFromMask(mask);
            break;
        case 7:
            if (loadFont(first, second)) {
                drawText(backBuffer.data(), 160, 120, "ZEMRA: the font, \"quoted\", 0123456789.", -1);
                drawText(backBuffer.data(), -50, 239, "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii", 7);
                drawText(backBuffer.data(), 400, 0, "WWWWWWWWWWWWWWWWWWWWWWWWW", -1);
            }
            image.loadJpeg(first);
            sink = touch(fontBrightness()) + touch(fontCoverage());
            releaseFont();
            break;
        default: {  // 8
            // A table of 32-bit entries, as the effects load them.
            static std::vector<uint8_t> buffer(1 << 18);
            const uint32_t capacity = static_cast<uint32_t>(split) % buffer.size();
            const uint32_t length = decompressBz2(buffer.data(), capacity, {all.data(), static_cast<uint32_t>(all.size())});
            uint32_t sum = 0;
            for (uint32_t i = 0; i < length; ++i) sum += buffer[i];
            sink = sum;
            return 0;
        }
    }
    sink = touch(image) + touch(mask);
    return 0;
}
