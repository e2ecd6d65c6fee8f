#pragma once
// The pictures made from the program's JPEG resources, kept while the
// program runs. The first load of a picture decodes it and every later one
// copies it: an effect initialised again and again (a script may init and
// deinit one thousands of times) decodes nothing more. Image's loaders by
// resource id come here. decodeAhead makes a picture before it is needed,
// so that the load that needs it only copies it.

#include <compare>
#include <cstdint>
#include <memory>
#include <vector>

// Which of Image's loaders by resource id makes the picture.
enum class PictureLoader { Jpeg, Jpeg16, Tiled, Tiled16, WithMask, TiledWithMask };

struct PictureKey {
    PictureLoader loader = PictureLoader::Jpeg;
    int id = 0;
    int maskId = 0;  // the grey picture of the masked loaders
    auto operator<=>(const PictureKey&) const = default;
};

// An Image as its loader left it.
struct CachedPicture {
    bool loaded = false;  // what the loader returned
    int32_t width = 0, height = 0, bitsPerPixel = 0;
    std::vector<uint8_t> pixels;  // empty where the loader left none
};

// The picture for key, made the first time it is asked for. A failure is
// kept like a picture once its resources are there: they never change then.
// Safe from any thread.
std::shared_ptr<const CachedPicture> cachedPicture(const PictureKey& key);

// Makes the picture for key now, unless it is made already.
void decodeAhead(const PictureKey& key);
