#pragma once
// Little-endian byte writing for the generator's binary formats.

#include <cstdint>
#include <vector>

namespace assetgen {

inline void appendLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void appendLe32(std::vector<uint8_t>& out, uint32_t v) {
    appendLe16(out, v & 0xFFFF);
    appendLe16(out, v >> 16);
}

}  // namespace assetgen
