#include "assets/image.h"

#include <atomic>
#include <cstring>
#include <optional>

#include "anim/rgb565.h"
#include "assets/jpeg_source.h"
#include "assets/resources.h"

namespace {

// No picture of the show comes near this; a damaged header that claims a
// giant picture is refused before anything is allocated for it.
constexpr uint64_t kMaxPixels = uint64_t{1} << 22;

constexpr int kTileSide = 256;

void convertRow(const JSAMPLE* in, int width, int components, int bitsPerPixel, uint8_t* out) {
    if (bitsPerPixel == 8) {
        std::memcpy(out, in, static_cast<size_t>(width));
        return;
    }
    for (int x = 0; x < width; ++x, in += components) {
        const int r = in[0], g = in[1], b = in[2];
        if (bitsPerPixel == 32) {
            out[0] = static_cast<uint8_t>(b);
            out[1] = static_cast<uint8_t>(g);
            out[2] = static_cast<uint8_t>(r);
            out[3] = static_cast<uint8_t>((r + g + b) / 3);
            out += 4;
        } else {
            const uint16_t word = rgb565::pack(r, g, b);
            std::memcpy(out, &word, 2);
            out += 2;
        }
    }
}

std::atomic<long> decodes{0};

}  // namespace

long Image::decodeCount() { return decodes.load(); }

Image::Image() = default;

Image::~Image() { release(); }

void Image::release() {
    delete[] pixels;
    pixels = nullptr;
}

bool Image::decode(Bytes jpeg, bool sixteenBits) {
    release();
    ++decodes;
    jpeg_decompress_struct cinfo{};
    JpegErrorTrap trap;
    installErrorTrap(cinfo, trap);
    // Only plain structs live in this frame, so jumping back here skips no
    // destructor; the decompressor and the pixels are freed by hand.
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&cinfo);
        release();
        return false;
    }
    jpeg_create_decompress(&cinfo);
    attachMemorySource(cinfo, jpeg.data(), jpeg.size());
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK ||
        uint64_t{cinfo.image_width} * cinfo.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    // The conversion reads R, G, B from the first three bytes of a pixel.
    if (components == 2) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    width = static_cast<int32_t>(cinfo.output_width);
    height = static_cast<int32_t>(cinfo.output_height);
    bitsPerPixel = components == 1 ? 8 : sixteenBits ? 16 : 32;
    const size_t rowBytes = static_cast<size_t>(width) * bitsPerPixel / 8;
    pixels = new uint8_t[rowBytes * height];
    JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                 cinfo.output_width * components, 1);
    for (int32_t y = 0; y < height; ++y) {
        if (jpeg_read_scanlines(&cinfo, line, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            release();
            return false;
        }
        convertRow(line[0], width, components, bitsPerPixel, pixels + rowBytes * y);
    }
    jpeg_finish_decompress(&cinfo);
    // Damaged data that the library stepped over (a truncated file, a bad
    // code) leaves grey or garbled areas: count it as a failed decode.
    const bool damaged = trap.mgr.num_warnings > 0;
    jpeg_destroy_decompress(&cinfo);
    if (damaged) release();
    return !damaged;
}

bool Image::loadJpeg(Bytes jpeg) { return decode(jpeg, false); }

bool Image::loadJpeg16(Bytes jpeg) { return decode(jpeg, true); }

bool Image::tile(int elementSize) {
    if (width != kTileSide || height != kTileSide) return false;
    auto* tiled = new uint8_t[size_t{kTileSide} * kTileSide * elementSize];
    const uint8_t* from = pixels;
    for (int32_t y = 0; y < kTileSide; ++y) {
        for (int32_t x = 0; x < kTileSide; ++x, from += elementSize) {
            std::memcpy(tiled + static_cast<size_t>(tiledIndex(x, y)) * elementSize, from, elementSize);
        }
    }
    delete[] pixels;
    pixels = tiled;
    return true;
}

bool Image::loadTiled(Bytes jpeg) { return loadJpeg(jpeg) && tile(bitsPerPixel / 8); }

// A grey picture would come out as 8-bit elements where 16-bit ones are
// expected; it is refused like a picture of the wrong size.
bool Image::tile16() { return bitsPerPixel == 16 && tile(2); }

bool Image::loadTiled16(Bytes jpeg) { return loadJpeg16(jpeg) && tile16(); }

bool Image::setAlphaFromMask(const Image& mask) {
    if (bitsPerPixel != 32 || mask.width != width || mask.height != height) return false;
    if (pixels == nullptr || mask.pixels == nullptr) return false;
    const size_t count = static_cast<size_t>(width) * height;
    if (mask.bitsPerPixel == 8) {
        for (size_t i = 0; i < count; ++i) pixels[i * 4 + 3] = mask.pixels[i];
    } else if (mask.bitsPerPixel == 32) {
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* m = mask.pixels + i * 4;
            pixels[i * 4 + 3] = static_cast<uint8_t>((m[0] + m[1] + m[2]) / 3);
        }
    }
    return true;
}

// The picture and its mask go through the same loader, so a tiled picture
// gets a tiled mask. A mask that fails leaves the picture loaded.
template <class Source>
bool Image::loadMasked(Source jpeg, Source maskJpeg, bool tiled) {
    if (!(tiled ? loadTiled(jpeg) : loadJpeg(jpeg))) return false;
    Image mask;
    if (!(tiled ? mask.loadTiled(maskJpeg) : mask.loadJpeg(maskJpeg)) || bitsPerPixel != 32) return false;
    setAlphaFromMask(mask);
    return true;
}

bool Image::loadWithMask(Bytes jpeg, Bytes maskJpeg) { return loadMasked(jpeg, maskJpeg, false); }

bool Image::loadTiledWithMask(Bytes jpeg, Bytes maskJpeg) { return loadMasked(jpeg, maskJpeg, true); }

// Loaders by resource id: a missing resource leaves the Image empty.

namespace {

std::optional<Image::Bytes> jpegResource(int id) {
    const auto resource = findResource("JPEG", id);
    if (!resource) return std::nullopt;
    return Image::Bytes(resource->data, resource->size);
}

}  // namespace

bool Image::loadJpeg(int id) { return copyOf({PictureLoader::Jpeg, id}); }

bool Image::loadJpeg16(int id) { return copyOf({PictureLoader::Jpeg16, id}); }

bool Image::loadTiled(int id) { return copyOf({PictureLoader::Tiled, id}); }

bool Image::loadTiled16(int id) { return copyOf({PictureLoader::Tiled16, id}); }

bool Image::loadWithMask(int id, int maskId) { return copyOf({PictureLoader::WithMask, id, maskId}); }

bool Image::loadTiledWithMask(int id, int maskId) { return copyOf({PictureLoader::TiledWithMask, id, maskId}); }

bool Image::copyOf(const PictureKey& key) {
    const std::shared_ptr<const CachedPicture> picture = cachedPicture(key);
    release();
    width = picture->width;
    height = picture->height;
    bitsPerPixel = picture->bitsPerPixel;
    if (!picture->pixels.empty()) {
        pixels = new uint8_t[picture->pixels.size()];
        std::memcpy(pixels, picture->pixels.data(), picture->pixels.size());
    }
    return picture->loaded;
}

// The masked pictures take their parts from the cache too.
bool Image::decodeResource(const PictureKey& key) {
    if (key.loader == PictureLoader::WithMask || key.loader == PictureLoader::TiledWithMask)
        return loadMasked(key.id, key.maskId, key.loader == PictureLoader::TiledWithMask);
    const auto jpeg = jpegResource(key.id);
    if (!jpeg) {
        release();
        return false;
    }
    switch (key.loader) {
    case PictureLoader::Jpeg: return loadJpeg(*jpeg);
    case PictureLoader::Jpeg16: return loadJpeg16(*jpeg);
    case PictureLoader::Tiled: return loadTiled(*jpeg);
    case PictureLoader::Tiled16: return loadTiled16(*jpeg);
    default: return false;
    }
}
