#include "assets/picture_cache.h"

#include <map>
#include <mutex>

#include "assets/image.h"
#include "assets/resources.h"

namespace {

std::mutex guard;
std::map<PictureKey, std::shared_ptr<const CachedPicture>>& pictures() {
    static std::map<PictureKey, std::shared_ptr<const CachedPicture>> made;
    return made;
}

std::shared_ptr<const CachedPicture> make(const PictureKey& key) {
    Image image;
    auto picture = std::make_shared<CachedPicture>();
    picture->loaded = image.decodeResource(key);
    picture->width = image.width;
    picture->height = image.height;
    picture->bitsPerPixel = image.bitsPerPixel;
    const std::size_t bytes = std::size_t(image.width) * image.height * image.bitsPerPixel / 8;
    if (image.pixels) picture->pixels.assign(image.pixels, image.pixels + bytes);
    return picture;
}

}  // namespace

std::shared_ptr<const CachedPicture> cachedPicture(const PictureKey& key) {
    // A picture whose resources have not arrived yet (the web page fetches
    // them while the show plays) fails without being kept: it is made once
    // they are there.
    if (!findResource("JPEG", key.id) || (key.maskId != 0 && !findResource("JPEG", key.maskId)))
        return std::make_shared<const CachedPicture>();
    {
        const std::lock_guard<std::mutex> lock(guard);
        const auto found = pictures().find(key);
        if (found != pictures().end()) return found->second;
    }
    // Made outside the lock: a masked picture asks for its parts meanwhile.
    std::shared_ptr<const CachedPicture> picture = make(key);
    const std::lock_guard<std::mutex> lock(guard);
    return pictures().try_emplace(key, std::move(picture)).first->second;
}

void decodeAhead(const PictureKey& key) { cachedPicture(key); }
