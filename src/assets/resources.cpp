#include "assets/resources.h"

#include <bzlib.h>

#include <bit>

#include "assets/data_groups.h"
#include "assets/embedded.h"

namespace {

std::function<void(std::string_view)>& groupWatch() {
    static std::function<void(std::string_view)> watch;
    return watch;
}

}  // namespace

void watchResourceGroups(std::function<void(std::string_view group)> watch) { groupWatch() = std::move(watch); }

std::optional<ResourceBytes> findResource(std::string_view type, int id) {
    for (const EmbeddedGroup* const* group = embeddedGroups(); *group != nullptr; ++group) {
        for (size_t i = 0; i < (*group)->count; ++i) {
            const EmbeddedResource& r = (*group)->resources[i];
            if (r.id == id && r.data != nullptr && type == r.type) {
                if (groupWatch()) groupWatch()((*group)->name);
                return ResourceBytes{r.data, r.size};
            }
        }
    }
    return arrivedGroups().find(type, id);
}

uint32_t loadCompressedResource(void* buffer, uint32_t capacity, int id) {
    const auto resource = findResource("BZ2", id);
    return resource ? decompressBz2(buffer, capacity, *resource) : 0;
}

uint32_t decompressBz2(void* buffer, uint32_t capacity, ResourceBytes compressed) {
    unsigned int length = capacity;
    const int status = BZ2_bzBuffToBuffDecompress(
        static_cast<char*>(buffer), &length,
        const_cast<char*>(reinterpret_cast<const char*>(compressed.data)), compressed.size, 0, 0);
    // A damaged or oversized stream counts as no data, so callers that only
    // check for 0 never go on with a half-filled buffer.
    return status == BZ_OK ? length : 0;
}

bool loadTable32(uint32_t* entries, int count, int id) {
    const uint32_t bytes = static_cast<uint32_t>(count) * 4;
    if (loadCompressedResource(entries, bytes, id) != bytes) return false;
    if constexpr (std::endian::native == std::endian::big) {
        for (int i = 0; i < count; ++i) {
            const uint32_t v = entries[i];
            entries[i] = (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
        }
    }
    return true;
}
