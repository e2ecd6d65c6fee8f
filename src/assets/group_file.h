#pragma once
// The file one group of resources travels in when it is not embedded (the
// web page fetches one per group): "ZMDG", the resource count, then per
// resource its type (four bytes, padded with zeros), id and size, each
// 32-bit little-endian, and its bytes. The generator writes it, the
// program reads it back (data_groups.h); both keep to this layout.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace group_file {

inline constexpr std::string_view kMagic = "ZMDG";
inline constexpr uint32_t kTypeBytes = 4;

inline void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

inline void putHeader(std::vector<uint8_t>& out, uint32_t count) {
    for (const char ch : kMagic) out.push_back(static_cast<uint8_t>(ch));
    putU32(out, count);
}

inline void putResource(std::vector<uint8_t>& out, std::string_view type, int id, const std::vector<uint8_t>& bytes) {
    for (uint32_t i = 0; i < kTypeBytes; ++i) out.push_back(i < type.size() ? static_cast<uint8_t>(type[i]) : 0);
    putU32(out, static_cast<uint32_t>(id));
    putU32(out, static_cast<uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace group_file
