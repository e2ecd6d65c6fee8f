#pragma once
// A picture decoded from a JPEG resource into one of three pixel formats:
//   8 bits  grey level per pixel (one-component pictures),
//   16 bits RGB565 words,
//   32 bits bytes blue, green, red, alpha (alpha = the pixel's grey level
//           unless a mask replaced it).
// Rows run top to bottom without padding. The tiled loaders rearrange a
// 256 x 256 picture into 8 x 8 tiles: texel (x, y) is element
// ((y >> 3) << 11) | ((x >> 3) << 6) | ((y & 7) << 3) | (x & 7).
// Nothing in the Image records the layout; the owner knows its loader.

#include <cstddef>
#include <cstdint>
#include <span>

#include "assets/picture_cache.h"

class Image {
public:
    Image();
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Each loader releases the pixels held before and returns false when the
    // resource is missing or does not decode (the Image is then empty). The
    // loaders by resource id copy the picture the picture cache keeps
    // (assets/picture_cache.h), which decodes it the first time.
    bool loadJpeg(int id);    // 8 bits for grey, 32 bits for colour
    bool loadJpeg16(int id);  // 8 bits for grey, 16 bits for colour
    // 256 x 256 only; another size leaves the linear picture loaded and
    // returns false. loadTiled16 rejects grey pictures.
    bool loadTiled(int id);
    bool loadTiled16(int id);
    // The picture (32 bits) takes its alpha from a grey picture of the same
    // size, loaded with the same loader. A mask that fails leaves the
    // picture loaded and returns false.
    bool loadWithMask(int id, int maskId);
    bool loadTiledWithMask(int id, int maskId);
    // Copies the mask's grey level per pixel into the alpha bytes; false when
    // this Image is not 32 bits or the sizes differ.
    bool setAlphaFromMask(const Image& mask);
    // Frees the pixels; width, height and bitsPerPixel keep their values.
    void release();

    const uint16_t* pixels16() const { return reinterpret_cast<const uint16_t*>(pixels); }
    const uint32_t* pixels32() const { return reinterpret_cast<const uint32_t*>(pixels); }

    // The same loaders over JPEG bytes held by the caller, read in place
    // (the resource loaders above look the bytes up and come here).
    using Bytes = std::span<const uint8_t>;
    bool loadJpeg(Bytes jpeg);
    bool loadJpeg16(Bytes jpeg);
    bool loadTiled(Bytes jpeg);
    bool loadTiled16(Bytes jpeg);
    bool loadWithMask(Bytes jpeg, Bytes maskJpeg);
    bool loadTiledWithMask(Bytes jpeg, Bytes maskJpeg);

    uint8_t* pixels = nullptr;
    int32_t width = 0, height = 0, bitsPerPixel = 0;

    // The picture key names, decoded (the picture cache makes its pictures
    // here); what the loader by that name returns.
    bool decodeResource(const PictureKey& key);
    // How many JPEG pictures have been decoded since the program started.
    static long decodeCount();

private:
    bool copyOf(const PictureKey& key);
    bool decode(Bytes jpeg, bool sixteenBits);
    bool tile(int elementSize);
    bool tile16();
    template <class Source>
    bool loadMasked(Source jpeg, Source maskJpeg, bool tiled);
};

// Element index of texel (x, y), 0..255 each, in the tiled layout.
constexpr int32_t tiledIndex(int32_t x, int32_t y) {
    return ((y >> 3) << 11) | ((x >> 3) << 6) | ((y & 7) << 3) | (x & 7);
}
