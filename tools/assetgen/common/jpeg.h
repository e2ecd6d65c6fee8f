#pragma once
// The JPEG writer for the generator.

#include <cstdint>
#include <vector>

namespace assetgen {

// Encodes width x height pixels of 1 (grey) or 3 (R, G, B) bytes each, rows top to bottom.
std::vector<uint8_t> encodeJpeg(const std::vector<uint8_t>& pixels, int width, int height, int components,
                                int quality = 92);

}  // namespace assetgen
