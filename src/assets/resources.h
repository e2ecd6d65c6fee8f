#pragma once
// Lookup of the resources carried inside the executable, by type and number.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

struct ResourceBytes {
    const uint8_t* data;
    uint32_t size;
};

// The bytes of resource (type, id), read-only and valid for the whole run:
// embedded, or arrived while the program runs (data_groups.h).
std::optional<ResourceBytes> findResource(std::string_view type, int id);

// Told the group of every embedded resource findResource finds, so a test
// learns which groups a piece of code reads; empty: nobody is told.
void watchResourceGroups(std::function<void(std::string_view group)> watch);

// Decompresses BZ2 resource id into buffer (capacity bytes) in one call.
// Returns the decompressed length, or 0 when there is no such resource or
// the data does not decompress into the buffer.
uint32_t loadCompressedResource(void* buffer, uint32_t capacity, int id);
// The same over BZ2 bytes held by the caller.
uint32_t decompressBz2(void* buffer, uint32_t capacity, ResourceBytes compressed);

// Fills count little-endian 32-bit entries from BZ2 resource id. False unless
// the resource decompresses to exactly that many: a short table would leave
// entries undefined.
bool loadTable32(uint32_t* entries, int count, int id);
